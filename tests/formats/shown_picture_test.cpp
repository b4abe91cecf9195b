// Pixel shapes: a mode 0 pixel shows twice as wide, a mode 2 or MSX pixel twice as tall.

#include "formats/shown_picture.h"

#include <gtest/gtest.h>

#include "tests/support/pictures.h"

namespace mozu {
namespace {

TEST(ShownPictureTest, EachFileTypeHasItsModesShape) {
    EXPECT_EQ(PixelShapeOf(FileType::ScreenMode0).xf, 2);
    EXPECT_EQ(PixelShapeOf(FileType::ScreenMode0).yf, 1);
    EXPECT_EQ(PixelShapeOf(FileType::ScreenMode1).xf, 1);
    EXPECT_EQ(PixelShapeOf(FileType::ScreenMode1).yf, 1);
    EXPECT_EQ(PixelShapeOf(FileType::OverscanMode2).xf, 1);
    EXPECT_EQ(PixelShapeOf(FileType::OverscanMode2).yf, 2);
    EXPECT_EQ(PixelShapeOf(FileType::Sgx16).yf, 2);
    EXPECT_EQ(PixelShapeOf(FileType::Bmp).xf, 1);
    EXPECT_EQ(PixelShapeOf(FileType::Bmp).yf, 1);
}

TEST(ShownPictureTest, EveryPixelIsRepeatedToItsShape) {
    const Picture picture = test::RandomPicture(5, 3, 11);
    for (const PixelShape shape : {PixelShape{2, 1}, PixelShape{1, 2}, PixelShape{3, 2}}) {
        const Picture shown = AtPixelShape(picture, shape);
        ASSERT_EQ(shown.width(), 5 * shape.xf);
        ASSERT_EQ(shown.height(), 3 * shape.yf);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                ASSERT_EQ(shown.pixel(x, y), picture.pixel(x / shape.xf, y / shape.yf));
    }
    EXPECT_EQ(AtPixelShape(picture, PixelShape{1, 1}), picture);
}

}  // namespace
}  // namespace mozu
