// Video conversion from the main window: the video keys ask, take a name from the save dialog
// and convert one frame per MakeTimer / Make16Timer tick into the same file the core writes;
// the play key stops a run; a run refuses opening, dropping and exiting, and a cancelled or
// failed start leaves nothing running.

#include <gtest/gtest.h>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <cerrno>

#include "app/picture_view.h"
#include "app_test_support.h"
#include "dialogs/full_preview.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "document/open_file.h"
#include "platform/binary_file.h"
#include "skin/symbol_label.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scripted_asker.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_reader.h"
#include "video/vid_writer.h"
#include "video_app_support.h"

namespace mozu::app_test {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int CountShown(const MessageScript& script, const QString& text) {
    int n = 0;
    for (const Shown& s : script.shown) n += s.text == text;
    return n;
}

class VideoRun : public ::testing::Test {
  protected:
    void SetUp() override {
        clip = MakeClip(p.folder(), "clip.avi", 60);
        if (clip.isEmpty()) GTEST_SKIP() << "no mpeg4 encoder";
        DropFiles(&p.main(), {clip});
        ASSERT_TRUE(WaitUntil([&] { return p.main().document().video().loaded; }));
        p.windows().save->setCurrentFolder(p.folder());
    }
    void Press(const char* key, int times = 1) {
        for (int i = 0; i < times; ++i) Click(Widget(p.main(), key));
    }
    VideoRunDriver& driver() { return Video(p.main()).run(); }
    // Presses a video key, answers the question no and names the file in the save dialog.
    void StartRun(const char* key, const QString& name) {
        p.script().No();
        AnswerSaveDialog(p.windows().save.get(), name);
        Press(key);
    }

    QString clip;
    Program p;
};

TEST_F(VideoRun, FourAndSixteenColourRunsWriteWhatTheCoreWrites) {
    Press("VideoKey05", 4);
    Press("VideoKey01");
    Press("VideoKey05", 20);
    Press("VideoKey07");  // frames 4 to 24: 10 frames at a step of 2
    for (const bool sixteen : {false, true}) {
        p.script().shown.clear();
        const QString name = sixteen ? "clip16" : "clip4";
        StartRun(sixteen ? "VideoKey13" : "VideoKey14", name);
        ASSERT_TRUE(driver().running());
        EXPECT_EQ(p.script().shown[0].text, "Use autobalance for all frames?");
        auto* timer = p.main().findChild<QTimer*>(sixteen ? "Make16Timer" : "MakeTimer");
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 100);
        EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "<");
        EXPECT_EQ(p.Text("Label3"), "SymbOS video\n\r00:00:00\n\r12 fps\n\r");
        // The marks are fixed while the run takes them; play (stop) and preview stay.
        for (const char* off : {"VideoKey01", "VideoKey05", "VideoKey07", "VideoKey13",
                                "VideoKey14", "Horizontal", "HScrollButton"})
            EXPECT_FALSE(Widget(p.main(), off)->isEnabled()) << off;
        for (const char* on : {"VideoKey04", "VideoKey08"})
            EXPECT_TRUE(Widget(p.main(), on)->isEnabled()) << on;
        ASSERT_TRUE(WaitUntil([&] { return p.Text("Label4") == "Frame 1 of 10"; }));
        if (sixteen) {
            // The full preview open during a run takes the source frames; what is written still
            // comes from the decoded frames alone.
            Press("VideoKey08");
            Click(Widget(p.main(), "Image1"));
            ASSERT_TRUE(p.windows().preview->isVisible());
        }
        p.script().Ok();
        ASSERT_TRUE(WaitUntil([&] { return !driver().running(); }, 10000));
        Settle();
        if (sixteen) {
            EXPECT_EQ(p.windows().preview->picture(), p.main().document().video().frame);
            QTest::keyClick(p.windows().preview.get(), Qt::Key_Escape);
            EXPECT_TRUE(p.main().isVisible());
        }
        EXPECT_EQ(CountShown(p.script(), "Conversion successfull"), 1);
        EXPECT_EQ(p.Text("Label4"), "");
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "4");
        EXPECT_TRUE(Widget(p.main(), "VideoKey01")->isEnabled());
        // The ball went round to the right.
        EXPECT_EQ(Widget(p.main(), "ProgressBall")->pos(), QPoint(476, 576));

        const QString written = p.folder() + name + ".vid";
        VidReader reader;
        reader.open(ConversionState().colourTable, written.toStdString());
        EXPECT_EQ(reader.frameCount(), 10);
        EXPECT_EQ(reader.frameRate(), 12);
        EXPECT_EQ(reader.width(), sixteen ? 240 : 192);
        EXPECT_EQ(reader.height(), sixteen ? 90 : 144);
        EXPECT_EQ(reader.title(), "clip");  // the save dialog offers the video's name
        EXPECT_EQ(QFile(written).size(), 512 + 10 * reader.frameSize());

        // The core's run over the same marks and texts: frame k is source frame 4 + 2 k.
        Document core(MakeFfmpegFrameSource());
        OpenFileAs(core, clip.toStdString(), FileType::PcVideo, OpenOrigin::Chosen);
        core.video().startMark = 4;
        core.video().endMark = 24;
        VideoRunSettings settings;
        settings.sixteen = sixteen;
        settings.baseName = (p.folder() + "core" + name).toStdString();
        settings.title = reader.title();
        settings.information = reader.information();
        test::ScriptedAsker asker;
        VideoWriterRun run;
        run.start(core.state(), core.video(), asker, settings);
        while (run.tick(core.state(), core.video(), asker) == VideoWriterRun::Tick::Frame) {
        }
        EXPECT_EQ(ReadAll(written), ReadAll(QString::fromStdString(run.outputPath())));
    }
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST_F(VideoRun, PlayKeyStopsARunWithItsSplitPreview) {
    Press("VideoKey08");  // the preview: source and converted frame side by side
    StartRun("VideoKey14", "stopped");
    ASSERT_TRUE(driver().running());
    int written = 0;
    QObject::connect(&driver(), &VideoRunDriver::frameWritten, [&](int k) { written = k; });
    ASSERT_TRUE(WaitUntil([&] { return written >= 3; }));
    auto* image1 = p.main().findChild<PictureView*>("Image1");
    auto* image2 = p.main().findChild<PictureView*>("Image2");
    EXPECT_EQ(image1->geometry(), QRect(216, 152, 184, 132));
    EXPECT_EQ(image2->geometry(), QRect(400, 284, 184, 132));
    EXPECT_TRUE(image2->isVisible());
    EXPECT_EQ(image2->image().size(), QSize(192, 144));
    Screenshot(&p.main(), "main_video_run_split_preview");

    // A run refuses what would replace or end it.
    p.script().Ok();
    Press("Key20");
    EXPECT_EQ(p.script().shown.back().text,
              "Video conversion in progress. First you need terminate this process");
    DropFiles(&p.main(), {SamplePhoto()});
    Settle();
    EXPECT_EQ(p.main().document().state().currentFileName, clip.toStdString());

    p.script().Ok();
    const int before = written;
    Press("VideoKey04");
    // Stopped after at most the frame of the next tick.
    ASSERT_TRUE(WaitUntil([&] { return !driver().running(); }));
    Settle();
    EXPECT_LE(written, before + 1);
    EXPECT_EQ(CountShown(p.script(), "Conversion terminate by user"), 1);
    EXPECT_EQ(CountShown(p.script(), "Conversion successfull"), 0);
    QTest::qWait(250);  // no later tick tells anything more
    EXPECT_EQ(CountShown(p.script(), "Conversion terminate by user"), 1);

    const QString path = p.folder() + "stopped.vid";
    const QByteArray bytes = ReadAll(path);
    ASSERT_GE(bytes.size(), 512);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[11]), written);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[12]), 0);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[13]), 0);
    VidReader reader;
    reader.open(ConversionState().colourTable, path.toStdString());
    EXPECT_EQ(bytes.size(), 512 + written * reader.frameSize());
    EXPECT_EQ(p.Text("Label3"), "");
    EXPECT_EQ(p.Text("Label4"), QString("Frame %1 of %1").arg(written));
    EXPECT_FALSE(image2->isVisible());
    EXPECT_EQ(image1->geometry(), QRect(216, 152, 368, 264));
    EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "4");
    // The frame the run reached is on show and is the source.
    EXPECT_EQ(p.main().document().video().currentFrame, 2 * written);
    EXPECT_EQ(FrameNumberOf(p.main().shownImage()), 2 * written);
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST_F(VideoRun, CancelledOrFailedStartsLeaveNothingRunning) {
    // Cancel in the save dialog.
    StartRun("VideoKey14", "");
    EXPECT_FALSE(driver().running());
    EXPECT_FALSE(p.main().videoConversionRunning());
    EXPECT_FALSE(p.main().findChild<QTimer*>("MakeTimer")->isActive());
    EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "4");

    // The file cannot be created: the error, and still nothing running.
    FailNextOutputStep(OutputStep::kCreate, EACCES);
    p.script().Ok();
    StartRun("VideoKey13", "denied");
    Settle();
    EXPECT_EQ(p.script().shown.back().kind, MessageWindow::kError);
    EXPECT_FALSE(driver().running());
    EXPECT_FALSE(p.main().findChild<QTimer*>("Make16Timer")->isActive());
    EXPECT_FALSE(QFile::exists(p.folder() + "denied.vid"));

    // So the open key still opens.
    p.windows().open->setCurrentFolder(p.folder());
    PickInOpenDialog(p.windows().open.get(), "clip.avi");
    const std::size_t shown = p.script().shown.size();
    Press("Key20");
    EXPECT_EQ(p.script().shown.size(), shown) << "no refusal";
    EXPECT_EQ(p.Text("Label1"), ".AVI video\n\r00:00:02\n\r25 fps");
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST_F(VideoRun, AWriteFailureEndsTheRunWithItsErrorAndNoFile) {
    StartRun("VideoKey14", "full");
    ASSERT_TRUE(driver().running());
    int written = 0;
    QObject::connect(&driver(), &VideoRunDriver::frameWritten, [&](int k) { written = k; });
    ASSERT_TRUE(WaitUntil([&] { return written >= 2; }));
    // The disc fills up: the next frame cannot be written.
    FailNextOutputStep(OutputStep::kWrite, ENOSPC);
    p.script().Ok();
    ASSERT_TRUE(WaitUntil([&] { return !driver().running(); }));
    Settle();
    EXPECT_EQ(p.script().shown.back().kind, MessageWindow::kError);
    EXPECT_EQ(CountShown(p.script(), "Conversion successfull"), 0);
    EXPECT_FALSE(p.main().findChild<QTimer*>("MakeTimer")->isActive());
    EXPECT_FALSE(p.main().findChild<QTimer*>("ProgressTimer")->isActive());
    EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "4");
    // No half-written video is left, and the window goes on: the video keys work again.
    EXPECT_FALSE(QFile::exists(p.folder() + "full.vid"));
    EXPECT_FALSE(p.main().videoConversionRunning());
    EXPECT_TRUE(Widget(p.main(), "VideoKey05")->isEnabled());
    EXPECT_EQ(p.script().unexpected, 0);
}

}  // namespace
}  // namespace mozu::app_test
