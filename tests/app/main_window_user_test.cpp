// The main window as a user meets it: a file handed over while a question is up, Close with
// unsaved work, descriptions that fit their panels, fine detail in the display, the keyboard,
// the mark of the current key, the window title and today's video containers.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

extern "C" {
#include <libavutil/log.h>
}

#include "app/picture_view.h"
#include "app_test_support.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "skin/picture_key.h"
#include "skin/skin_label.h"
#include "tests/support/ffmpeg_test_video.h"
#include "video/vid_format.h"

namespace mozu::app_test {
namespace {

PictureKey* Key(MainWindow& w, const char* name) {
    return w.findChild<PictureKey*>(name);
}

void DropAndWait(Program& p, const QString& path) {
    DropFiles(&p.main(), {path});
    ASSERT_TRUE(WaitUntil(
        [&] { return p.main().document().state().currentFileName == path.toStdString(); }));
}

// A SymbOS video of `frames` frames, each all pen 1, with its title and information.
void WriteVid(const QString& path, int frames, const std::string& title,
              const std::string& information) {
    VideoRunPlan plan;
    plan.sixteen = false;
    plan.kind = VideoKindFor(64, 40, false);
    plan.rate = 10;
    plan.frames = frames;
    plan.width = 64;
    plan.height = 40;
    plan.dataSize = VidFrameDataSize(64, 40, false);
    plan.frameSize = VidFrameSize(plan.dataSize);
    const auto header = MakeVidHeader(plan, title, information);
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(plan.frameSize));
    for (int k = 0; k < frames; ++k) {
        EncodeVidFrame(Picture(64, 40, MakeColour(1, 0, 0)), plan, frame);
        out.write(reinterpret_cast<const char*>(frame.data()), frame.size());
    }
}

// Whether the label's shown lines fit its box in the font they are drawn in.
::testing::AssertionResult FitsItsBox(const SkinLabel* label) {
    const QFontMetrics m(label->shownFont());
    const QStringList lines = label->shownLines();
    for (const QString& line : lines)
        if (m.horizontalAdvance(line) > label->width())
            return ::testing::AssertionFailure()
                   << label->objectName().toStdString() << ": \"" << line.toStdString() << "\" is "
                   << m.horizontalAdvance(line) << " wide in " << label->width();
    if (lines.size() * m.lineSpacing() > label->height())
        return ::testing::AssertionFailure() << label->objectName().toStdString() << ": "
                                             << lines.size() << " lines in " << label->height();
    return ::testing::AssertionSuccess();
}

// --- faults --------------------------------------------------------------------------------

TEST(MainWindowUser, HandOffWhileTheUnsavedQuestionIsUpWaitsForTheAnswer) {
    Program p;
    DropAndWait(p, SamplePhoto());
    Click(Key(p.main(), "Key00"));  // one unsaved picture
    const QString dropped = p.Write("dropped.bmp", ThreeColourPicture());
    const QString handed = p.Write("handed.bmp", ThreeColourPicture(32, 20));
    bool questionShown = false;
    QWidget* active = nullptr;
    QString waiting;
    p.script().Do([&] {
        // A second instance hands a file over while the question is up.
        p.main().openHandedOverFile(handed);
        QTest::qWait(50);
        questionShown = p.msg().isVisible() && p.msg().busy();
        active = QApplication::activeWindow();
        waiting = p.main().waitingHandOff();
        // The question is still answerable: "no".
        Click(p.msg().findChild<PictureKey*>("KeyRed01"));
    });
    DropFiles(&p.main(), {dropped});
    ASSERT_TRUE(WaitUntil([&] {
        return p.main().document().state().currentFileName == handed.toStdString();
    })) << "the handed-over file was not opened after the answer; it is "
        << p.main().document().state().currentFileName;
    EXPECT_TRUE(questionShown);
    EXPECT_NE(active, &p.main());  // the main window did not come up over the question
    EXPECT_EQ(waiting, handed);
    EXPECT_EQ(p.main().waitingHandOff(), "");
    EXPECT_EQ(p.Text("Label1"), "Bitmap image\n\r32x20\n\r3 colors");
    ASSERT_EQ(p.script().shown.size(), 1u);  // nothing unsaved was left to ask about
    EXPECT_EQ(p.script().unexpected, 0);
    EXPECT_TRUE(p.main().isEnabled());
}

TEST(MainWindowUser, HandOffWhileTheOpenDialogIsUpOpensAfterIt) {
    Program p;
    const QString handed = p.Write("handed.bmp", ThreeColourPicture());
    p.windows().open->setCurrentFolder(p.folder());
    WhenVisible(p.windows().open.get(), [&] {
        p.main().openHandedOverFile(handed);
        EXPECT_FALSE(p.main().isVisible());  // the dialog stays in front
        Click(p.windows().open->findChild<PictureKey*>("KeyRed01"));
    });
    Click(Key(p.main(), "Key20"));
    ASSERT_TRUE(WaitUntil(
        [&] { return p.main().document().state().currentFileName == handed.toStdString(); }));
    EXPECT_TRUE(p.main().isVisible());
}

TEST(MainWindowUser, CloseAsksAboutUnsavedPicturesThenClearsTheTextsAndTheVideo) {
    Program p;
    const QString video = p.folder() + "rain.vid";
    WriteVid(video, 12, "Rain", "Drops");
    DropAndWait(p, video);
    ASSERT_TRUE(Key(p.main(), "VideoKey04")->isEnabled());
    p.script().Yes();  // the frame has one colour: converted without dithering
    Click(Key(p.main(), "Key01"));
    ASSERT_EQ(p.main().document().unsavedCount(), 1);
    ASSERT_NE(p.Text("Label3"), "");

    // Yes, save them; the save is cancelled: nothing is closed.
    p.script().Yes();
    AnswerSaveDialog(p.windows().save.get(), QString());
    Click(Key(p.main(), "Key23"));
    ASSERT_EQ(p.script().shown.size(), 2u);
    EXPECT_EQ(p.script().shown[1].kind, MessageWindow::kQuestion);
    EXPECT_EQ(p.script().shown[1].text, "1 file not saved. Do you want save it now");
    EXPECT_FALSE(p.main().document().state().noPicture);
    EXPECT_EQ(p.Text("Label2"), "Rain\n\rDrops");

    // No: the picture, the video, the descriptions and the video controls go.
    p.script().No();
    Click(Key(p.main(), "Key23"));
    ASSERT_EQ(p.script().shown.size(), 3u);
    EXPECT_TRUE(p.main().document().state().noPicture);
    EXPECT_FALSE(p.main().document().video().loaded);
    EXPECT_EQ(p.Text("Label1"), "");
    EXPECT_EQ(p.Text("Label2"), "");
    EXPECT_EQ(p.Text("Label3"), "");
    EXPECT_FALSE(Key(p.main(), "VideoKey04")->isEnabled());
    EXPECT_FALSE(p.main().findChild<QWidget*>("HScrollButton")->isEnabled());
    EXPECT_EQ(p.main().windowTitle(), "Mozu v1.0");
    // What was given up is not asked about again.
    EXPECT_EQ(p.main().document().unsavedCount(), 0);
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST(MainWindowUser, LongDescriptionsFitTheirPanels) {
    Program p;
    const QString video = p.folder() + "seaside.vid";
    WriteVid(video, 12, "A long walk along the seaside", "Converted with Mozu 9 Dec 2026");
    DropAndWait(p, video);
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
        const auto* label = p.main().findChild<SkinLabel*>(name);
        EXPECT_TRUE(FitsItsBox(label));
    }
    const auto* title = p.main().findChild<SkinLabel*>("Label2");
    EXPECT_EQ(title->text(), "A long walk along the seaside\n\rConverted with Mozu 9 Dec 2026");
    // Shown smaller (or cut): the whole text is the tooltip.
    EXPECT_EQ(title->toolTip(), "A long walk along the seaside\nConverted with Mozu 9 Dec 2026");
    Screenshot(&p.main(), "main_long_video_description");

    // The longest slot description fits the right panel, its first letter included.
    auto* target = p.main().findChild<SkinLabel*>("Label3");
    target->setText("Overscaned mode 1\n\r368x264\n\r4 colors");
    EXPECT_TRUE(FitsItsBox(target));
    EXPECT_FALSE(target->elided());
    EXPECT_EQ(target->shownLines().front(), "Overscaned mode 1");
    auto* source = p.main().findChild<SkinLabel*>("Label1");
    source->setText("CPC image\n\r368x264\n\roverscaned mode 1");
    EXPECT_TRUE(FitsItsBox(source));
    EXPECT_EQ(source->shownLines().back(), "overscaned mode 1");
}

TEST(MainWindowUser, ANewFileClearsTheSlotDescription) {
    Program p;
    DropAndWait(p, SamplePhoto());
    Click(Key(p.main(), "Key01"));
    ASSERT_EQ(p.Text("Label3"), "CPC mode 1\n\r320x200\n\r4 colors");
    p.script().No();
    DropAndWait(p, p.Write("next.bmp", ThreeColourPicture()));
    EXPECT_EQ(p.Text("Label3"), "");
}

TEST(MainWindowUser, Mode2StripesKeepTheirBrightnessInTheDisplay) {
    Program p;
    // One-pixel vertical stripes, white and black, 640 wide (mode 2's pixels are twice as tall
    // as wide: 640 x 400 fills the screen).
    QImage stripes(640, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x) stripes.setPixel(x, y, x % 2 ? 0xFF000000 : 0xFFFFFFFF);
    DropAndWait(p, p.Write("stripes.bmp", stripes));
    p.script().Yes();  // two colours: converted exactly
    Click(Key(p.main(), "Key02"));
    ASSERT_EQ(p.main().document().state().currentSlot, Slot::Mode2);
    auto* view = p.main().findChild<PictureView*>("Image1");
    const QRect at = view->pictureRect();
    ASSERT_EQ(at.width(), 320);  // shown half as wide
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int darkest = 255, lightest = 0;
    for (int y = at.top(); y <= at.bottom(); ++y)
        for (int x = at.left(); x <= at.right(); ++x) {
            const int g = qGray(shown.pixel(x, y));
            sum += g;
            darkest = std::min(darkest, g);
            lightest = std::max(lightest, g);
        }
    const double mean = sum / (at.width() * at.height());
    EXPECT_NEAR(mean, 127.5, 2.0);
    // No streaks: every shown pixel is the grey of its two stripes.
    EXPECT_GE(darkest, 120);
    EXPECT_LE(lightest, 135);
}

// --- keyboard and feedback -----------------------------------------------------------------

TEST(MainWindowUser, EveryShortcutPressesItsKey) {
    Program p;
    MainWindow& w = p.main();
    const auto press = [&w](QKeyCombination k) {
        QTest::keyClick(&w, k.key(), k.keyboardModifiers());
    };
    // Each key's tooltip names its shortcut.
    EXPECT_TRUE(Key(w, "Key20")->toolTip().contains("Ctrl+O"))
        << Key(w, "Key20")->toolTip().toStdString();
    EXPECT_TRUE(Key(w, "Key01")->toolTip().contains("1"));
    EXPECT_TRUE(Key(w, "ExitKey")->toolTip().contains("Ctrl+Q"));

    // Ctrl+O: the open dialog (cancelled).
    bool openShown = false;
    WhenVisible(p.windows().open.get(), [&] {
        openShown = true;
        Click(p.windows().open->findChild<PictureKey*>("KeyRed01"));
    });
    press(Qt::CTRL | Qt::Key_O);
    EXPECT_TRUE(openShown);

    DropAndWait(p, SamplePhoto());
    // Digits: the conversion keys, down the left column then the right one.
    press(QKeyCombination(Qt::Key_1));
    EXPECT_EQ(w.document().state().currentSlot, Slot::Mode1);
    press(QKeyCombination(Qt::Key_6));
    EXPECT_EQ(w.document().state().currentSlot, Slot::SgxCpc);
    press(QKeyCombination(Qt::Key_S));
    EXPECT_EQ(w.document().state().currentSlot, Slot::Source);

    // Ctrl+S: the save dialog (cancelled).
    bool saveShown = false;
    WhenVisible(p.windows().save.get(), [&] {
        saveShown = true;
        Click(p.windows().save->findChild<PictureKey*>("KeyRed01"));
    });
    press(Qt::CTRL | Qt::Key_S);
    EXPECT_TRUE(saveShown);

    // F1: the information picture; Escape puts it away before anything else.
    press(QKeyCombination(Qt::Key_F1));
    EXPECT_TRUE(w.findChild<QWidget*>("Image9")->isVisible());
    QSignalSpy exited(&w, &MainWindow::exited);
    press(QKeyCombination(Qt::Key_Escape));
    EXPECT_FALSE(w.findChild<QWidget*>("Image9")->isVisible());
    EXPECT_EQ(exited.count(), 0);

    // Ctrl+W: close, with the question about the two unsaved pictures.
    p.script().No();
    press(Qt::CTRL | Qt::Key_W);
    EXPECT_TRUE(w.document().state().noPicture);
    ASSERT_EQ(p.script().shown.size(), 1u);

    // The video keys: Space presses play, Left and Right the frame keys.
    const QString video = p.folder() + "rain.vid";
    WriteVid(video, 12, "Rain", "Drops");
    DropAndWait(p, video);
    QSignalSpy play(Key(w, "VideoKey04"), &PictureKey::clicked);
    QSignalSpy back(Key(w, "VideoKey03"), &PictureKey::clicked);
    QSignalSpy on(Key(w, "VideoKey05"), &PictureKey::clicked);
    press(QKeyCombination(Qt::Key_Space));
    press(QKeyCombination(Qt::Key_Left));
    press(QKeyCombination(Qt::Key_Right));
    press(QKeyCombination(Qt::Key_Right));
    EXPECT_EQ(play.count(), 1);
    EXPECT_EQ(back.count(), 1);
    EXPECT_EQ(on.count(), 2);

    // Escape and Ctrl+Q: exit (nothing unsaved, so no question).
    press(QKeyCombination(Qt::Key_Escape));
    EXPECT_EQ(exited.count(), 1);
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST(MainWindowUser, CtrlQExitsAfterTheUnsavedQuestion) {
    Program p;
    DropAndWait(p, SamplePhoto());
    Click(Key(p.main(), "Key00"));
    QSignalSpy exited(&p.main(), &MainWindow::exited);
    p.script().No();
    QTest::keyClick(&p.main(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "1 file not saved. Do you want save it now");
    EXPECT_EQ(exited.count(), 1);
}

TEST(MainWindowUser, TabMovesAVisibleFocusThroughTheKeys) {
    Program p;
    p.main().activateWindow();
    QApplication::setActiveWindow(&p.main());
    QWidget* before = QApplication::focusWidget();
    QTest::keyClick(&p.main(), Qt::Key_Tab);
    auto* first = qobject_cast<PictureKey*>(QApplication::focusWidget());
    ASSERT_NE(first, nullptr);
    EXPECT_NE(static_cast<QWidget*>(first), before);
    QTest::keyClick(first, Qt::Key_Tab);
    auto* second = qobject_cast<PictureKey*>(QApplication::focusWidget());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    // The focused key is drawn differently from the same key without the focus.
    const QImage focused = second->grab().toImage();
    second->clearFocus();
    EXPECT_NE(second->grab().toImage(), focused);
}

TEST(MainWindowUser, TheKeyOfWhatIsOnShowIsMarkedAndTheTitleNamesTheFile) {
    Program p;
    EXPECT_EQ(p.main().windowTitle(), "Mozu v1.0");
    DropAndWait(p, SamplePhoto());
    const QString name = QFileInfo(SamplePhoto()).fileName();
    EXPECT_EQ(p.main().windowTitle(), name + " - Mozu");
    Click(Key(p.main(), "Key01"));
    // A conversion not yet saved is marked in the title.
    EXPECT_EQ(p.main().windowTitle(), name + "* - Mozu");
    const auto marked = [&] {
        QStringList names;
        for (PictureKey* k : p.main().findChildren<PictureKey*>())
            if (k->isCurrent()) names << k->objectName();
        return names;
    };
    EXPECT_EQ(marked(), QStringList{"Key01"});
    const QImage current = Key(p.main(), "Key01")->grab().toImage();
    Click(Key(p.main(), "Key04"));
    EXPECT_EQ(marked(), QStringList{"Key04"});
    EXPECT_NE(Key(p.main(), "Key01")->grab().toImage(), current);
    Click(Key(p.main(), "Key22"));
    EXPECT_EQ(marked(), QStringList{"Key22"});
    Screenshot(&p.main(), "main_current_key");
    // Saved (into the test's own folder): the mark in the title goes.
    p.windows().save->setCurrentFolder(p.folder());
    AnswerSaveDialog(p.windows().save.get(), "pic");
    Click(Key(p.main(), "Key21"));
    EXPECT_EQ(p.main().windowTitle(), name + " - Mozu");
}

TEST(MainWindowUser, KeysShowAHoverState) {
    Program p;
    PictureKey* key = Key(p.main(), "Key20");
    const QImage plain = key->grab().toImage();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(key, &enter);
    EXPECT_TRUE(key->isHovered());
    EXPECT_NE(key->grab().toImage(), plain);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(key, &leave);
    EXPECT_FALSE(key->isHovered());
    EXPECT_EQ(key->grab().toImage(), plain);
}

// --- today's video containers --------------------------------------------------------------

class MainWindowContainers : public ::testing::TestWithParam<const char*> {};

TEST_P(MainWindowContainers, OpenByDropAndByTheOpenDialog) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    av_log_set_level(AV_LOG_FATAL);
    Program p;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 50;
    const QString name = QString("pan.") + GetParam();
    const QString video = p.folder() + name;
    test::WriteTestVideo(video.toStdString(), recipe, [](int n, Picture& picture) {
        picture.fill(MakeColour(4 * n, 4 * n, 4 * n));
    });
    DropAndWait(p, video);
    EXPECT_TRUE(p.main().document().video().loaded);
    EXPECT_EQ(p.Text("Label1"), "Video\n\r00:00:02\n\r25 fps");
    EXPECT_TRUE(Key(p.main(), "VideoKey04")->isEnabled());

    Click(Key(p.main(), "Key23"));  // closed, then opened again through the dialog
    ASSERT_FALSE(p.main().document().video().loaded);
    p.windows().open->setCurrentFolder(p.folder());
    PickInOpenDialog(p.windows().open.get(), name);
    Click(Key(p.main(), "Key20"));
    EXPECT_TRUE(p.main().document().video().loaded);
    const QString upper = QString("." + QString(GetParam()).toUpper()).right(4);
    EXPECT_EQ(p.Text("Label1"), upper + " video\n\r00:00:02\n\r25 fps");
    EXPECT_EQ(p.script().unexpected, 0);
}

INSTANTIATE_TEST_SUITE_P(Today, MainWindowContainers, ::testing::Values("mp4", "mkv"));

// --- high-DPI ------------------------------------------------------------------------------

// Run in a process of its own at scale factor 2 (a factor is read when the application starts).
TEST(MainWindowUser, ScaleFactorTwoChild) {
    if (qEnvironmentVariable("MOZU_SCALE_CHILD") != "1") GTEST_SKIP() << "run by ScaleFactorTwo";
    Program p;
    DropAndWait(p, SamplePhoto());
    Click(Key(p.main(), "Key01"));
    ASSERT_EQ(p.main().devicePixelRatioF(), 2.0);
    const QPixmap shot = p.main().grab();
    // The window as a whole, at twice its pixels.
    EXPECT_EQ(shot.size(), p.main().size() * 2);
    Screenshot(&p.main(), "main_scale_factor_2");
}

TEST(MainWindowUser, ScaleFactorTwo) {
    if (qEnvironmentVariable("MOZU_SCALE_CHILD") == "1") GTEST_SKIP();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MOZU_SCALE_CHILD", "1");
    env.insert("QT_SCALE_FACTOR", "2");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=MainWindowUser.ScaleFactorTwoChild"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
    const QImage shot(QStringLiteral(MOZU_BINARY_DIR "/screenshots/main_scale_factor_2.png"));
    ASSERT_EQ(shot.size(), QSize(794, 691) * 2);
    // The whole window scaled: the skin reaches the bottom right part of the picture (the
    // progress dial's foot at 398 x 660 is drawn at twice those coordinates), and outside
    // the outline stays transparent.
    EXPECT_GT(qAlpha(shot.pixel(2 * 398, 2 * 660)), 0);
    EXPECT_GT(qAlpha(shot.pixel(2 * 700, 2 * 300)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(2, 2 * 680)), 0);
}

}  // namespace
}  // namespace mozu::app_test
