// The FFmpeg frame source over small videos made here with FFmpeg's own encoders.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

extern "C" {
#include <libavutil/log.h>
}

#include "platform/io_error.h"
#include "tests/support/ffmpeg_test_video.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video_test_support.h"

namespace mozu {
namespace {

struct Case {
    const char* file;
    const char* encoder;
    int bFrames;
};

std::string CaseName(const testing::TestParamInfo<Case>& info) {
    std::string name = std::string(info.param.encoder) + "_" + info.param.file;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

class VidframeTest : public testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        if (!test::HasVideoEncoder(GetParam().encoder))
            GTEST_SKIP() << "no encoder " << GetParam().encoder;
        recipe.encoder = GetParam().encoder;
        recipe.maxBFrames = GetParam().bFrames;
        recipe.frames = 100;  // far enough for jumps that seek rather than decode on
        // The RealVideo encoder's predicted pictures lag behind a sudden change of the blocks:
        // key frames only.
        if (recipe.encoder == "rv20") recipe.gop = 1;
        av_log_set_level(AV_LOG_FATAL);
        path = dir / (GetParam().file);
        test::WriteTestVideo(path, recipe, test::PaintFrameNumber);
        source = MakeFfmpegFrameSource();
    }
    std::vector<std::uint8_t> frame(int index) {
        std::vector<std::uint8_t> buffer(
            static_cast<std::size_t>(recipe.width * recipe.height * 3));
        source->decodeFrame(index, buffer);
        return buffer;
    }

    test::TempDir dir;
    test::TestVideoRecipe recipe;  // 64 x 48 at 25 fps, a key frame every 10
    std::string path;
    std::unique_ptr<VideoFrameSource> source;
};

TEST_P(VidframeTest, ReportsTheVideoInfo) {
    const VideoInfo info = source->open(path);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 48);
    EXPECT_EQ(info.timeBase, 10000000);
    EXPECT_EQ(info.frameDuration, 400000);
    EXPECT_EQ(info.timeBase / info.frameDuration, 25);
    EXPECT_EQ(info.frameCount, 100);
}

TEST_P(VidframeTest, EveryFrameIsTheSameWhateverTheOrderOfAccess) {
    const VideoInfo info = source->open(path);
    std::vector<std::vector<std::uint8_t>> sequential;
    for (int i = 0; i < info.frameCount; ++i) {
        sequential.push_back(frame(i));
        ASSERT_EQ(test::ReadFrameNumber(sequential.back(), 64, 48), i) << "frame " << i;
    }
    std::vector<int> order(static_cast<std::size_t>(info.frameCount));
    for (int i = 0; i < info.frameCount; ++i) order[static_cast<std::size_t>(i)] = i;
    std::mt19937 random(7);
    std::shuffle(order.begin(), order.end(), random);
    order.insert(order.end(), {99, 0, 99, 98, 5, 5, 4, 21, 19, 20, 95, 3, 80, 2});
    for (const int i : order) {
        const auto bytes = frame(i);
        ASSERT_EQ(test::ReadFrameNumber(bytes, 64, 48), i);
        ASSERT_EQ(bytes, sequential[static_cast<std::size_t>(i)]) << "frame " << i;
    }

    // A fresh source reached by one jump gives the same bytes as well.
    auto other = MakeFfmpegFrameSource();
    other->open(path);
    std::vector<std::uint8_t> buffer(sequential[0].size());
    other->decodeFrame(33, buffer);
    EXPECT_EQ(buffer, sequential[33]);
}

TEST_P(VidframeTest, IndexesOutsideTheVideoAreErrorsAndTheSourceGoesOn) {
    const VideoInfo info = source->open(path);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(64 * 48 * 3));
    try {
        source->decodeFrame(info.frameCount, buffer);
        FAIL() << "no error past the end";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kReadPastEnd);
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_THROW(source->decodeFrame(-1, buffer), IoError);
    EXPECT_EQ(test::ReadFrameNumber(frame(12), 64, 48), 12);
}

// The picture is written straight, top row first: the same bytes as the bottom-up buffer,
// at any position and after jumps, and a picture of another size is given the video's.
TEST_P(VidframeTest, APictureIsTheBufferTurnedTheRightWayUp) {
    source->open(path);
    auto other = MakeFfmpegFrameSource();
    other->open(path);
    Picture picture(3, 5);
    std::vector<std::uint8_t> scratch;
    for (const int i : {0, 1, 2, 50, 7, 99, 98, 31}) {
        other->decodePicture(i, picture, scratch);
        ASSERT_EQ(picture.width(), 64);
        ASSERT_EQ(picture.height(), 48);
        const std::vector<std::uint8_t> bottomUp = frame(i);
        for (int y = 0; y < 48; ++y)
            ASSERT_TRUE(std::equal(picture.row(y), picture.row(y) + picture.stride(),
                                   bottomUp.begin() + (47 - y) * 64 * 3))
                << "frame " << i << " row " << y;
        EXPECT_EQ(test::ReadFrameNumber(picture), i);
    }
    EXPECT_TRUE(scratch.empty());  // no buffer to turn over
}

INSTANTIATE_TEST_SUITE_P(
    Containers, VidframeTest,
    testing::Values(Case{"clip.avi", "mpeg4", 2}, Case{"clip.mpg", "mpeg2video", 2},
                    Case{"clip.mov", "mjpeg", 0}, Case{"clip.mkv", "mpeg4", 2},
                    Case{"clip.wmv", "wmv2", 0}, Case{"clip.ts", "mpeg2video", 2},
                    Case{"clip.vob", "mpeg2video", 2}, Case{"clip.rm", "rv20", 0},
                    Case{"clip.mp4", "libx264", 3}),
    CaseName);

TEST(VidframeErrors, MissingFileNamesTheFile) {
    test::TempDir dir;
    auto source = MakeFfmpegFrameSource();
    const std::string path = dir / "nothing.avi";
    try {
        source->open(path);
        FAIL() << "opened a missing file";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kFileNotFound);
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    }
}

TEST(VidframeErrors, FilesWithoutPicturesAreRefused) {
    test::TempDir dir;
    auto source = MakeFfmpegFrameSource();
    const std::string text = dir / "notes.avi";
    std::ofstream(text) << "these are not the frames you are looking for\n";
    EXPECT_THROW(source->open(text), IoError);
    std::vector<std::uint8_t> buffer(16);
    EXPECT_THROW(source->decodeFrame(0, buffer), IoError);  // nothing open
}

TEST(VidframeErrors, ATruncatedVideoGivesRealFramesOrErrors) {
    test::TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    const std::string path = dir / "cut.avi";
    av_log_set_level(AV_LOG_FATAL);
    test::WriteTestVideo(path, recipe, test::PaintFrameNumber);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    auto source = MakeFfmpegFrameSource();
    VideoInfo info;
    try {
        info = source->open(path);
    } catch (const IoError&) {
        return;  // refusing the file is a clear answer too
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(info.width * info.height * 3));
    for (int i = 0; i < info.frameCount; ++i) {
        try {
            source->decodeFrame(i, buffer);
            // Whatever is delivered is a frame of the video, never one from beyond its data.
            EXPECT_LE(test::ReadFrameNumber(buffer, info.width, info.height), i);
        } catch (const IoError&) {
        }
    }
}

}  // namespace
}  // namespace mozu

namespace mozu {
namespace {

TEST(VidframeErrors, DamagedDataNeitherCrashesNorHangs) {
    test::TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.maxBFrames = 2;
    const std::string path = dir / "damaged.avi";
    av_log_set_level(AV_LOG_QUIET);
    test::WriteTestVideo(path, recipe, test::PaintFrameNumber);
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        std::mt19937 random(3);
        const auto size = static_cast<long>(std::filesystem::file_size(path));
        for (int i = 0; i < 40; ++i) {
            f.seekp(size / 4 + static_cast<long>(random() % static_cast<unsigned>(size / 2)));
            f.put(static_cast<char>(random()));
        }
    }
    auto source = MakeFfmpegFrameSource();
    VideoInfo info;
    try {
        info = source->open(path);
    } catch (const IoError&) {
        return;
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(info.width * info.height * 3));
    int delivered = 0;
    for (const int i : {0, 39, 10, 25, 5, 38, 20, 21, 22}) {
        if (i >= info.frameCount) continue;
        try {
            source->decodeFrame(i, buffer);
            ++delivered;
        } catch (const IoError&) {
        }
    }
    EXPECT_GT(delivered, 0);
}

}  // namespace
}  // namespace mozu

namespace mozu {
namespace {

// Raw frames come back exactly as painted (the bottom row first), so the fixtures that pin
// converted bytes rest on Mozu's own work only.
TEST(VidframeRaw, RawFramesDecodeToThePaintedPixels) {
    test::TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "rawvideo";
    recipe.width = 13;
    recipe.height = 7;
    recipe.frames = 4;
    const auto paint = [](int frame, Picture& p) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y, MakeColour(x * 19 + frame, y * 37, (x ^ y) * 11 + frame * 3));
    };
    const std::string path = dir / "raw.avi";
    test::WriteTestVideo(path, recipe, paint);
    const auto source = MakeFfmpegFrameSource();
    const VideoInfo& info = source->open(path);
    ASSERT_EQ(info.frameCount, 4);
    std::vector<std::uint8_t> buffer(13 * 7 * 3);
    for (int frame : {3, 0, 2}) {
        source->decodeFrame(frame, buffer);
        Picture painted(13, 7);
        paint(frame, painted);
        for (int y = 0; y < 7; ++y)
            ASSERT_TRUE(std::equal(painted.row(y), painted.row(y) + painted.stride(),
                                   buffer.begin() + static_cast<std::ptrdiff_t>((6 - y) * 39)))
                << "frame " << frame << " row " << y;
    }
}

}  // namespace
}  // namespace mozu
