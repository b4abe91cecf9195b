#include <gtest/gtest.h>

#include "colour/colour_ops.h"
#include "colour/convert_image.h"
#include "colour/count_colors.h"
#include "colour/indexed.h"

namespace mozu {
namespace {

// Paints the picture in vertical stripes of the given colours.
Picture Stripes(int w, int h, std::initializer_list<Colour> colours) {
    Picture p(w, h);
    const std::size_t n = colours.size();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, colours.begin()[static_cast<std::size_t>(x) % n]);
    return p;
}

// The exact-colour flow of a conversion command: count, convert, pens and back.
void ExactFlow(ConversionState& state, const Picture& work, Slot slot) {
    state.sourceColourCount = CountColors(state, work);
    Picture& slotPicture = state.slots[slot];
    ConvertImage(state, work, slotPicture, slot);
    BMP2Indexed(state, slotPicture, slotPicture, Slot::Source);
    Indexed2BMP(state, slotPicture, slotPicture, slot);
}

TEST(ConvertImage, CpcColoursConvertUnchangedAndPensSortByLuminance) {
    ConversionState state;
    const Colour magenta = MakeColour(255, 0, 255), red = MakeColour(255, 0, 0),
                 darkGreen = MakeColour(0, 128, 0), black = MakeColour(0, 0, 0);
    const Picture work = Stripes(320, 200, {magenta, red, darkGreen, black});
    ExactFlow(state, work, Slot::Mode1);
    EXPECT_EQ(state.slots[Slot::Mode1], work);
    // Found order (green, red, blue): black, red, magenta, dark green: indexes 1, 15, 11, 9.
    EXPECT_EQ(state.palettes[Slot::Mode1][0], 1);
    EXPECT_EQ(state.palettes[Slot::Mode1][1], 15);
    EXPECT_EQ(state.palettes[Slot::Mode1][2], 11);
    EXPECT_EQ(state.palettes[Slot::Mode1][3], 9);
    // Luminances 0, 76, 105, 75: dark green moves before red.
    ColourSequence(state, Slot::Mode1, 3);
    EXPECT_EQ(state.palettes[Slot::Mode1][0], 1);
    EXPECT_EQ(state.palettes[Slot::Mode1][1], 9);
    EXPECT_EQ(state.palettes[Slot::Mode1][2], 15);
    EXPECT_EQ(state.palettes[Slot::Mode1][3], 11);
    for (std::size_t i = 4; i < 27; ++i) EXPECT_EQ(state.palettes[Slot::Mode1][i], i);
}

TEST(ConvertImage, ClosestSourceColourKeepsAContestedCpcColour) {
    // Found colour 0 = (180, 0, 0): multiples of 3 leave it, red is above both others and is
    // raised to ClampToByte(270) = 255, levels give (255, 0, 0) = index 15; its own distance to
    // it 75. Found colour 1 = (250, 5, 0): (249, 3, 0), red raised to 255, levels (255, 0, 0)
    // again; own distance 5 + 5 = 10. Colour 1 is closer and keeps index 15. Colour 0 drops it; its
    // next candidate by distance from (255, 0, 0) is index 3 (128, 0, 0) at 127 (index 2
    // (255, 128, 0) and 19 (255, 0, 128) follow at 128).
    ConversionState state;
    const Colour a = MakeColour(180, 0, 0), b = MakeColour(250, 5, 0);
    const Picture work = Stripes(100, 50, {a, b});
    state.sourceColourCount = CountColors(state, work);
    ASSERT_EQ(state.foundColours[0], a);
    ASSERT_EQ(state.foundColours[1], b);
    ConvertImage(state, work, state.slots[Slot::Mode0], Slot::Mode0);
    EXPECT_EQ(state.palettes[Slot::Mode0][0], 3);
    EXPECT_EQ(state.palettes[Slot::Mode0][1], 15);
    // The canvas is 160 x 200 in the colour of position 0, the source unchanged at its centre.
    const Picture& out = state.slots[Slot::Mode0];
    ASSERT_EQ(out.width(), 160);
    ASSERT_EQ(out.height(), 200);
    EXPECT_EQ(out.pixel(0, 0), MakeColour(128, 0, 0));
    EXPECT_EQ(out.pixel(30, 75), a);  // (160 - 100) / 2 = 30, (200 - 50) / 2 = 75
    EXPECT_EQ(out.pixel(31, 75), b);
    EXPECT_EQ(out.pixel(29, 75), MakeColour(128, 0, 0));

    // With the order of the lists swapped the result follows the colours, not the positions.
    ConversionState swapped;
    swapped.sourceColourCount = 2;
    swapped.foundColours[0] = b;
    swapped.foundColours[1] = a;
    ConvertImage(swapped, work, swapped.slots[Slot::Mode0], Slot::Mode0);
    EXPECT_EQ(swapped.palettes[Slot::Mode0][0], 15);
    EXPECT_EQ(swapped.palettes[Slot::Mode0][1], 3);
}

TEST(ConvertImage, ThreeWayConflictResolvesOneColourAtATime) {
    // Three near-reds all approximate (255, 0, 0) (index 15). Own distances to it: (180, 0, 0)
    // 75, (240, 0, 0) 15, (250, 5, 0) 10: the last keeps 15, the other two drop it and both
    // move to index 3 (128, 0, 0), the next by distance from (255, 0, 0) (127). Their own
    // distances to (128, 0, 0) are 52 and 112: (180, 0, 0) keeps 3 and (240, 0, 0) moves on
    // to index 2 (255, 128, 0) (distance 128, before index 19 at 128 by index order).
    ConversionState state;
    state.sourceColourCount = 3;
    state.foundColours[0] = MakeColour(180, 0, 0);
    state.foundColours[1] = MakeColour(240, 0, 0);
    state.foundColours[2] = MakeColour(250, 5, 0);
    Picture dst;
    ConvertImage(state, Picture(2, 2), dst, Slot::Mode1);
    EXPECT_EQ(state.palettes[Slot::Mode1][0], 3);
    EXPECT_EQ(state.palettes[Slot::Mode1][1], 2);
    EXPECT_EQ(state.palettes[Slot::Mode1][2], 15);
}

TEST(ConvertImage, TwoColoursForSlot8BecomeBlackAndTheBrightestColour) {
    ConversionState state;
    // Luminances: (200, 10, 200) 88, (0, 50, 0) 29. Neither is among indexes 0-3. The brighter
    // one comes first in the found colours (green 10 before 50).
    const Colour bright = MakeColour(200, 10, 200), dark = MakeColour(0, 50, 0);
    const Picture work = Stripes(100, 40, {bright, dark});
    ExactFlow(state, work, Slot::SgxCpc);
    EXPECT_EQ(state.palettes[Slot::SgxCpc][0], 1);
    EXPECT_EQ(state.palettes[Slot::SgxCpc][1], 0);
    EXPECT_EQ(state.palettes[Slot::SgxCpc][2], 2);
    EXPECT_EQ(state.palettes[Slot::SgxCpc][3], 3);
    const Picture& out = state.slots[Slot::SgxCpc];
    ASSERT_EQ(out.width(), 320);
    ASSERT_EQ(out.height(), 200);
    EXPECT_EQ(out.pixel(110, 80), MakeColour(255, 255, 128));  // bright, at (110, 80)
    EXPECT_EQ(out.pixel(111, 80), MakeColour(0, 0, 0));        // dark
    EXPECT_EQ(out.pixel(0, 0), MakeColour(0, 0, 0));           // border: position 0
}

TEST(ConvertImage, FreeSizeSlotsMakeOnlyThePalette) {
    ConversionState state;
    state.sourceColourCount = 1;
    state.foundColours[0] = MakeColour(0, 0, 0);
    Picture dst(3, 3, MakeColour(9, 9, 9));
    ConvertImage(state, Picture(5, 5), dst, Slot::SgxCpcFree);
    EXPECT_EQ(dst, Picture(3, 3, MakeColour(9, 9, 9)));
    EXPECT_EQ(state.palettes[Slot::SgxCpcFree][0], 1);
    // The MSX slots may use colours 0-15 only: (128, 255, 255) (index 26) is no exact match. Its
    // approximation is itself; (128, 128, 255) (index 6) and white (index 8) are both 127 away,
    // (0, 255, 255) 128: the lower index 6 wins the tie.
    state.foundColours[0] = MakeColour(128, 255, 255);
    ConvertImage(state, Picture(5, 5), dst, Slot::SgxMsxFree);
    EXPECT_EQ(state.palettes[Slot::SgxMsxFree][0], 6);
}

}  // namespace
}  // namespace mozu
