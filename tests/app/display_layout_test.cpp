// Where the main window shows a picture of each file type or slot.
#include "app/display_layout.h"

#include <gtest/gtest.h>

namespace mozu {
namespace {

TEST(DisplayLayout, FixedPlaces) {
    for (Slot t :
         {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::SgxCpc, Slot::Level0, Slot::Level1}) {
        const DisplayLayout l = GetDisplayLayout(t, 160, 200);
        EXPECT_TRUE(l.draws && l.placesControl && l.stretched) << SlotNumber(t);
        EXPECT_EQ(l.left, 240);
        EXPECT_EQ(l.top, 184);
        EXPECT_EQ(l.width, 320);
        EXPECT_EQ(l.height, 200);
        EXPECT_EQ(l.pictureWidth, 160);
    }
    for (Slot t : {Slot::Overscan0, Slot::Overscan1, Slot::Overscan2}) {
        const DisplayLayout l = GetDisplayLayout(t, 184, 264);
        EXPECT_EQ(l.left, 216);
        EXPECT_EQ(l.top, 152);
        EXPECT_EQ(l.width, 368);
        EXPECT_EQ(l.height, 264);
        EXPECT_TRUE(l.stretched);
    }
    const DisplayLayout nine = GetDisplayLayout(Slot::SgxCpcFree, 100, 50);
    EXPECT_FALSE(nine.stretched);
    EXPECT_TRUE(nine.proportional);
    EXPECT_EQ(nine.width, 368);
    const DisplayLayout ten = GetDisplayLayout(Slot::SgxMsx, 512, 212);
    EXPECT_EQ(ten.left, 250);
    EXPECT_EQ(ten.top, 160);
    EXPECT_EQ(ten.width, 300);
    EXPECT_EQ(ten.height, 248);
}

TEST(DisplayLayout, SixteenColourGraphicsFitTheBoxWithLinesDoubled) {
    // 368 x 132: s = 1, the whole box.
    DisplayLayout l = GetDisplayLayout(Slot::SgxMsxFree, 368, 132);
    EXPECT_EQ(l.width, 368);
    EXPECT_EQ(l.height, 264);
    EXPECT_EQ(l.left, 216);
    EXPECT_EQ(l.top, 152);
    // 184 x 33: s = max(0.5, 0.25) = 0.5: 368 x 132, centred vertically.
    l = GetDisplayLayout(Slot::SgxMsxFree, 184, 33);
    EXPECT_EQ(l.width, 368);
    EXPECT_EQ(l.height, 132);
    EXPECT_EQ(l.left, 216);
    EXPECT_EQ(l.top, 152 + 66);
    // 92 x 264: s = max(0.25, 2) = 2: 46 x 264, centred horizontally.
    l = GetDisplayLayout(Slot::SgxMsxFree, 92, 264);
    EXPECT_EQ(l.width, 46);
    EXPECT_EQ(l.height, 264);
    EXPECT_EQ(l.left, 216 + 161);
    EXPECT_FALSE(GetDisplayLayout(Slot::SgxMsxFree, 0, 10).draws);
}

TEST(DisplayLayout, VideoFramesAndNothing) {
    DisplayLayout l = GetDisplayLayout(Slot::Video4, 192, 120);
    EXPECT_TRUE(l.draws);
    EXPECT_FALSE(l.placesControl);
    EXPECT_EQ(l.pictureWidth, 192);
    EXPECT_EQ(l.pictureHeight, 120);
    l = GetDisplayLayout(Slot::Video16, 240, 100);
    EXPECT_TRUE(l.draws && l.linesDoubled && l.stretched);
    EXPECT_FALSE(l.placesControl);
    EXPECT_EQ(l.pictureHeight, 200);
    // 23 is the number of no slot at all.
    for (Slot t : {Slot::Unused3, Slot::Unused7, Slot::Unused12, Slot::Video4Wide,
                   Slot::Video16Wide, Slot::Unused17, Slot::Unused18, Slot::Unused19,
                   Slot::Unused22, SlotFromNumber(23), Slot::Source})
        EXPECT_FALSE(GetDisplayLayout(t, 10, 10).draws) << SlotNumber(t);
}

}  // namespace
}  // namespace mozu
