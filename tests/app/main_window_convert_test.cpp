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
#include "platform/media/image_loader.h"
#include "tests/support/scripted_asker.h"

namespace mozu::app_test {
namespace {

QWidget* Key(TMainWindow& w, const char* name) {
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
        int slot;
        const char* label3;
    };
    const Case cases[] = {
        {"Key00", 0, "CPC mode 0\n\r160x200\n\r16 colors"},
        {"Key01", 1, "CPC mode 1\n\r320x200\n\r4 colors"},
        {"Key02", 2, "CPC mode 2\n\r640x200\n\r2 colors"},
        {"Key03", 4, "CPC mode 0\n\r184x264\n\r16 colors"},
        {"Key04", 5, "CPC mode 1\n\r368x264\n\r4 colors"},
        {"Key05", 6, "CPC mode 2\n\r736x264\n\r2 colors"},
        {"Key16", 8, "MSX mode 7\n\r320x200\n\r4 colors"},
        {"Key15", 9, "CPC mode 1\n\r640x400\n\r4 colors"},
        {"Key18", 10, "MSX mode 7\n\r512x212\n\r16 colors"},
        {"Key17", 11, "MSX mode 7\n\r640x200\n\r16 colors"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Click(Key(p.main(), c.key));
        EXPECT_EQ(p.Text("Label3"), c.label3);
        EXPECT_EQ(p.Text("Label4"), "");
        EXPECT_EQ(p.main().state().converted[static_cast<std::size_t>(c.slot)], 1);
        EXPECT_EQ(p.main().state().saved[static_cast<std::size_t>(c.slot)], 0);
        EXPECT_EQ(p.main().state().currentSlot, c.slot);
    }
    // The overscan keys made the level pictures too.
    EXPECT_EQ(p.main().state().converted[20], 1);
    EXPECT_EQ(p.main().state().converted[21], 1);
    // The sample has thousands of colours: never the exact-colour question.
    EXPECT_TRUE(p.script().shown.empty());
    // Image1 shows the last slot's picture (slot 11, 640 x 200) stretched to twice its height
    // in square units, fitted into the 368 x 264 box: 368 x 230, centred.
    EXPECT_EQ(p.main().shownImage(), ToQImage(p.main().state().picture(11)));
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
    ConversionState expected = p.main().state();
    ScriptedAsker asker(yes ? Otherwise::kYes : Otherwise::kNo);
    ConvertSlotCommand(expected, asker, 1, false);

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
    EXPECT_EQ(p.script().shown[0].kind, TMsgWindow::kQuestion);
    EXPECT_EQ(p.script().shown[0].text,
              "Source picture in supported color depth. Convert without dithering?");
    EXPECT_EQ(p.main().state().converted[1], 1);
    EXPECT_EQ(p.main().state().picture(1), expected.picture(1));
    EXPECT_EQ(p.main().state().palette(1), expected.palette(1));
    EXPECT_EQ(p.Text("Label3"), "CPC mode 1\n\r320x200\n\r4 colors");
    EXPECT_EQ(p.main().shownImage(), ToQImage(expected.picture(1)));
}

INSTANTIATE_TEST_SUITE_P(YesAndNo, ExactColourQuestion, ::testing::Bool());

TEST(MainWindowConvert, AdjustmentWorksOnTheSourceAndForcesReconversion) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().state().noPicture; }));
    Picture original;
    JPEGtoBMP(SamplePhoto().toStdString(), original);

    Click(Key(p.main(), "Key00"));
    const Picture first = p.main().state().picture(0);
    ASSERT_EQ(p.main().state().converted[0], 1);

    // Brighter right after a conversion: the source is shown first and brightened, never the
    // converted picture on show.
    Click(Key(p.main(), "Key07"));
    Picture brighter = original;
    Brightness(brighter, 105);
    EXPECT_EQ(p.main().state().source, brighter);
    EXPECT_TRUE(p.main().state().sourceShown);
    EXPECT_EQ(p.main().state().currentSlot, kSourceSlot);
    EXPECT_EQ(p.main().shownImage(), ToQImage(brighter));

    // Mode 0 again converts the brighter source anew.
    Click(Key(p.main(), "Key00"));
    ConversionState expected;
    expected.source = brighter;
    expected.sourceSlot = expected.currentSlot = kSourceSlot;
    expected.noPicture = false;
    ScriptedAsker asker;
    ConvertSlotCommand(expected, asker, 0, false);
    EXPECT_NE(p.main().state().picture(0), first);
    EXPECT_EQ(p.main().state().picture(0), expected.picture(0));
    EXPECT_EQ(p.Text("Label3"), "CPC mode 0\n\r160x200\n\r16 colors");
}

TEST(MainWindowConvert, ContrastAfterAConversionAdjustsTheSource) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().state().noPicture; }));
    const Picture original = p.main().state().source;
    Click(Key(p.main(), "Key02"));
    Click(Key(p.main(), "Key11"));
    Picture more = original;
    Contrast(p.main().state(), more, 105);
    EXPECT_EQ(p.main().state().source, more);
    EXPECT_EQ(p.main().state().source.width(), 640);  // not the 640 x 200 mode 2 picture
}

TEST(MainWindowConvert, WithoutAPictureOnlyTheBlankPictureKeysDoAnything) {
    Program p;
    for (const char* key :
         {"Key16", "Key15", "Key17", "Key10", "Key11", "Key12", "Key07", "Key06"}) {
        SCOPED_TRACE(key);
        Click(Key(p.main(), key));
        EXPECT_TRUE(p.main().state().noPicture);
        EXPECT_EQ(p.Text("Label3"), "");
        EXPECT_EQ(p.Text("Label4"), "");
        EXPECT_TRUE(p.main().state().source.empty());
        for (auto flag : p.main().state().converted) EXPECT_EQ(flag, 0);
    }
    EXPECT_TRUE(p.script().shown.empty());
    EXPECT_FALSE(p.main().findChild<PictureView*>("Image1")->isVisible());

    // Mode 0 makes a blank white picture to draw on, shown without an editor (not built yet);
    // its Label3 stays as it was.
    Click(Key(p.main(), "Key00"));
    EXPECT_FALSE(p.main().state().noPicture);
    EXPECT_EQ(p.main().state().converted[0], 1);
    EXPECT_EQ(p.main().state().picture(0), Picture(160, 200, MakeColour(255, 255, 255)));
    EXPECT_TRUE(p.main().findChild<PictureView*>("Image1")->isVisible());
    EXPECT_EQ(p.Text("Label3"), "");
    Click(Key(p.main(), "Key02"));
    EXPECT_EQ(p.Text("Label3"), "CPC mode 2\n\r640x200\n\r2 colors");
    EXPECT_FALSE(p.windows().edit->isVisible());
    EXPECT_FALSE(Key(p.main(), "Key08")->isEnabled());
}

TEST(MainWindowConvert, ShowSourceClosePictureAndInformation) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().state().noPicture; }));
    Click(Key(p.main(), "Key01"));
    Click(Key(p.main(), "Key22"));
    EXPECT_EQ(p.main().state().currentSlot, kSourceSlot);
    EXPECT_EQ(p.main().shownImage(), ToQImage(p.main().state().source));
    auto* image1 = p.main().findChild<PictureView*>("Image1");
    EXPECT_EQ(image1->geometry(), QRect(216, 152, 368, 264));

    Click(Key(p.main(), "Key23"));
    EXPECT_FALSE(image1->isVisible());
    EXPECT_TRUE(p.main().state().noPicture);

    Click(Key(p.main(), "Key19"));
    QWidget* info = p.main().findChild<QWidget*>("Image9");
    EXPECT_TRUE(info->isVisible());
    Screenshot(&p.main(), "main_information");
    Click(info);
    EXPECT_FALSE(info->isVisible());
}

}  // namespace
}  // namespace mozu::app_test
