// The main window's video keys, slider and playback over small PC and SymbOS videos the tests
// make: stepping, marks, playing to the end mark, the slider's press and drag, the limits that
// beep, and a video that cannot be read.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "app/picture_convert.h"
#include "app/position_bar.h"
#include "app_test_support.h"
#include "dialogs/open_dialog.h"
#include "skin/symbol_label.h"
#include "video/vid_reader.h"
#include "video_app_support.h"

namespace mozu::app_test {
namespace {

constexpr int kTrackLeft = 224, kTrackTop = 422, kTrackWidth = 350;

// The pointer on the thumb, as the window system sends it: press, moves with the button held,
// release.
void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

constexpr QPoint kGrip(7, 12);

// Presses the thumb and moves it by dx, the button held.
void DragThumb(QWidget* thumb, int dx) {
    SendMouse(thumb, QEvent::MouseButtonPress, kGrip, Qt::LeftButton);
    // In steps, as a hand moves: the thumb moves under the pointer between two events.
    for (int i = 1; i <= 10; ++i) {
        const QPoint at = kGrip + QPoint(dx / 10, 0);
        SendMouse(thumb, QEvent::MouseMove, at, Qt::LeftButton);
    }
}

void ReleaseThumb(QWidget* thumb) {
    SendMouse(thumb, QEvent::MouseButtonRelease, kGrip, Qt::NoButton);
}

class VideoKeys : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        const QString folder = QString::fromStdString(dir_->path().string()) + '/';
        clip60_ = MakeClip(folder, "clip60.avi", 60);
        clip700_ = MakeClip(folder, "clip700.avi", 700);
        clip50_ = MakeClip(folder, "clip50.avi", 50);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (clip60_.isEmpty()) GTEST_SKIP() << "no mpeg4 encoder";
    }

    void Open(const QString& path) {
        if (p.main().document().unsavedCount() > 0) p.script().No();
        const auto before = p.main().document().state().currentFileName;
        DropFiles(&p.main(), {path});
        ASSERT_TRUE(WaitUntil([&] {
            return p.main().document().state().currentFileName == path.toStdString() &&
                   p.main().document().video().loaded;
        }));
    }
    void Press(const char* key, int times = 1) {
        for (int i = 0; i < times; ++i) Click(Widget(p.main(), key));
    }
    VideoState& video() { return p.main().document().video(); }
    QString PlaySymbol() { return p.main().findChild<SymbolLabel*>("VideoLabel04")->text(); }
    int ShownFrame() { return FrameNumberOf(p.main().shownImage()); }

    static test::TempDir* dir_;
    static QString clip60_, clip700_, clip50_;
    Program p;
};

test::TempDir* VideoKeys::dir_ = nullptr;
QString VideoKeys::clip60_, VideoKeys::clip700_, VideoKeys::clip50_;

TEST_F(VideoKeys, NextShowsTheFollowingFramesAndPreviousBeepsAtZero) {
    Open(clip60_);
    VideoLog log(p.main());
    Press("VideoKey05", 3);
    EXPECT_EQ(video().currentFrame, 3);
    EXPECT_EQ(log.shown, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ShownFrame(), 3);
    // The frame on show is the source the conversion keys convert.
    EXPECT_EQ(p.main().shownImage().pixel(40, 40),
              ToQImage(p.main().document().state().source).pixel(40, 40));
    Press("VideoKey03", 3);
    EXPECT_EQ(video().currentFrame, 0);
    EXPECT_EQ(log.beeps, 0);
    Press("VideoKey03");
    EXPECT_EQ(log.beeps, 1);
    EXPECT_EQ(video().currentFrame, 0);
    EXPECT_EQ(log.shown.size(), 6u) << "a beep shows nothing";
}

TEST_F(VideoKeys, MarksBackwardAndForward) {
    Open(clip60_);
    auto* bar = p.main().findChild<PositionBar*>("Horizontal");
    Press("VideoKey05", 10);
    Press("VideoKey01");  // start mark at 10
    Press("VideoKey05", 10);
    Press("VideoKey07");  // end mark at 20
    EXPECT_EQ(video().startMark, 10);
    EXPECT_EQ(video().endMark, 20);
    // Grey from 10/60 to 20/60 of the track.
    EXPECT_EQ(bar->greyFrom(), 10 * kTrackWidth / 60);
    EXPECT_EQ(bar->greyTo(), 20 * kTrackWidth / 60);
    Press("VideoKey03", 5);  // 15
    Press("VideoKey02");
    EXPECT_EQ(video().currentFrame, 10);
    EXPECT_EQ(ShownFrame(), 10);
    Press("VideoKey02");
    EXPECT_EQ(video().currentFrame, 0);
    Press("VideoKey05", 15);
    Press("VideoKey06");
    EXPECT_EQ(video().currentFrame, 20);
    EXPECT_EQ(ShownFrame(), 20);
    // At the end mark Forward goes on to the last frame, never past it.
    Press("VideoKey06");
    EXPECT_EQ(video().currentFrame, 59);
    EXPECT_EQ(ShownFrame(), 59);
}

TEST_F(VideoKeys, PlayingShowsFramesUpToTheEndMarkAndStopsThere) {
    Open(clip60_);
    Press("VideoKey05", 8);
    Press("VideoKey07");  // end mark 8
    Press("VideoKey03", 3);
    VideoLog log(p.main());
    auto* playTimer = p.main().findChild<QTimer*>("PlayTimer");
    Press("VideoKey04");
    EXPECT_TRUE(playTimer->isActive());
    EXPECT_EQ(playTimer->interval(), 40);  // 25 fps
    EXPECT_EQ(PlaySymbol(), ";");
    // The slider rests while the video plays.
    EXPECT_FALSE(Widget(p.main(), "Horizontal")->isEnabled());
    EXPECT_FALSE(Widget(p.main(), "HScrollButton")->isEnabled());
    ASSERT_TRUE(WaitUntil([&] { return !playTimer->isActive(); }));
    EXPECT_EQ(log.shown, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(video().currentFrame, 8);
    EXPECT_EQ(ShownFrame(), 7);
    EXPECT_EQ(PlaySymbol(), "4");
    EXPECT_TRUE(Widget(p.main(), "Horizontal")->isEnabled());
    EXPECT_TRUE(Widget(p.main(), "HScrollButton")->isEnabled());

    // The play key pauses a playing video.
    Press("VideoKey02", 2);
    Press("VideoKey04");
    ASSERT_TRUE(WaitUntil([&] { return log.shown.size() >= 5; }));
    Press("VideoKey04");
    EXPECT_FALSE(playTimer->isActive());
    EXPECT_EQ(PlaySymbol(), "4");

    // The open key stops playback, even when the open dialog is cancelled.
    Press("VideoKey04");
    ASSERT_TRUE(playTimer->isActive());
    PickInOpenDialog(p.windows().open.get(), "");
    Press("Key20");
    EXPECT_FALSE(playTimer->isActive());
    EXPECT_EQ(PlaySymbol(), "4");
    EXPECT_TRUE(Widget(p.main(), "HScrollButton")->isEnabled());
    EXPECT_TRUE(video().loaded);
}

TEST_F(VideoKeys, TrackPressJumpsAndTheThumbIsDraggedWithinTheTrack) {
    Open(clip700_);
    QWidget* thumb = Widget(p.main(), "HScrollButton");
    EXPECT_EQ(thumb->x(), kTrackLeft - 7);
    QTest::mouseClick(Widget(p.main(), "Horizontal"), Qt::LeftButton, {}, QPoint(175, 12));
    EXPECT_EQ(video().currentFrame, 350);
    EXPECT_EQ(thumb->x(), kTrackLeft + 168);
    EXPECT_EQ(thumb->y(), kTrackTop);
    EXPECT_EQ(ShownFrame(), 350 % 64);

    VideoLog log(p.main());
    DragThumb(thumb, -2000);
    EXPECT_EQ(thumb->x(), kTrackLeft - 7);
    EXPECT_TRUE(log.shown.empty()) << "no frame while dragging";
    ReleaseThumb(thumb);
    EXPECT_EQ(video().currentFrame, 0);
    EXPECT_EQ(log.shown, std::vector<int>{0});
    DragThumb(thumb, 5000);
    EXPECT_EQ(thumb->x(), kTrackLeft + kTrackWidth - 7);
    ReleaseThumb(thumb);
    // The right end of the track is the last frame, not one past it; the thumb shows its place.
    EXPECT_EQ(video().currentFrame, 699);
    EXPECT_EQ(thumb->x(), kTrackLeft + 349 - 7);
    EXPECT_EQ(ShownFrame(), 699 % 64);
    EXPECT_EQ(log.beeps, 0);
}

TEST_F(VideoKeys, NextAtTheLastFrameBeepsAndTheControlsStayEnabled) {
    Open(clip60_);
    VideoLog log(p.main());
    Press("VideoKey06");  // to the end mark: the frame count stands for the last frame
    EXPECT_EQ(video().currentFrame, 59);
    Press("VideoKey05");
    EXPECT_EQ(log.beeps, 1);
    EXPECT_EQ(video().currentFrame, 59);
    EXPECT_TRUE(p.script().shown.empty()) << "no read error";
    for (const char* name : {"VideoKey01", "VideoKey03", "VideoKey04", "VideoKey05", "VideoKey14",
                             "Horizontal", "HScrollButton"})
        EXPECT_TRUE(Widget(p.main(), name)->isEnabled()) << name;
}

TEST_F(VideoKeys, AnotherVideoStartsAtItsFirstFrame) {
    Open(clip700_);
    QTest::mouseClick(Widget(p.main(), "Horizontal"), Qt::LeftButton, {}, QPoint(250, 12));
    ASSERT_EQ(video().currentFrame, 500);
    Press("VideoKey01");
    Open(clip50_);
    EXPECT_EQ(video().currentFrame, 0);
    EXPECT_EQ(video().startMark, 0);
    EXPECT_EQ(video().endMark, 50);
    EXPECT_EQ(Widget(p.main(), "HScrollButton")->x(), kTrackLeft - 7);
    VideoLog log(p.main());
    Press("VideoKey04");
    ASSERT_TRUE(WaitUntil([&] { return log.shown.size() >= 3; }));
    Press("VideoKey04");
    EXPECT_EQ(log.shown[0], 0);
    EXPECT_EQ(log.shown[1], 1);
    EXPECT_TRUE(p.script().shown.empty());
}

TEST_F(VideoKeys, SymbosVideoIsSteppedAndPlayedToItsEndMark) {
    for (const bool sixteen : {false, true}) {
        const QString vid = MakeVid(clip60_, p.folder() + (sixteen ? "s16" : "s4"), sixteen, 0, 40);
        Open(vid);
        EXPECT_TRUE(video().symbosVideo);
        const VidReader& reader = p.main().document().vidReader();
        ASSERT_EQ(reader.frameCount(), 20);
        EXPECT_FALSE(Widget(p.main(), "VideoKey13")->isEnabled());
        EXPECT_FALSE(Widget(p.main(), "VideoKey14")->isEnabled());
        EXPECT_TRUE(Widget(p.main(), "VideoKey04")->isEnabled());
        VideoLog log(p.main());
        Press("VideoKey05", 2);
        EXPECT_EQ(video().currentFrame, 2);
        // The frame at its own size: W x H, or W x 2H for wide sixteen-colour pixels.
        EXPECT_EQ(p.main().shownImage().width(), reader.width());
        EXPECT_EQ(p.main().shownImage().height(), reader.height() * (sixteen ? 2 : 1));
        Press("VideoKey05", 14);
        Press("VideoKey07");  // end mark 16
        Press("VideoKey03", 3);
        auto* vidTimer = p.main().findChild<QTimer*>("VIDTimer");
        log.shown.clear();
        Press("VideoKey04");
        EXPECT_TRUE(vidTimer->isActive());
        EXPECT_EQ(vidTimer->interval(), 1000 / reader.frameRate());
        ASSERT_TRUE(WaitUntil([&] { return !vidTimer->isActive(); }));
        EXPECT_EQ(log.shown, (std::vector<int>{13, 14, 15}));
        EXPECT_EQ(video().currentFrame, 16);
        EXPECT_EQ(PlaySymbol(), "4");
        // Next at the last frame beeps; the frame count itself is never asked for.
        Press("VideoKey06");
        Press("VideoKey06");
        EXPECT_EQ(video().currentFrame, 19);
        Press("VideoKey05");
        EXPECT_EQ(log.beeps, 1);
        EXPECT_TRUE(p.script().shown.empty());
    }
}

TEST_F(VideoKeys, SymbosVideoWithoutAFrameRateDoesNotPlay) {
    const QString vid = MakeVid(clip60_, p.folder() + "still", false, 0, 10);
    QFile f(vid);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(10);
    f.write(QByteArray(1, '\0'));  // frame rate 0
    f.close();
    Open(vid);
    VideoLog log(p.main());
    Press("VideoKey04");
    EXPECT_EQ(log.beeps, 1);
    EXPECT_FALSE(p.main().findChild<QTimer*>("VIDTimer")->isActive());
    EXPECT_EQ(PlaySymbol(), "4");
}

TEST_F(VideoKeys, UnreadableVideosShowTheErrorAndLeaveTheWindowUsable) {
    // A "video" that is no video: the open fails with its error.
    QFile junk(p.folder() + "junk.avi");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    p.script().Ok();
    DropFiles(&p.main(), {junk.fileName()});
    ASSERT_TRUE(WaitUntil([&] { return p.script().shown.size() == 1; }));
    EXPECT_EQ(p.script().shown[0].kind, MessageWindow::kError);
    EXPECT_FALSE(video().loaded);
    EXPECT_FALSE(Widget(p.main(), "VideoKey04")->isEnabled());

    // A SymbOS video cut short while it plays: the error once, nothing left running.
    const QString vid = MakeVid(clip60_, p.folder() + "cut", false, 0, 60);
    Open(vid);
    const std::int64_t frameSize = p.main().document().vidReader().frameSize();
    QFile::resize(vid, 512 + 5 * frameSize);
    p.script().Ok();
    Press("VideoKey04");
    ASSERT_TRUE(WaitUntil([&] { return p.script().shown.size() == 2; }));
    Settle();
    EXPECT_EQ(p.script().shown[1].kind, MessageWindow::kError);
    EXPECT_FALSE(p.main().findChild<QTimer*>("VIDTimer")->isActive());
    EXPECT_FALSE(p.main().findChild<QTimer*>("PlayTimer")->isActive());
    EXPECT_EQ(PlaySymbol(), "4");
    EXPECT_EQ(p.script().unexpected, 0);
    // The window goes on: another file opens.
    Open(clip50_);
    EXPECT_TRUE(Widget(p.main(), "VideoKey04")->isEnabled());
}

}  // namespace
}  // namespace mozu::app_test
