#include <gtest/gtest.h>

#include <set>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/indexed.h"
#include "colour/reference.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

TEST(GreyDithering, UniformLuminance128BecomesWhiteForMode2) {
    ConversionState state;
    // 0.299 x 128 + 0.587 x 128 + 0.114 x 129 = 128.114: level 1 with no error.
    DitheringCPCPalette(state, Picture(320, 100, MakeColour(128, 128, 129)), Slot::Mode2);
    const Picture& slot = state.slots[Slot::Mode2];
    ASSERT_EQ(slot.width(), 640);
    ASSERT_EQ(slot.height(), 200);
    EXPECT_EQ(slot, Picture(640, 200, MakeColour(1, 0, 0)));  // the border too: level 1 wins
    EXPECT_EQ(state.palettes[Slot::Mode2][0], 1);
    EXPECT_EQ(state.palettes[Slot::Mode2][1], 8);
    Indexed2BMP(state, slot, state.slots[Slot::Mode2], Slot::Mode2);
    EXPECT_EQ(state.slots[Slot::Mode2], Picture(640, 200, MakeColour(255, 255, 255)));
}

TEST(GreyDithering, UniformBlackStaysBlack) {
    ConversionState state;
    DitheringCPCPalette(state, Picture(640, 200, MakeColour(0, 0, 0)), Slot::Mode2);
    EXPECT_EQ(state.slots[Slot::Mode2], Picture(640, 200, MakeColour(0, 0, 0)));
    Indexed2BMP(state, state.slots[Slot::Mode2], state.slots[Slot::Mode2], Slot::Mode2);
    EXPECT_EQ(state.slots[Slot::Mode2].pixel(320, 100), MakeColour(0, 0, 0));
}

TEST(GreyDithering, OnlyTheSourceAreaReachesTheIndexPicture) {
    // A white 10 x 10 source on the 320 x 200 canvas of the SymbOS four-colour slot: the scanned
    // margin right of and below it (pure red, level 1, pen 3) must not appear; the rest is the
    // background level.
    ConversionState state;
    DitheringCPCPalette(state, Picture(10, 10, MakeColour(255, 255, 255)), Slot::SgxCpc);
    const Picture& slot = state.slots[Slot::SgxCpc];
    ASSERT_EQ(slot.width(), 320);
    // White is level 3, pen 0; the margin (21 pixels) is level 1 and the background level 3.
    EXPECT_EQ(slot, Picture(320, 200, MakeColour(0, 0, 0)));
    for (std::size_t i = 0; i < 27; ++i) EXPECT_EQ(state.palettes[Slot::SgxCpc][i], i);
}

TEST(GreyDithering, VideoFramesUseLevel1AsBackground) {
    ConversionState state;
    DitheringCPCPalette(state, Picture(8, 6, MakeColour(0, 0, 0)), Slot::Video4);
    EXPECT_EQ(state.slots[Slot::Video4], Picture(8, 6, MakeColour(1, 0, 0)));  // level 0 is pen 1
}

TEST(PopularityDithering, BorderHasTheMostPopularColourAndPensFollowPopularity) {
    ConversionState state;
    Picture src(100, 100, MakeColour(0, 0, 255));
    for (int y = 0; y < 100; ++y)
        for (int x = 75; x < 100; ++x) src.setPixel(x, y, MakeColour(255, 0, 0));
    DitheringCPCPalette2(state, src, Slot::Mode0);
    const Picture& slot = state.slots[Slot::Mode0];
    ASSERT_EQ(slot.width(), 160);
    ASSERT_EQ(slot.height(), 200);
    EXPECT_EQ(slot.pixel(0, 0), MakeColour(0, 0, 255));
    EXPECT_EQ(slot.pixel(159, 199), MakeColour(0, 0, 255));
    EXPECT_EQ(slot.pixel(30 + 80, 50 + 10), MakeColour(255, 0, 0));  // CPC colours stay
    // Blue 7500 pixels, red 2500, white 201 (the margin), then the others by index.
    const std::uint8_t expected[16] = {7, 15, 8, 0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(state.palettes[Slot::Mode0][static_cast<std::size_t>(i)], expected[i]) << i;
    for (std::size_t i = 16; i < 27; ++i) EXPECT_EQ(state.palettes[Slot::Mode0][i], 0);
}

TEST(PopularityDithering, Slot10BorderIsOneOfTheSixteenPens) {
    // (128, 128, 0) is colour index 16, outside the sixteen colours of the MSX slot; its fold is
    // index 13, (128, 128, 128).
    ConversionState state;
    DitheringCPCPalette2(state, Picture(100, 100, MakeColour(128, 128, 0)), Slot::SgxMsx);
    const Picture& slot = state.slots[Slot::SgxMsx];
    ASSERT_EQ(slot.width(), 512);
    ASSERT_EQ(slot.height(), 212);
    EXPECT_EQ(slot.pixel(0, 0), MakeColour(128, 128, 128));
    std::set<Colour> sixteen;
    for (std::size_t i = 0; i < 16; ++i) sixteen.insert(state.colourTable[i]);
    for (int y = 0; y < slot.height(); ++y)
        for (int x = 0; x < slot.width(); ++x)
            ASSERT_TRUE(sixteen.count(slot.pixel(x, y))) << x << "," << y;
}

TEST(PopularityDithering, Slots10And11EndWithPens0To15) {
    for (Slot slot : {Slot::SgxMsx, Slot::SgxMsxFree}) {
        ConversionState state;
        state.palettes[slot].fill(9);
        DitheringCPCPalette2(state, test::SmoothPicture(90, 60, 5), slot);
        for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(state.palettes[slot][i], i);
        for (std::size_t i = 16; i < 27; ++i) EXPECT_EQ(state.palettes[slot][i], 0);
    }
}

TEST(Dithering, MatchesThePlainVersionsOnRandomPictures) {
    struct Case {
        Slot slot;
        int w, h;
    };
    const Case popularity[] = {{Slot::Mode0, 133, 200},     {Slot::Mode0, 17, 9},
                               {Slot::Mode1, 267, 200},     {Slot::Overscan0, 184, 150},
                               {Slot::Overscan1, 100, 264}, {Slot::SgxMsx, 512, 192},
                               {Slot::SgxMsxFree, 70, 40},  {Slot::Video16, 240, 90},
                               {Slot::Level0, 232, 264},    {Slot::Level1, 50, 30}};
    unsigned seed = 100;
    for (const Case& c : popularity)
        for (int kind = 0; kind < 2; ++kind) {
            const Picture src = kind ? test::RandomPicture(c.w, c.h, ++seed)
                                     : test::SmoothPicture(c.w, c.h, ++seed);
            ConversionState fast, plain;
            DitheringCPCPalette2(fast, src, c.slot);
            reference::DitheringCPCPalette2(plain, src, c.slot);
            ASSERT_EQ(fast.slots[c.slot], plain.slots[c.slot])
                << "slot " << SlotNumber(c.slot) << " kind " << kind;
            EXPECT_EQ(fast.palettes[c.slot], plain.palettes[c.slot]);
        }
    const Case grey[] = {{Slot::Mode2, 533, 200},     {Slot::Mode2, 640, 200},
                         {Slot::Overscan2, 100, 264}, {Slot::SgxCpc, 267, 200},
                         {Slot::SgxCpc, 3, 2},        {Slot::SgxCpcFree, 81, 47},
                         {Slot::Video4, 192, 144},    {Slot::Video4Wide, 224, 30}};
    for (const Case& c : grey)
        for (int kind = 0; kind < 2; ++kind) {
            const Picture src = kind ? test::RandomPicture(c.w, c.h, ++seed)
                                     : test::SmoothPicture(c.w, c.h, ++seed);
            ConversionState fast, plain;
            DitheringCPCPalette(fast, src, c.slot);
            reference::DitheringCPCPalette(plain, src, c.slot);
            ASSERT_EQ(fast.slots[c.slot], plain.slots[c.slot])
                << "slot " << SlotNumber(c.slot) << " kind " << kind;
            EXPECT_EQ(fast.palettes[c.slot], plain.palettes[c.slot]);
        }
}

}  // namespace
}  // namespace mozu

namespace mozu {
namespace {

TEST(Dithering, EmptyPicturesGiveTheBackgroundOnly) {
    for (Slot slot : {Slot::Mode0, Slot::Mode1, Slot::Overscan0, Slot::SgxMsx, Slot::SgxMsxFree,
                      Slot::Video16, Slot::Level0}) {
        ConversionState state;
        DitheringCPCPalette2(state, Picture(), slot);
        const Picture& out = state.slots[slot];
        if (!out.empty()) {
            EXPECT_EQ(out.pixel(0, 0), MakeColour(255, 255, 255)) << SlotNumber(slot);
        }
    }
    for (Slot slot : {Slot::Mode2, Slot::Overscan2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::Video4,
                      Slot::Video4Wide}) {
        ConversionState state;
        DitheringCPCPalette(state, Picture(), slot);
        const Picture& out = state.slots[slot];
        // Only the scanned red margin pixel (luminance 76) was counted: level 0 of two
        // (pen 0), level 1 of four (pen 3) everywhere.
        if (!out.empty()) {
            EXPECT_EQ(out.pixel(0, 0), MakeColour(slot == Slot::SgxCpc ? 3 : 0, 0, 0))
                << SlotNumber(slot);
        }
        EXPECT_EQ(out.empty(),
                  slot == Slot::SgxCpcFree || slot == Slot::Video4 || slot == Slot::Video4Wide)
            << SlotNumber(slot);
    }
}

}  // namespace
}  // namespace mozu
