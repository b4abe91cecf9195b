#include "editing/drawing.h"

#include <gtest/gtest.h>

#include "editing/art.h"
#include "support/pictures.h"

namespace mozu {
namespace {

using test::FromArt;
using test::kArtBackground;
using test::kArtFill;
using test::kArtPen;
using test::ToArt;

Picture Blank(int w, int h) {
    return Picture(w, h, kArtBackground);
}

TEST(DrawLine, SetsEveryPixelButTheEndPoint) {
    Picture p = Blank(5, 1);
    DrawLine(p, {0, 0}, {3, 0}, kArtPen, 1, DrawMode::Replace);
    EXPECT_EQ(ToArt(p), ToArt(FromArt({"###.."})));
}

TEST(DrawLine, CoversEveryOctantWithoutGaps) {
    // From the centre of a 9 x 9 picture to points in all eight octants: each line sets
    // max(|dx|, |dy|) pixels, one per step of the longer axis, starting at the centre.
    const PixelPoint c{4, 4};
    for (const PixelPoint end :
         {PixelPoint{8, 6}, PixelPoint{6, 8}, PixelPoint{2, 8}, PixelPoint{0, 6}, PixelPoint{0, 2},
          PixelPoint{2, 0}, PixelPoint{6, 0}, PixelPoint{8, 2}}) {
        Picture p = Blank(9, 9);
        DrawLine(p, c, end, kArtPen, 1, DrawMode::Replace);
        int set = 0;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) set += p.pixel(x, y) == kArtPen;
        const int steps = std::max(std::abs(end.x - c.x), std::abs(end.y - c.y));
        EXPECT_EQ(set, steps) << end.x << "," << end.y << ToArt(p);
        EXPECT_EQ(p.pixel(c.x, c.y), kArtPen);
        EXPECT_EQ(p.pixel(end.x, end.y), kArtBackground);
    }
    Picture p = Blank(6, 4);
    DrawLine(p, {0, 0}, {5, 3}, kArtPen, 1, DrawMode::Replace);
    EXPECT_EQ(ToArt(p), ToArt(FromArt({"#.....", ".##...", "...##.", "......"})));
}

TEST(DrawLine, WidePenHasRoundEndsAndClipsAtTheEdges) {
    Picture p = Blank(9, 7);
    DrawLine(p, {2, 3}, {6, 3}, kArtPen, 3, DrawMode::Replace);
    EXPECT_EQ(ToArt(p), ToArt(FromArt({".........", ".........", ".#######.", ".#######.",
                                       ".#######.", ".........", "........."})));
    Picture q = Blank(4, 4);
    DrawLine(q, {-5, 0}, {0, 0}, kArtPen, 4, DrawMode::Replace);  // mostly off the picture
    EXPECT_EQ(ToArt(q), ToArt(FromArt({"##..", "#...", "....", "...."})));
}

TEST(DrawRectangle, OutlineFillAndWidth) {
    ShapeStyle style{kArtPen, kArtFill, 1, true, true};
    Picture p = Blank(6, 5);
    DrawRectangle(p, {5, 4}, {0, 0}, style, DrawMode::Replace);  // corners in any order
    EXPECT_EQ(ToArt(p), ToArt(FromArt({"#####.", "#ooo#.", "#ooo#.", "#####.", "......"})));

    style.width = 2;
    style.filled = false;
    Picture q = Blank(7, 6);
    DrawRectangle(q, {0, 0}, {6, 6}, style, DrawMode::Replace);
    EXPECT_EQ(ToArt(q),
              ToArt(FromArt({"######.", "######.", "##..##.", "##..##.", "######.", "######."})));

    style.outline = false;
    style.filled = true;
    Picture r = Blank(4, 3);
    DrawRectangle(r, {1, 0}, {3, 2}, style, DrawMode::Replace);
    EXPECT_EQ(ToArt(r), ToArt(FromArt({".oo.", ".oo.", "...."})));

    Picture empty = Blank(3, 3);
    DrawRectangle(empty, {1, 1}, {1, 2}, style, DrawMode::Replace);  // no columns: nothing
    EXPECT_EQ(empty, Blank(3, 3));
}

TEST(DrawEllipse, InscribedAndSymmetric) {
    ShapeStyle style{kArtPen, kArtFill, 1, true, true};
    Picture p = Blank(8, 6);
    DrawEllipse(p, {0, 0}, {8, 6}, style, DrawMode::Replace);
    EXPECT_EQ(
        ToArt(p),
        ToArt(FromArt({"..####..", ".#oooo#.", "#oooooo#", "#oooooo#", ".#oooo#.", "..####.."})));
    // Larger ellipses mirror exactly about both axes of their rectangle.
    for (const PixelPoint size : {PixelPoint{31, 17}, PixelPoint{40, 40}, PixelPoint{9, 26}}) {
        for (const int width : {1, 3}) {
            Picture e = Blank(size.x + 4, size.y + 4);
            style.width = width;
            DrawEllipse(e, {2, 2}, {2 + size.x, 2 + size.y}, style, DrawMode::Replace);
            for (int y = 0; y < e.height(); ++y)
                for (int x = 0; x < e.width(); ++x) {
                    const int mx = 2 + 2 + size.x - 1 - x, my = 2 + 2 + size.y - 1 - y;
                    if (mx < 0 || my < 0 || mx >= e.width() || my >= e.height()) continue;
                    ASSERT_EQ(e.pixel(x, y), e.pixel(mx, y)) << x << "," << y << ToArt(e);
                    ASSERT_EQ(e.pixel(x, y), e.pixel(x, my)) << x << "," << y << ToArt(e);
                }
            EXPECT_EQ(e.pixel(0, 0), kArtBackground);
            EXPECT_EQ(e.pixel(2 + size.x / 2, 2), kArtPen);  // touches the top edge
        }
    }
}

TEST(DrawPreview, InvertingTwiceGivesThePictureBack) {
    const Picture original = test::RandomPicture(40, 30, 7);
    Picture p = original;
    ShapeStyle style{MakeColour(12, 200, 99), MakeColour(250, 3, 40), 4, true, true};
    DrawEllipse(p, {3, 2}, {38, 29}, style, DrawMode::Invert);
    DrawLine(p, {-3, 5}, {50, 22}, MakeColour(1, 2, 3), 7, DrawMode::Invert);
    EXPECT_NE(p, original);
    DrawLine(p, {-3, 5}, {50, 22}, MakeColour(1, 2, 3), 7, DrawMode::Invert);
    DrawEllipse(p, {3, 2}, {38, 29}, style, DrawMode::Invert);
    EXPECT_EQ(p, original);
    // The inverted colour is NOT (pixel XOR colour).
    Picture one(1, 1, MakeColour(0x0F, 0xF0, 0x55));
    DrawRectangle(one, {0, 0}, {1, 1}, {MakeColour(0xFF, 0x0F, 0x50), 0, 1, true, true},
                  DrawMode::Invert);
    EXPECT_EQ(one.pixel(0, 0), MakeColour(0x0F, 0x00, 0xFA));
}

TEST(FloodFill, StaysInsideAOnePixelWall) {
    Picture p = FromArt({"..#...", "..#...", "..#...", "###...", "......"});
    EXPECT_EQ(FloodFill(p, {0, 0}, kArtFill), 6);
    EXPECT_EQ(ToArt(p), ToArt(FromArt({"oo#...", "oo#...", "oo#...", "###...", "......"})));
    // A diagonal gap is no way through: neighbours are horizontal and vertical only.
    Picture d = FromArt({".#...", "#....", "....."});
    EXPECT_EQ(FloodFill(d, {0, 0}, kArtFill), 1);
    EXPECT_EQ(FloodFill(d, {0, 0}, kArtFill), 0);  // already the colour
    EXPECT_EQ(FloodFill(d, {-1, 0}, kArtFill), 0);
}

TEST(FloodFill, FillsAWholePictureWithWindingShapes) {
    Picture p = Blank(640, 400);
    EXPECT_EQ(FloodFill(p, {320, 200}, kArtPen), 640L * 400L);
    EXPECT_EQ(p, Picture(640, 400, kArtPen));
    // A spiral-like comb: every other column walled except at alternating ends.
    Picture comb = FromArt({".#...#.", ".#.#.#.", ".#.#.#.", "...#..."});
    FloodFill(comb, {0, 0}, kArtFill);
    EXPECT_EQ(ToArt(comb), ToArt(FromArt({"o#ooo#o", "o#o#o#o", "o#o#o#o", "ooo#ooo"})));
}

TEST(PaletteChanges, ReplaceAndExchangeInOnePass) {
    const Colour key = MakeColour(254, 254, 254);  // may be a colour of the picture itself
    Picture p = FromArt({"#o.", "o#."});
    p.setPixel(2, 1, key);
    ExchangeColours(p, kArtPen, kArtFill);
    EXPECT_EQ(p.pixel(0, 0), kArtFill);
    EXPECT_EQ(p.pixel(1, 0), kArtPen);
    EXPECT_EQ(p.pixel(2, 1), key);
    EXPECT_EQ(p.pixel(2, 0), kArtBackground);
    ReplaceColour(p, kArtFill, kArtPen);
    EXPECT_EQ(ToArt(p), "\n##.\n##?\n");
}

}  // namespace
}  // namespace mozu
