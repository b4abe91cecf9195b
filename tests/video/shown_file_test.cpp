// What a Mozu file shows: pictures in their palette's colours at their mode's pixel shape,
// SymbOS video frames as the preview shows them; anything else refused.

#include "video/shown_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "colour/conversion_state.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "platform/io_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"
#include "video/vid_writer.h"
#include "video_test_support.h"

namespace mozu {
namespace {

constexpr Colour kBlack = MakeColour(0, 0, 0);
constexpr Colour kWhite = MakeColour(255, 255, 255);

// Pen 1 (firmware colour 26, bright white) where x / 3 + y is odd, pen 0 (firmware 0, black)
// elsewhere.
int PenAt(int x, int y) {
    return (x / 3 + y) % 2;
}

std::string WriteScreenFile(const test::TempDir& dir, int mode, const std::string& name) {
    const int width = 160 << mode;
    std::vector<std::uint8_t> pens(static_cast<std::size_t>(width) * 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < width; ++x)
            pens[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(PenAt(x, y));
    std::array<std::uint8_t, 16> palette{};
    palette[1] = 26;
    test::WriteBytes(dir / name, BuildScreenFile(mode, pens, palette, "SHOWN"));
    return dir / name;
}

TEST(ShownFile, ScreenFilesShowTheirPensAtTheModesShape) {
    test::TempDir dir;
    const std::string mode0 = WriteScreenFile(dir, 0, "m0.rim");
    Picture shown = ShownFile(kDefaultColourTable, mode0, FileType::ScreenMode0);
    ASSERT_EQ(shown.width(), 320);  // two screen pixels across for each mode 0 pixel
    ASSERT_EQ(shown.height(), 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(shown.pixel(x, y), PenAt(x / 2, y) ? kWhite : kBlack) << x << "," << y;
    const Picture raw = ShownFile(kDefaultColourTable, mode0, FileType::ScreenMode0, {0, true});
    EXPECT_EQ(raw.width(), 160);
    EXPECT_EQ(raw.pixel(3, 0), kWhite);

    const std::string mode2 = WriteScreenFile(dir, 2, "m2.rim");
    shown = ShownFile(kDefaultColourTable, mode2, FileType::ScreenMode2);
    ASSERT_EQ(shown.width(), 640);
    ASSERT_EQ(shown.height(), 400);  // every line twice
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(shown.pixel(x, y), PenAt(x, y / 2) ? kWhite : kBlack) << x << "," << y;
}

TEST(ShownFile, SixteenColourGraphicsShowPenKInColourK) {
    test::TempDir dir;
    const int w = 10, h = 3;
    std::vector<std::uint8_t> pens(w * h);
    for (int i = 0; i < w * h; ++i) pens[i] = static_cast<std::uint8_t>(i % 16);
    test::WriteBytes(dir / "g.sgx", BuildSgxFile(pens, w, h, true));
    const Picture shown = ShownFile(kDefaultColourTable, dir / "g.sgx", FileType::Sgx16);
    ASSERT_EQ(shown.width(), w);
    ASSERT_EQ(shown.height(), 2 * h);  // MSX pixels are twice as tall
    for (int y = 0; y < 2 * h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(shown.pixel(x, y), kDefaultColourTable[pens[(y / 2) * w + x]]);
}

TEST(ShownFile, SixteenColourVideoFramesHaveTheirLinesDoubledUnlessRaw) {
    test::TempDir dir;
    ConversionState state;
    VideoState video;
    video.source =
        std::make_unique<test::FakeFrameSource>(VideoInfo{320, 240, 10000000, 1000000, 4});
    OpenVideo(video, "fake.avi");
    test::ScriptedAsker asker{test::Otherwise::kYes};
    VideoWriterRun run;
    VideoRunSettings settings;
    settings.sixteen = true;
    settings.baseName = dir / "v";
    run.start(state, video, asker, settings);
    while (run.tick(state, video, asker) == VideoWriterRun::Tick::Frame) {
    }
    const Picture shown = ShownFile(kDefaultColourTable, dir / "v.vid", FileType::Video16);
    const Picture raw = ShownFile(kDefaultColourTable, dir / "v.vid", FileType::Video16, {1, true});
    const Picture rawFirst =
        ShownFile(kDefaultColourTable, dir / "v.vid", FileType::Video16, {0, true});
    ASSERT_EQ(shown.width(), 240);
    ASSERT_EQ(raw.height(), 90);
    ASSERT_EQ(shown.height(), 180);
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 240; ++x) ASSERT_EQ(shown.pixel(x, y), rawFirst.pixel(x, y / 2));
    EXPECT_THROW(ShownFile(kDefaultColourTable, dir / "v.vid", FileType::Video16, {4}), IoError);
}

TEST(ShownFile, OtherTypesAndFilesNotWhatTheirTypeSaysAreRefused) {
    test::TempDir dir;
    const std::string mode0 = WriteScreenFile(dir, 0, "m0.rim");
    auto codeOf = [&](const std::string& path, FileType type) {
        try {
            ShownFile(kDefaultColourTable, path, type);
        } catch (const IoError& e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(codeOf(mode0, FileType::ScreenMode1), io::kInvalidData);
    EXPECT_EQ(codeOf(mode0, FileType::Bmp), io::kInvalidData);
    EXPECT_EQ(codeOf(mode0, FileType::HeadedScreen), io::kInvalidData);
    std::vector<std::uint8_t> bytes = test::ReadBytes(mode0);
    bytes.resize(5000);
    test::WriteBytes(dir / "cut0.rim", bytes);
    EXPECT_EQ(codeOf(dir / "cut0.rim", FileType::ScreenMode0), io::kReadPastEnd);
}

}  // namespace
}  // namespace mozu
