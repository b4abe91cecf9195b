#include <gtest/gtest.h>

#include "editing/block_paste.h"
#include "support/pictures.h"

namespace mozu {
namespace {

const Colour kWhite = MakeColour(255, 255, 255);

// The number of pixels of `picture` that differ from `before`.
int ChangedPixels(const Picture& before, const Picture& picture) {
    int changed = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            changed += picture.pixel(x, y) != before.pixel(x, y);
    return changed;
}

TEST(BlockPaste, AcrossEachEdgeOnlyThePixelsInsideAreWritten) {
    const Picture block = test::RandomPicture(10, 8, 31);
    const Picture blank(40, 30, kWhite);
    struct Case {
        int x, y;          // where the block's corner goes
        int bx, by, w, h;  // the part of the block inside the picture
    };
    for (const Case& c : {Case{-4, 5, 4, 0, 6, 8},      // left edge
                          Case{35, 5, 0, 0, 5, 8},      // right edge
                          Case{12, -6, 0, 6, 10, 2},    // top edge
                          Case{12, 27, 0, 0, 10, 3},    // bottom edge
                          Case{-3, -2, 3, 2, 7, 6},     // top left corner
                          Case{36, 25, 0, 0, 4, 5}}) {  // bottom right corner
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        for (bool transparent : {false, true}) {
            Picture picture = blank;
            // A transparent colour the random block does not hold writes every pixel as well.
            PutDownBlock(picture, block, c.x, c.y, {transparent, MakeColour(1, 2, 3)});
            EXPECT_EQ(picture.crop(c.x + c.bx, c.y + c.by, c.w, c.h),
                      block.crop(c.bx, c.by, c.w, c.h));
            EXPECT_EQ(ChangedPixels(blank, picture), c.w * c.h);
        }
    }
    // Wholly outside: nothing.
    Picture picture = blank;
    PutDownBlock(picture, block, 40, 0);
    PutDownBlock(picture, block, -10, -8);
    EXPECT_EQ(picture, blank);
}

TEST(BlockPaste, TransparentModeLeavesThePictureWhereTheBlockHasTheFillColour) {
    const Colour fill = MakeColour(0, 0, 128), other = MakeColour(255, 0, 0);
    Picture block(3, 2, fill);
    block.setPixel(1, 0, other);
    block.setPixel(2, 1, other);
    // Switched on with the fill colour current then; a later fill colour does not count.
    Transparency mode = ToggleTransparency({}, fill);
    EXPECT_TRUE(mode.on);
    EXPECT_EQ(mode.colour, fill);
    const Picture background = test::RandomPicture(6, 5, 32);
    Picture picture = background;
    PutDownBlock(picture, block, 2, 2, mode);
    EXPECT_EQ(picture.pixel(3, 2), other);
    EXPECT_EQ(picture.pixel(4, 3), other);
    EXPECT_EQ(ChangedPixels(background, picture), 2);
    // Pressed again it goes off: the block is written whole.
    mode = ToggleTransparency(mode, MakeColour(0, 255, 0));
    EXPECT_FALSE(mode.on);
    PutDownBlock(picture, block, 2, 2, mode);
    EXPECT_EQ(picture.crop(2, 2, 3, 2), block);
}

TEST(BlockPaste, StretchedPutDownSamplesWithoutBlending) {
    Picture block(2, 2);
    block.setPixel(0, 0, MakeColour(255, 0, 0));
    block.setPixel(1, 0, MakeColour(0, 255, 0));
    block.setPixel(0, 1, MakeColour(0, 0, 255));
    block.setPixel(1, 1, kWhite);
    Picture picture(8, 8, 0);
    PutDownStretched(picture, block, {2, 2, 6, 6});
    EXPECT_EQ(picture.pixel(2, 2), MakeColour(255, 0, 0));
    EXPECT_EQ(picture.pixel(3, 3), MakeColour(255, 0, 0));
    EXPECT_EQ(picture.pixel(4, 3), MakeColour(0, 255, 0));
    EXPECT_EQ(picture.pixel(3, 5), MakeColour(0, 0, 255));
    EXPECT_EQ(picture.pixel(5, 5), kWhite);
    EXPECT_EQ(picture.pixel(6, 6), 0u);
    // A target of the block's own size is the 1:1 put-down, clipped the same way.
    const Picture random = test::RandomPicture(9, 7, 33);
    Picture a(12, 10, kWhite), b(12, 10, kWhite);
    PutDownStretched(a, random, {-2, 5, 7, 12});
    PutDownBlock(b, random, -2, 5);
    EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace mozu
