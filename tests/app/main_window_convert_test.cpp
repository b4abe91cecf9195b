// The main window's conversion and adjustment commands, driven by clicks on its keys: the
// descriptions in Label3, the exact-colour question, reconversion after an adjustment, and the
// commands that must do nothing without a picture.

#include <gtest/gtest.h>
#include <QTest>

#include "app/picture_convert.h"
#include "app/picture_view.h"
#include "app_test_support.h"
#include "colour/adjustments.h"
#include "colour/conversion_commands.h"
#include "editor/edit_window.h"
#include "media/image_loader.h"
#include "tests/support/scripted_asker.h"

namespace mozu::app_test {
namespace {

QWidget* Key(QWidget* w, const char* name) {
    return w->findChild<QWidget*>(name);
}

QWidget* Key(MainWindow& w, const char* name) {
    return w.findChild<QWidget*>(name);
}

// The core called directly answers the exact-colour question as the user did.
using test::Otherwise;
using test::ScriptedAsker;

TEST(MainWindowConvert, EachConversionKeyShowsItsDescription) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return p.Text("Label1").startsWith("Bitmap image"); }));
    struct Case {
        const char* key;
        Slot slot;
        const char* label3;
    };
    const Case cases[] = {
        {"Key00", Slot::Mode0, "CPC mode 0\n\r160x200\n\r16 colors"},
        {"Key01", Slot::Mode1, "CPC mode 1\n\r320x200\n\r4 colors"},
        {"Key02", Slot::Mode2, "CPC mode 2\n\r640x200\n\r2 colors"},
        {"Key03", Slot::Overscan0, "CPC mode 0\n\r184x264\n\r16 colors"},
        {"Key04", Slot::Overscan1, "CPC mode 1\n\r368x264\n\r4 colors"},
        {"Key05", Slot::Overscan2, "CPC mode 2\n\r736x264\n\r2 colors"},
        {"Key16", Slot::SgxCpc, "MSX mode 7\n\r320x200\n\r4 colors"},
        {"Key15", Slot::SgxCpcFree, "CPC mode 1\n\r640x400\n\r4 colors"},
        {"Key18", Slot::SgxMsx, "MSX mode 7\n\r512x212\n\r16 colors"},
        {"Key17", Slot::SgxMsxFree, "MSX mode 7\n\r640x200\n\r16 colors"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Click(Key(p.main(), c.key));
        EXPECT_EQ(p.Text("Label3"), c.label3);
        EXPECT_EQ(p.Text("Label4"), "");
        EXPECT_EQ(p.main().document().state().converted[c.slot], 1);
        EXPECT_EQ(p.main().document().state().saved[c.slot], 0);
        EXPECT_EQ(p.main().document().state().currentSlot, c.slot);
    }
    // The overscan keys made the level pictures too.
    EXPECT_EQ(p.main().document().state().converted[Slot::Level0], 1);
    EXPECT_EQ(p.main().document().state().converted[Slot::Level1], 1);
    // The sample has thousands of colours: never the exact-colour question.
    EXPECT_TRUE(p.script().shown.empty());
    // Image1 shows the last slot's picture (slot 11, 640 x 200) stretched to twice its height
    // in square units, fitted into the 368 x 264 box: 368 x 230, centred.
    EXPECT_EQ(p.main().shownImage(),
              ToQImage(p.main().document().state().picture(Slot::SgxMsxFree)));
    EXPECT_EQ(p.main().findChild<PictureView*>("Image1")->geometry(), QRect(216, 169, 368, 230));
    Screenshot(&p.main(), "main_converted_msx_full");
}

// Runs `act` when `window` is shown.
class LabelWhenShown : public QObject {
  public:
    LabelWhenShown(QWidget& window, std::function<void()> act) : act_(std::move(act)) {
        window.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) act_();
        return false;
    }

  private:
    std::function<void()> act_;
};

class ExactColourQuestion : public ::testing::TestWithParam<bool> {};

TEST_P(ExactColourQuestion, IsAskedAndBothAnswersConvert) {
    const bool yes = GetParam();
    Program p;
    const QString path = p.Write("three.bmp", ThreeColourPicture());
    DropFiles(&p.main(), {path});
    ASSERT_TRUE(WaitUntil([&] { return p.Text("Label1") == "Bitmap image\n\r64x40\n\r3 colors"; }));
    // The core alone, from the same state, with the same answer.
    ConversionState expected = p.main().document().state();
    ScriptedAsker asker(yes ? Otherwise::kYes : Otherwise::kNo);
    ConvertSlotCommand(expected, asker, Slot::Mode1, false);

    if (yes)
        p.script().Snap("msg_question_exact_colours").Yes();
    else
        p.script().No();
    // While the question waits, the main window says it is busy.
    QString label4WhileAsked = "(not asked)";
    LabelWhenShown watch(p.msg(), [&] { label4WhileAsked = p.Text("Label4"); });
    Click(Key(p.main(), "Key01"));
    EXPECT_EQ(label4WhileAsked, "Processing");
    EXPECT_EQ(p.Text("Label4"), "");
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].kind, MessageWindow::kQuestion);
    EXPECT_EQ(p.script().shown[0].text,
              "Source picture in supported color depth. Convert without dithering?");
    EXPECT_EQ(p.main().document().state().converted[Slot::Mode1], 1);
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode1), expected.picture(Slot::Mode1));
    EXPECT_EQ(p.main().document().state().palette(Slot::Mode1), expected.palette(Slot::Mode1));
    EXPECT_EQ(p.Text("Label3"), "CPC mode 1\n\r320x200\n\r4 colors");
    EXPECT_EQ(p.main().shownImage(), ToQImage(expected.picture(Slot::Mode1)));
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, ExactColourQuestion, ::testing::Bool());

TEST(MainWindowConvert, AdjustmentWorksOnTheSourceAndForcesReconversion) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    Picture original;
    LoadJpeg(SamplePhoto().toStdString(), original);

    Click(Key(p.main(), "Key00"));
    const Picture first = p.main().document().state().picture(Slot::Mode0);
    ASSERT_EQ(p.main().document().state().converted[Slot::Mode0], 1);

    // Brighter right after a conversion: the source is shown first and brightened, never the
    // converted picture on show.
    Click(Key(p.main(), "Key07"));
    Picture brighter = original;
    Brightness(brighter, 105);
    EXPECT_EQ(p.main().document().state().source, brighter);
    EXPECT_TRUE(p.main().document().state().sourceShown);
    EXPECT_EQ(p.main().document().state().currentSlot, Slot::Source);
    EXPECT_EQ(p.main().shownImage(), ToQImage(brighter));

    // Mode 0 again converts the brighter source anew.
    Click(Key(p.main(), "Key00"));
    ConversionState expected;
    expected.source = brighter;
    expected.sourceSlot = expected.currentSlot = Slot::Source;
    expected.noPicture = false;
    ScriptedAsker asker;
    ConvertSlotCommand(expected, asker, Slot::Mode0, false);
    EXPECT_NE(p.main().document().state().picture(Slot::Mode0), first);
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode0), expected.picture(Slot::Mode0));
    EXPECT_EQ(p.Text("Label3"), "CPC mode 0\n\r160x200\n\r16 colors");
}

TEST(MainWindowConvert, ContrastAfterAConversionAdjustsTheSource) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    const Picture original = p.main().document().state().source;
    Click(Key(p.main(), "Key02"));
    Click(Key(p.main(), "Key11"));
    Picture more = original;
    Contrast(more, 105, kMainWindowArea);  // the window's own size
    EXPECT_EQ(p.main().document().state().source, more);
    EXPECT_EQ(p.main().document().state().source.width(), 640);  // not the 640 x 200 mode 2 picture
}

TEST(MainWindowConvert, WithoutAPictureOnlyTheBlankPictureKeysDoAnything) {
    Program p;
    for (const char* key :
         {"Key16", "Key15", "Key17", "Key10", "Key11", "Key12", "Key07", "Key06"}) {
        SCOPED_TRACE(key);
        Click(Key(p.main(), key));
        EXPECT_TRUE(p.main().document().state().noPicture);
        EXPECT_EQ(p.Text("Label3"), "");
        EXPECT_EQ(p.Text("Label4"), "");
        EXPECT_TRUE(p.main().document().state().source.empty());
        for (auto flag : p.main().document().state().converted) EXPECT_EQ(flag, 0);
    }
    EXPECT_TRUE(p.script().shown.empty());
    EXPECT_FALSE(p.main().findChild<PictureView*>("Image1")->isVisible());

    // Mode 0 makes a blank white picture to draw on and opens the editor on it; its Label3
    // stays as it was.
    Click(Key(p.main(), "Key00"));
    EXPECT_FALSE(p.main().document().state().noPicture);
    EXPECT_EQ(p.main().document().state().converted[Slot::Mode0], 1);
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode0),
              Picture(160, 200, MakeColour(255, 255, 255)));
    EXPECT_TRUE(p.windows().edit->isVisible());
    EXPECT_FALSE(p.main().isVisible());
    EXPECT_EQ(p.Text("Label3"), "");
    Click(Key(p.windows().edit.get(), "CloseKey"));
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_TRUE(p.main().findChild<PictureView*>("Image1")->isVisible());
    // Still no source: mode 2 makes its blank picture too.
    Click(Key(p.main(), "Key02"));
    EXPECT_EQ(p.Text("Label3"), "CPC mode 2\n\r640x200\n\r2 colors");
    EXPECT_EQ(p.windows().edit->model().slot(), Slot::Mode2);
    Click(Key(p.windows().edit.get(), "CloseKey"));
    EXPECT_FALSE(p.windows().edit->isVisible());
    EXPECT_TRUE(Key(p.main(), "Key08")->isEnabled());
    // An untouched blank picture asks nothing on exit.
    EXPECT_EQ(p.main().document().unsavedCount(), 0);
}

TEST(MainWindowConvert, ShowSourceClosePictureAndInformation) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    Click(Key(p.main(), "Key01"));
    Click(Key(p.main(), "Key22"));
    EXPECT_EQ(p.main().document().state().currentSlot, Slot::Source);
    EXPECT_EQ(p.main().shownImage(), ToQImage(p.main().document().state().source));
    auto* image1 = p.main().findChild<PictureView*>("Image1");
    EXPECT_EQ(image1->geometry(), QRect(216, 152, 368, 264));

    Click(Key(p.main(), "Key23"));
    EXPECT_FALSE(image1->isVisible());
    EXPECT_TRUE(p.main().document().state().noPicture);

    Click(Key(p.main(), "Key19"));
    QWidget* info = p.main().findChild<QWidget*>("Image9");
    EXPECT_TRUE(info->isVisible());
    Screenshot(&p.main(), "main_information");
    Click(info);
    EXPECT_FALSE(info->isVisible());
}

}  // namespace
}  // namespace mozu::app_test
