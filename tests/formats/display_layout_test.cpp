// Where the main window shows a picture of each file type.
#include <gtest/gtest.h>

#include "formats/cpc_file_reader.h"
#include "formats/display_layout.h"

namespace mozu {
namespace {

TEST(DisplayLayout, FixedPlaces) {
    for (int t : {0, 1, 2, 8, 20, 21}) {
        const DisplayLayout l = GetDisplayLayout(t, 160, 200);
        EXPECT_TRUE(l.draws && l.placesControl && l.stretched) << t;
        EXPECT_EQ(l.left, 240);
        EXPECT_EQ(l.top, 184);
        EXPECT_EQ(l.width, 320);
        EXPECT_EQ(l.height, 200);
        EXPECT_EQ(l.pictureWidth, 160);
    }
    for (int t : {4, 5, 6}) {
        const DisplayLayout l = GetDisplayLayout(t, 184, 264);
        EXPECT_EQ(l.left, 216);
        EXPECT_EQ(l.top, 152);
        EXPECT_EQ(l.width, 368);
        EXPECT_EQ(l.height, 264);
        EXPECT_TRUE(l.stretched);
    }
    const DisplayLayout nine = GetDisplayLayout(9, 100, 50);
    EXPECT_FALSE(nine.stretched);
    EXPECT_TRUE(nine.proportional);
    EXPECT_EQ(nine.width, 368);
    const DisplayLayout ten = GetDisplayLayout(10, 512, 212);
    EXPECT_EQ(ten.left, 250);
    EXPECT_EQ(ten.top, 160);
    EXPECT_EQ(ten.width, 300);
    EXPECT_EQ(ten.height, 248);
}

TEST(DisplayLayout, SixteenColourGraphicsFitTheBoxWithLinesDoubled) {
    // 368 x 132: s = 1, the whole box.
    DisplayLayout l = GetDisplayLayout(11, 368, 132);
    EXPECT_EQ(l.width, 368);
    EXPECT_EQ(l.height, 264);
    EXPECT_EQ(l.left, 216);
    EXPECT_EQ(l.top, 152);
    // 184 x 33: s = max(0.5, 0.25) = 0.5: 368 x 132, centred vertically.
    l = GetDisplayLayout(11, 184, 33);
    EXPECT_EQ(l.width, 368);
    EXPECT_EQ(l.height, 132);
    EXPECT_EQ(l.left, 216);
    EXPECT_EQ(l.top, 152 + 66);
    // 92 x 264: s = max(0.25, 2) = 2: 46 x 264, centred horizontally.
    l = GetDisplayLayout(11, 92, 264);
    EXPECT_EQ(l.width, 46);
    EXPECT_EQ(l.height, 264);
    EXPECT_EQ(l.left, 216 + 161);
    EXPECT_FALSE(GetDisplayLayout(11, 0, 10).draws);
}

TEST(DisplayLayout, VideoFramesAndNothing) {
    DisplayLayout l = GetDisplayLayout(13, 192, 120);
    EXPECT_TRUE(l.draws);
    EXPECT_FALSE(l.placesControl);
    EXPECT_EQ(l.pictureWidth, 192);
    EXPECT_EQ(l.pictureHeight, 120);
    l = GetDisplayLayout(15, 240, 100);
    EXPECT_TRUE(l.draws && l.linesDoubled && l.stretched);
    EXPECT_FALSE(l.placesControl);
    EXPECT_EQ(l.pictureHeight, 200);
    for (int t : {3, 7, 12, 14, 16, 17, 18, 19, 22, 23, 255})
        EXPECT_FALSE(GetDisplayLayout(t, 10, 10).draws) << t;
}

TEST(DisplayLayout, Image5SizesAndDescriptions) {
    EXPECT_EQ(Image5Size(0, 160, 200).width, 320);
    EXPECT_EQ(Image5Size(2, 640, 200).width, 640);
    EXPECT_EQ(Image5Size(5, 368, 264).width, 368);
    EXPECT_EQ(Image5Size(6, 736, 264).width, 736);
    EXPECT_EQ(Image5Size(11, 77, 33).height, 33);
    EXPECT_EQ(CpcFileDescription(255, 0, 0), "Undefined");
    EXPECT_EQ(CpcFileDescription(11, 512, 212), "SymbOS image\n\r512x212\n\r16 colors");
    EXPECT_EQ(CpcFileDescription(3, 0, 0), "");
}

}  // namespace
}  // namespace mozu
