// Whole conversion runs over a fake source: file sizes, header, frame mapping, stop, failures,
// and the round trip through the reader.

#include "video/vid_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "platform/binary_file.h"
#include "platform/io_error.h"
#include "video/vid_reader.h"
#include "video_test_support.h"

namespace mozu {
namespace {

class VideoWriterTest : public testing::Test {
  protected:
    void open(VideoInfo info) {
        auto source = std::make_unique<test::FakeFrameSource>(info);
        fake = source.get();
        video.source = std::move(source);
        OpenVideo(video, "fake.avi");
        fake->asked.clear();
    }
    VideoRunSettings settings(bool sixteen) const {
        VideoRunSettings s;
        s.sixteen = sixteen;
        s.baseName = base;
        s.title = "Clip";
        s.information = "Converted with Mozu 08/12/2026";
        return s;
    }
    // Ticks until the run ends; the pens of each written frame, in order.
    std::vector<Picture> runToEnd(VideoWriterRun& run) {
        std::vector<Picture> pens;
        for (int guard = 0; guard < 100000; ++guard) {
            const auto t = run.tick(state, video, asker);
            if (t == VideoWriterRun::Tick::Frame || t == VideoWriterRun::Tick::Stopped)
                pens.push_back(state.slots[run.plan().kind]);
            if (t != VideoWriterRun::Tick::Frame) break;
        }
        return pens;
    }
    std::vector<std::uint8_t> bytes() const { return ReadWholeFile(base + ".vid"); }

    test::TempDir dir;
    std::string base = dir / "clip";
    ConversionState state;
    VideoState video;
    test::FakeFrameSource* fake = nullptr;
    test::ScriptedAsker asker{test::Otherwise::kYes};
};

TEST_F(VideoWriterTest, FourColoursWholeRange) {
    open(VideoInfo{640, 480, 10000000, 400000, 100});
    VideoWriterRun run;
    run.start(state, video, asker, settings(false));
    EXPECT_TRUE(run.running());
    EXPECT_EQ(run.plan().kind, Slot::Video4);
    EXPECT_EQ(run.description(), "SymbOS video\n\r00:00:04\n\r12 fps\n\r");
    const auto pens = runToEnd(run);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(pens.size(), 50u);
    EXPECT_EQ(asker.notices, std::vector<std::string>{"Conversion successfull"});
    EXPECT_EQ(run.status(), "");

    const auto file = bytes();
    EXPECT_EQ(file.size(), 512u + 50u * 7168u);
    EXPECT_EQ(file[10], 12);
    EXPECT_EQ(file[11], 50);
    EXPECT_EQ(file[14] | file[15] << 8, 192);
    EXPECT_EQ(file[16] | file[17] << 8, 144);
    EXPECT_EQ(file[51] | file[52] << 8, 7168);
    EXPECT_EQ(std::string(file.begin() + 182, file.begin() + 186), "Clip");

    // Frame k is source frame 2k; the last (100, one past the end) is the last frame, 99.
    // Only the frames written are asked for: the skipped ones are never converted.
    std::vector<std::int32_t> expected;
    for (int k = 1; k <= 49; ++k) expected.push_back(2 * k);
    expected.push_back(99);
    EXPECT_EQ(fake->asked, expected);
    // The fill after each frame's 6912 bytes is zero.
    for (std::size_t i = 512 + 6912; i < 512 + 7168; ++i) ASSERT_EQ(file[i], 0) << i;
}

TEST_F(VideoWriterTest, SixteenColoursRoundTripsThroughTheReader) {
    open(VideoInfo{640, 480, 10000000, 400000, 60});
    video.startMark = 4;
    video.endMark = 20;
    VideoWriterRun run;
    run.start(state, video, asker, settings(true));
    EXPECT_EQ(run.plan().kind, Slot::Video16);
    const auto pens = runToEnd(run);
    ASSERT_EQ(pens.size(), 8u);
    EXPECT_EQ(fake->asked.front(), 6);
    EXPECT_EQ(fake->asked.back(), 20);

    const auto file = bytes();
    EXPECT_EQ(file.size(), 512u + 8u * 11264u);
    EXPECT_EQ(file[18], 7);
    EXPECT_EQ(file[246], 1);

    VidReader reader;
    reader.open(state.colourTable, base + ".vid");
    EXPECT_EQ(reader.width(), 240);
    EXPECT_EQ(reader.height(), 90);
    EXPECT_EQ(reader.frameCount(), 8);
    EXPECT_EQ(reader.frameRate(), 12);
    EXPECT_EQ(reader.title(), "Clip");
    EXPECT_EQ(reader.information(), "Converted with Mozu 08/12/2026");
    for (int f = 0; f < 8; ++f) {
        const Picture& shown = reader.decodeFrame(f);
        EXPECT_EQ(shown, VideoPensToColours(state.colourTable, pens[static_cast<std::size_t>(f)]))
            << "frame " << f;
    }
    // The frames differ from one another (the source's numbers show through).
    EXPECT_NE(pens[0], pens[1]);
}

TEST_F(VideoWriterTest, FourColoursRoundTripsThroughTheReader) {
    open(VideoInfo{1280, 720, 10000000, 1000000, 30});  // 10 fps: every frame
    video.endMark = 6;
    VideoWriterRun run;
    VideoRunSettings s = settings(false);
    s.autobalance = true;
    run.start(state, video, asker, s);
    EXPECT_EQ(run.plan().kind, Slot::Video4Wide);
    EXPECT_EQ(run.plan().width, 224);
    const auto pens = runToEnd(run);
    ASSERT_EQ(pens.size(), 6u);
    VidReader reader;
    reader.open(state.colourTable, base + ".vid");
    EXPECT_EQ(reader.frameRate(), 10);
    for (int f = 0; f < 6; ++f) {
        for (int y = 0; y < pens[0].height(); ++y)
            for (int x = 0; x < pens[0].width(); ++x)
                ASSERT_LE(pens[static_cast<std::size_t>(f)].pixel(x, y), 3u);
        EXPECT_EQ(reader.decodeFrame(f),
                  VideoPensToColours(state.colourTable, pens[static_cast<std::size_t>(f)]));
    }
}

TEST_F(VideoWriterTest, StopAfterSevenFramesRewritesTheCount) {
    open(VideoInfo{640, 480, 10000000, 400000, 100});
    VideoWriterRun run;
    run.start(state, video, asker, settings(false));
    for (int k = 1; k <= 6; ++k)
        ASSERT_EQ(run.tick(state, video, asker), VideoWriterRun::Tick::Frame);
    EXPECT_EQ(run.status(), "Frame 6 of 50");
    EXPECT_EQ(run.progressAngle(), 21);  // trunc(6 / 50 x 180)
    run.requestStop();
    EXPECT_EQ(run.tick(state, video, asker), VideoWriterRun::Tick::Stopped);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.status(), "Frame 7 of 7");
    EXPECT_EQ(run.description(), "");
    EXPECT_EQ(asker.notices, std::vector<std::string>{"Conversion terminate by user"});
    EXPECT_EQ(run.tick(state, video, asker), VideoWriterRun::Tick::Idle);

    const auto file = bytes();
    EXPECT_EQ(file.size(), 512u + 7u * 7168u);
    EXPECT_EQ(file[11], 7);
    EXPECT_EQ(file[12], 0);
    EXPECT_EQ(file[13], 0);
    VidReader reader;
    reader.open(state.colourTable, base + ".vid");
    EXPECT_EQ(reader.frameCount(), 7);
}

TEST_F(VideoWriterTest, RefusalsCreateNoFile) {
    open(VideoInfo{640, 480, 10000000, 400000, 100});
    VideoWriterRun run;
    video.startMark = 50;
    video.endMark = 40;
    EXPECT_THROW(run.start(state, video, asker, settings(false)), VideoRefused);
    video.startMark = 0;
    video.endMark = 1;  // closer than one step of 2
    EXPECT_THROW(run.start(state, video, asker, settings(false)), VideoRefused);
    EXPECT_FALSE(run.running());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    VideoState slow;
    slow.source =
        std::make_unique<test::FakeFrameSource>(VideoInfo{64, 48, 10000000, 20000000, 10});
    OpenVideo(slow, "slow.avi");  // half a frame a second: a whole-number rate of 0
    EXPECT_THROW(run.start(state, slow, asker, settings(false)), VideoRefused);

    VideoState tall;
    tall.source =
        std::make_unique<test::FakeFrameSource>(VideoInfo{64, 2000, 10000000, 400000, 10});
    OpenVideo(tall, "tall.avi");
    EXPECT_THROW(run.start(state, tall, asker, settings(false)), VideoRefused);

    VideoState closed;
    EXPECT_THROW(run.start(state, closed, asker, settings(false)), VideoRefused);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(asker.askedNothing());
}

TEST_F(VideoWriterTest, AFailureMidRunRemovesTheFileAndLeavesTheRunIdle) {
    open(VideoInfo{640, 480, 10000000, 400000, 100});
    { std::ofstream(base + ".vid") << "old video"; }
    fake->failAt = 8;
    VideoWriterRun run;
    run.start(state, video, asker, settings(false));
    EXPECT_EQ(asker.questions.size(), 1u);  // "File clip.vid exists ..." answered yes
    EXPECT_TRUE(asker.nameRequests.empty());
    for (int k = 1; k <= 3; ++k)
        ASSERT_EQ(run.tick(state, video, asker), VideoWriterRun::Tick::Frame);
    EXPECT_THROW(run.tick(state, video, asker), IoError);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.tick(state, video, asker), VideoWriterRun::Tick::Idle);
    // The old file is untouched and no temporary file is left behind.
    std::ifstream in(base + ".vid");
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "old video");
    EXPECT_EQ(dir.files(), std::vector<std::string>{"clip.vid"});
    // A new run can start at once.
    fake->failAt = -1;
    run.start(state, video, asker, settings(false));
    EXPECT_TRUE(run.running());
}

// The video writer failed at each of its file steps in turn (create, each frame's write, the
// frame count's rewrite, close, flush, rename), with a full disc and with an I/O error: the
// old video stays, no temporary file is left, the error carries the message window's text.
TEST_F(VideoWriterTest, FailedAtEachFileStepTheOldVideoStays) {
    open(VideoInfo{640, 480, 10000000, 400000, 24});
    const std::string old = "old video";
    const auto writeOld = [&] { std::ofstream(base + ".vid", std::ios::trunc) << old; };
    const auto runAll = [&] {
        VideoWriterRun run;
        run.start(state, video, asker, settings(true));
        runToEnd(run);
    };
    writeOld();
    FailOutputStepNumber(0, 0);
    runAll();
    const int steps = OutputStepsTaken();
    const auto made = bytes();
    ASSERT_GE(steps, 12 + 5);  // 12 frames written one by one, and the steps around them
    for (const int err : {ENOSPC, EIO}) {
        for (int step = 1; step <= steps; ++step) {
            SCOPED_TRACE("step " + std::to_string(step) + " errno " + std::to_string(err));
            writeOld();
            FailOutputStepNumber(step, err);
            try {
                runAll();
                ADD_FAILURE() << "the failed step went unnoticed";
            } catch (const IoError& e) {
                EXPECT_EQ(ErrorText(e.code()),
                          err == ENOSPC ? "Write error:Disc is full" : "Device write fault");
            }
            std::ifstream in(base + ".vid");
            std::string text;
            std::getline(in, text);
            EXPECT_EQ(text, old);
            EXPECT_EQ(dir.files(), std::vector<std::string>{"clip.vid"});
        }
    }
    FailOutputStepNumber(0, 0);
    runAll();
    EXPECT_EQ(bytes(), made);
}

TEST_F(VideoWriterTest, AFolderThatCannotTakeTheFileLeavesTheRunIdle) {
    open(VideoInfo{640, 480, 10000000, 400000, 100});
    VideoWriterRun run;
    VideoRunSettings s = settings(false);
    s.baseName = dir / "missing/clip";
    EXPECT_THROW(run.start(state, video, asker, s), IoError);
    EXPECT_FALSE(run.running());
}

TEST_F(VideoWriterTest, CommandsAskThenOpenTheDialog) {
    open(VideoInfo{640, 480, 10000000, 400000, 20});
    VideoWriterRun run;
    asker.otherwiseYes = false;
    int dialogs = 0;
    const bool cancelled = Make16Video(run, state, video, asker, [&]() {
        ++dialogs;
        return std::optional<VideoSaveAnswer>();
    });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(asker.questions, std::vector<std::string>{"Use autobalance for all frames?"});
    EXPECT_TRUE(asker.nameRequests.empty());
    EXPECT_FALSE(run.running());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    ASSERT_TRUE(Make4Video(run, state, video, asker, [&]() {
        return std::optional<VideoSaveAnswer>(
            VideoSaveAnswer{base, MakeVideoDescription("Rain", "")});
    }));
    runToEnd(run);
    const auto file = bytes();
    EXPECT_EQ(std::string(file.begin() + 182, file.begin() + 186), "Rain");
    EXPECT_EQ(file[186], 0);
    EXPECT_EQ(file[214], 0);
    EXPECT_EQ(file[18], 1);
}

}  // namespace
}  // namespace mozu
