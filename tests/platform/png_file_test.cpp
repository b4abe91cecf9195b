// PNG output: decoded again with libpng's own reader, pixel for pixel.

#include "media/png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "platform/binary_file.h"
#include "platform/io_error.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

// RGB bytes of a PNG file, through libpng's simplified reader.
std::vector<std::uint8_t> DecodeRgb(const std::vector<std::uint8_t>& bytes, int& w, int& h) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
    w = static_cast<int>(image.width);
    h = static_cast<int>(image.height);
    return rgb;
}

TEST(PngFileTest, EncodedPixelsDecodeToThePicture) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{37, 23}, std::pair{320, 200}}) {
        const Picture picture = test::RandomPicture(w, h, 7);
        int dw = 0, dh = 0;
        const std::vector<std::uint8_t> rgb = DecodeRgb(EncodePng(picture), dw, dh);
        ASSERT_EQ(dw, w);
        ASSERT_EQ(dh, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
                ASSERT_EQ(MakeColour(p[0], p[1], p[2]), picture.pixel(x, y)) << x << "," << y;
            }
    }
}

TEST(PngFileTest, EmptyPictureIsRefused) {
    EXPECT_THROW(EncodePng(Picture()), IoError);
}

TEST(PngFileTest, FailedWriteKeepsTheOldFile) {
    test::TempDir dir;
    const std::string path = dir / "old.png";
    dir.write("old.png", std::vector<std::uint8_t>(9, 0x55));
    FailNextOutputStep(OutputStep::kWrite, ENOSPC);
    EXPECT_THROW(WritePng(path, test::RandomPicture(8, 8, 1)), IoError);
    EXPECT_EQ(ReadWholeFile(path).size(), 9u);
    EXPECT_EQ(dir.files(), std::vector<std::string>{"old.png"});
}

}  // namespace
}  // namespace mozu
