// The full preview: a picture on the whole screen at its pixel shape with the scan-line mask,
// zoomed and moved by keys, left with Escape or by the window manager; opened by a click on the
// main window's picture, where a playing video sends its frames.

#include <gtest/gtest.h>
#include <QFile>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "app/picture_convert.h"
#include "app_test_support.h"
#include "dialogs/full_preview.h"
#include "video/vid_reader.h"
#include "video_app_support.h"

namespace mozu::app_test {
namespace {

// Rows of the picture's place on the screen that are wholly black.
int DarkRows(FullPreview& preview) {
    const QImage shot = preview.grab().toImage();
    const QRect at = preview.pictureRect().intersected(shot.rect());
    int dark = 0;
    for (int y = at.top(); y <= at.bottom(); ++y) {
        bool black = true;
        for (int x = at.left(); x <= at.right() && black; ++x)
            black = (shot.pixel(x, y) & 0xFFFFFF) == 0;
        dark += black;
    }
    return dark;
}

// Resident memory of this process in MiB.
long ResidentMiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toLong() / 1024;
    return 0;
}

FullPreview& Preview(Program& p) {
    return *p.windows().preview;
}

TEST(FullPreview, ShapesOfTheSlots) {
    const PreviewShape mode0 = PreviewShapeForSlot(Slot::Mode0, 160, 200);
    EXPECT_EQ(QSize(mode0.width, mode0.height), QSize(640, 400));
    EXPECT_TRUE(mode0.mask);
    const PreviewShape mode2 = PreviewShapeForSlot(Slot::Overscan2, 736, 264);
    EXPECT_EQ(QSize(mode2.width, mode2.height), QSize(1472, 1056));
    const PreviewShape msx = PreviewShapeForSlot(Slot::SgxMsx, 512, 212);
    EXPECT_EQ(QSize(msx.width, msx.height), QSize(1024, 848));
    EXPECT_FALSE(msx.mask);
    const PreviewShape photo = PreviewShapeForSlot(Slot::Source, 100, 80);
    EXPECT_EQ(QSize(photo.width, photo.height), QSize(200, 160));
    EXPECT_FALSE(photo.mask);
    const PreviewShape mode1 = PreviewShapeForSlot(Slot::Mode1, 320, 200);
    EXPECT_EQ(QSize(mode1.width, mode1.height), QSize(640, 400));
    EXPECT_TRUE(mode1.mask);
}

TEST(FullPreview, ModeZeroPictureWithItsScanLines) {
    FullPreview preview;
    QWidget caller;
    caller.show();
    preview.openSlotPicture(Picture(160, 200, MakeColour(200, 180, 40)), Slot::Mode0, &caller);
    EXPECT_TRUE(preview.isVisible());
    EXPECT_FALSE(caller.isVisible());
    EXPECT_EQ(preview.size(), preview.screen()->geometry().size());
    const QRect at = preview.pictureRect();
    EXPECT_EQ(at.size(), QSize(640, 400));
    // Centred: halves toward zero.
    EXPECT_EQ(at.topLeft(), QPoint(preview.width() / 2 - 320, preview.height() / 2 - 200));
    EXPECT_EQ(DarkRows(preview), 200);
    // Every other row from the top of the picture, the others in the picture's colour.
    const QImage shot = preview.grab().toImage();
    EXPECT_EQ(shot.pixel(at.left() + 5, at.top()) & 0xFFFFFF, 0u);
    EXPECT_EQ(QColor(shot.pixel(at.left() + 5, at.top() + 1)), QColor(200, 180, 40));
    // Outside the picture: black.
    EXPECT_EQ(shot.pixel(0, 0) & 0xFFFFFF, 0u);

    // After "+" each dark line is two screen rows: still half the rows.
    QTest::keyClicks(&preview, "+");
    preview.move(0, 0);
    EXPECT_EQ(preview.pictureRect().size(), QSize(1280, 800));
    EXPECT_EQ(DarkRows(preview), preview.pictureRect().intersected(preview.rect()).height() / 2);
    // Below level 1 the lines are squeezed: half dark, no row wholly black.
    QTest::keyClicks(&preview, "--");
    EXPECT_EQ(preview.level(), 0);
    EXPECT_EQ(DarkRows(preview), 0);
    const QImage half = preview.grab().toImage();
    const QRect small = preview.pictureRect();
    EXPECT_EQ(QColor(half.pixel(small.left() + 1, small.top() + 1)), QColor(100, 90, 20));
}

TEST(FullPreview, ZoomLimitsMovesAndHome) {
    FullPreview preview;
    preview.open(Picture(100, 50, 0xFFFFFF), PreviewShape{200, 100, false}, nullptr);
    QTest::keyClicks(&preview, "+++");
    EXPECT_EQ(preview.level(), 4);
    EXPECT_EQ(preview.pictureRect().size(), QSize(1600, 800));
    QTest::keyClicks(&preview, "+");
    EXPECT_EQ(preview.level(), 4);
    EXPECT_EQ(preview.pictureRect().size(), QSize(1600, 800));
    QTest::keyClicks(&preview, "----");
    EXPECT_EQ(preview.level(), 0);
    EXPECT_EQ(preview.pictureRect().size(), QSize(100, 50));
    QTest::keyClicks(&preview, "-");
    EXPECT_EQ(preview.level(), 0);
    EXPECT_EQ(preview.pictureRect().size(), QSize(100, 50));
    QTest::keyClicks(&preview, "+");  // level 1 again

    const QPoint centred = preview.pictureRect().topLeft();
    QTest::keyClick(&preview, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(preview.pictureRect().right(), preview.width() - 1);
    EXPECT_EQ(preview.pictureRect().top(), centred.y());
    QTest::keyClick(&preview, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(preview.pictureRect().right(), preview.width() - 11);
    QTest::keyClick(&preview, Qt::Key_Up);
    EXPECT_EQ(preview.pictureRect().top(), centred.y() - 1);
    QTest::keyClick(&preview, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(preview.pictureRect().bottom(), preview.height() - 1);
    // Ctrl wins when Ctrl and Shift are held together.
    QTest::keyClick(&preview, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(preview.pictureRect().left(), 0);
    QTest::keyClick(&preview, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(preview.pictureRect().top(), 0);
    QTest::keyClick(&preview, Qt::Key_Home);
    EXPECT_EQ(preview.pictureRect().topLeft(), centred);
}

TEST(FullPreview, OpenedFromTheMainWindowAndLeftWithEscapeOrTheWindowManager) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    Click(Widget(p.main(), "Key00"));  // mode 0
    Click(Widget(p.main(), "Image1"));
    FullPreview& preview = Preview(p);
    ASSERT_TRUE(preview.isVisible());
    EXPECT_FALSE(p.main().isVisible());
    EXPECT_EQ(preview.pictureRect().size(), QSize(640, 400));
    EXPECT_TRUE(preview.maskShown());
    EXPECT_EQ(preview.picture(), p.main().document().state().picture(Slot::Mode0));
    Screenshot(&preview, "full_preview_mode0");

    QSignalSpy closed(&preview, &FullPreview::closed);
    QTest::keyClicks(&preview, "++");
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_EQ(closed.count(), 1);
    Click(Widget(p.main(), "Image1"));
    EXPECT_EQ(preview.level(), 1);
    EXPECT_EQ(preview.pictureRect().size(), QSize(640, 400));

    // Closed by the window manager: as Escape, the main window comes back.
    preview.close();
    Settle();
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_EQ(closed.count(), 2);

    // The source: a PC picture at twice its size without scan lines.
    Click(Widget(p.main(), "Key22"));
    Click(Widget(p.main(), "Image1"));
    const Picture& source = p.main().document().state().source;
    EXPECT_EQ(preview.pictureRect().size(), QSize(2 * source.width(), 2 * source.height()));
    EXPECT_FALSE(preview.maskShown());
    QTest::keyClick(&preview, Qt::Key_Escape);
}

TEST(FullPreview, LargePhotoCostsNoLargeAllocation) {
    Program p;
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(QColor(90, 160, 220));
    const QString path = p.Write("large.bmp", photo);
    photo = QImage();
    DropFiles(&p.main(), {path});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }, 20000));
    Settle();
    const long before = ResidentMiB();
    Click(Widget(p.main(), "Image1"));
    FullPreview& preview = Preview(p);
    ASSERT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.pictureRect().size(), QSize(8000, 6000));
    QTest::keyClicks(&preview, "+++");  // 64000 x 48000 on screen
    EXPECT_EQ(preview.pictureRect().size(), QSize(64000, 48000));
    const QImage shot = preview.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(shot.width() / 2, shot.height() / 2)), QColor(90, 160, 220));
    // The preview's copy of the photo (36 MiB) and screen-sized pictures; a mask at the shown
    // size would take 183 MiB at level 1 and 11 GiB at level 4.
    EXPECT_LT(ResidentMiB() - before, 100);
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_TRUE(p.main().isVisible());
}

TEST(FullPreview, VideoFramesGoToThePreviewWhileItIsOpen) {
    Program p;
    const QString clip = MakeClip(p.folder(), "clip.avi", 40);
    if (clip.isEmpty()) GTEST_SKIP() << "no mpeg4 encoder";
    DropFiles(&p.main(), {clip});
    ASSERT_TRUE(WaitUntil([&] { return p.main().document().video().loaded; }));
    Click(Widget(p.main(), "Image1"));
    FullPreview& preview = Preview(p);
    ASSERT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.pictureRect().size(), QSize(128, 96));
    EXPECT_FALSE(preview.maskShown());

    const Picture sourceBefore = p.main().document().state().source;
    VideoLog log(p.main());
    Video(p.main()).nextFrame();
    Video(p.main()).nextFrame();
    Video(p.main()).play();
    ASSERT_TRUE(WaitUntil([&] { return log.shown.size() >= 6; }));
    Video(p.main()).play();
    const int reached = p.main().document().video().currentFrame;
    EXPECT_EQ(FrameNumberOf(ToQImage(preview.picture())), log.shown.back());
    // The main window was left alone meanwhile.
    EXPECT_EQ(p.main().document().state().source, sourceBefore);
    Screenshot(&preview, "full_preview_video_frame");

    // Leaving shows the frame reached in the main window and makes it the source.
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_EQ(FrameNumberOf(p.main().shownImage()), reached);
    EXPECT_EQ(p.main().document().state().source, p.main().document().videoFrame());

    // A four-colour SymbOS video: twice its size with the scan lines.
    const QString vid = MakeVid(clip, p.folder() + "small", false, 0, 20);
    DropFiles(&p.main(), {vid});
    ASSERT_TRUE(WaitUntil([&] { return p.main().document().video().symbosVideo; }));
    Click(Widget(p.main(), "Image1"));
    const VidReader& reader = p.main().document().vidReader();
    EXPECT_EQ(preview.pictureRect().size(), QSize(2 * reader.width(), 2 * reader.height()));
    EXPECT_TRUE(preview.maskShown());
    QTest::keyClick(&preview, Qt::Key_Escape);
}

}  // namespace
}  // namespace mozu::app_test
