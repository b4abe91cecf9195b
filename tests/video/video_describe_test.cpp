// What mozu-cli's info and export get for PC videos and SymbOS videos.

#include "video/video_describe.h"

#include <gtest/gtest.h>

#include "colour/conversion_state.h"
#include "platform/io_error.h"
#include "tests/support/ffmpeg_test_video.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_writer.h"
#include "video_test_support.h"

namespace mozu {
namespace {

TEST(VideoDescribe, PcVideo) {
    EXPECT_EQ(DescribePcVideo(VideoInfo{640, 480, 10000000, 400000, 2075}),
              "Video\n\r00:01:23\n\r25 fps\n\r640x480\n\r2075 frames");
    test::TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    const std::string path = dir / "clip.avi";
    QuietFfmpegLog();
    test::WriteTestVideo(path, recipe, test::PaintFrameNumber);
    auto source = MakeFfmpegFrameSource();
    EXPECT_EQ(DescribePcVideoFile(*source, path),
              "Video\n\r00:00:01\n\r25 fps\n\r64x48\n\r40 frames");
    const Picture frame = PcVideoFrame(*source, path, 17);
    EXPECT_EQ(frame.width(), 64);
    EXPECT_EQ(test::ReadFrameNumber(frame), 17);
    EXPECT_THROW(PcVideoFrame(*source, path, 40), IoError);
    EXPECT_THROW(DescribePcVideoFile(*source, dir / "none.avi"), IoError);
}

TEST(VideoDescribe, SymbosVideo) {
    test::TempDir dir;
    ConversionState state;
    VideoState video;
    video.source =
        std::make_unique<test::FakeFrameSource>(VideoInfo{320, 240, 10000000, 1000000, 30});
    OpenVideo(video, "fake.avi");
    test::ScriptedAsker asker{test::Otherwise::kYes};
    VideoWriterRun run;
    VideoRunSettings settings;
    settings.sixteen = true;
    settings.baseName = dir / "v";
    settings.title = "Title";
    settings.information = "Info";
    run.start(state, video, asker, settings);
    while (run.tick(state, video, asker) == VideoWriterRun::Tick::Frame) {
    }
    const std::string path = dir / "v.vid";
    EXPECT_EQ(
        DescribeVidFile(state.colourTable, path),
        "SymbOS video\n\r00:00:03\n\r10 fps\n\r16 colors\n\r240x90\n\r30 frames\n\rTitle\n\rInfo");
    const Picture frame = VidFileFrame(state.colourTable, path, 29);
    EXPECT_EQ(frame.width(), 240);
    EXPECT_EQ(frame.height(), 180);
    EXPECT_THROW(VidFileFrame(state.colourTable, path, 30), IoError);
}

}  // namespace
}  // namespace mozu
