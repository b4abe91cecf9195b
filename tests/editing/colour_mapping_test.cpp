#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "colour/colour_table.h"
#include "editing/colour_mapping.h"
#include "support/pictures.h"

namespace mozu {
namespace {

Colour Table(int index) {
    return kDefaultColourTable[static_cast<std::size_t>(index)];
}

// Slot 0's palette: the sixteen colours 0-15 of the table (luminance in brackets):
// 0 (240), 1 black (0), 2 (151), 3 dark red (38), 4 (178), 5 (14), 6 (142), 7 (29), 8 white
// (255), 9 (75), 10 (149), 11 (105), 12 (225), 13 grey (127), 14 (165), 15 (76).
std::vector<Colour> Mode0Palette() {
    std::vector<Colour> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(Table(i));
    return palette;
}

// Slot 1's palette, deliberately not in brightness order: white, black, grey, dark red.
std::vector<Colour> Mode1Palette() {
    return {Table(8), Table(1), Table(13), Table(3)};
}

// A block holding each colour of `colours` in one pixel, in that order.
Picture Swatches(const std::vector<Colour>& colours) {
    Picture block(static_cast<int>(colours.size()), 1);
    for (std::size_t i = 0; i < colours.size(); ++i)
        block.setPixel(static_cast<int>(i), 0, colours[i]);
    return block;
}

std::set<Colour> ColoursOf(const Picture& picture) {
    std::set<Colour> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    return colours;
}

TEST(SortColors, DarkestFirstAndEqualLuminancesKeepTheirOrder) {
    // (1, 0, 0) has luminance 0, as black has.
    std::vector<Colour> colours = {Table(13), MakeColour(1, 0, 0), Table(1), Table(8), Table(3)};
    SortColors(colours);
    EXPECT_EQ(colours,
              (std::vector<Colour>{MakeColour(1, 0, 0), Table(1), Table(3), Table(13), Table(8)}));
}

TEST(PasteColours, SixteenToFourMapsEachRunOfFourDarkestToOneColour) {
    const std::vector<Colour> mode0 = Mode0Palette();
    Picture block = Swatches(mode0);
    std::vector<Colour> clipboardPalette = mode0;
    MapPasteColours(block, Slot::Mode0, clipboardPalette, Slot::Mode1, Mode1Palette());
    // The clipboard palette is kept sorted.
    EXPECT_EQ(clipboardPalette.front(), Table(1));
    EXPECT_EQ(clipboardPalette.back(), Table(8));
    const Colour black = Table(1), darkRed = Table(3), grey = Table(13), white = Table(8);
    const Colour expected[16] = {white, black,   grey, black,   white, black,   grey, black,
                                 white, darkRed, grey, darkRed, white, darkRed, grey, darkRed};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(block.pixel(i, 0), expected[i]) << "colour " << i;
    EXPECT_EQ(ColoursOf(block).size(), 4u);
}

TEST(PasteColours, FourToSixteenKeepsTheOrderOnTheFourDarkest) {
    Picture block = Swatches(Mode1Palette());
    std::vector<Colour> clipboardPalette = Mode1Palette();
    MapPasteColours(block, Slot::Mode1, clipboardPalette, Slot::Mode0, Mode0Palette());
    // Black, dark red, grey and white become slot 0's four darkest: black, 5, 7 and dark red.
    // White becomes dark red and dark red itself becomes colour 5: each pixel is mapped once.
    EXPECT_EQ(block.pixel(0, 0), Table(3));  // white
    EXPECT_EQ(block.pixel(1, 0), Table(1));  // black
    EXPECT_EQ(block.pixel(2, 0), Table(7));  // grey
    EXPECT_EQ(block.pixel(3, 0), Table(5));  // dark red
}

TEST(PasteColours, ThePcPictureKeepsABlockAndGivesNearestColours) {
    const Picture random = test::RandomPicture(30, 20, 41);
    // Into slot 255: the block keeps its colours, whatever it came from.
    Picture block = random;
    std::vector<Colour> fromMode1 = Mode1Palette();
    MapPasteColours(block, Slot::Mode1, fromMode1, Slot::Source, std::vector<Colour>{Table(0)});
    EXPECT_EQ(block, random);

    // From slot 255 (whose palette is one colour) into slot 1: each colour to the nearest.
    block = random;
    std::vector<Colour> fromSource = {Table(0)};
    MapPasteColours(block, Slot::Source, fromSource, Slot::Mode1, Mode1Palette());
    const std::vector<Colour> mode1 = Mode1Palette();
    const std::set<Colour> allowed(mode1.begin(), mode1.end());
    for (Colour c : ColoursOf(block)) EXPECT_TRUE(allowed.count(c)) << c;
    Picture reddish(1, 1, MakeColour(250, 10, 10));
    MapPasteColours(reddish, Slot::Source, fromSource, Slot::Mode1, Mode1Palette());
    EXPECT_EQ(reddish.pixel(0, 0), Table(3));  // dark red: 122 + 10 + 10
}

TEST(PasteColours, AColourOutsideTheCopiedPaletteTakesTheNearestPen) {
    std::vector<Colour> colours = Mode1Palette();
    colours.push_back(MakeColour(10, 250, 5));
    Picture block = Swatches(colours);
    std::vector<Colour> clipboardPalette = Mode1Palette();
    MapPasteColours(block, Slot::Mode1, clipboardPalette, Slot::Mode0, Mode0Palette());
    EXPECT_EQ(block.pixel(4, 0), Table(10));  // bright green
}

TEST(PasteColours, ASystemClipboardImageGetsOnlyTheSlotsColours) {
    Picture image = test::SmoothPicture(64, 48, 42);
    MapToNearestColours(image, Mode1Palette());
    const std::set<Colour> colours = ColoursOf(image);
    EXPECT_LE(colours.size(), 4u);
    EXPECT_GE(colours.size(), 2u);
    for (Colour c : colours)
        EXPECT_TRUE(c == Table(8) || c == Table(1) || c == Table(13) || c == Table(3));
    // Ties go to the first palette colour; an empty palette changes nothing.
    EXPECT_EQ(NearestColour(MakeColour(64, 64, 64), std::vector<Colour>{Table(13), Table(1)}),
              Table(13));
    Picture untouched = test::RandomPicture(5, 5, 43);
    const Picture before = untouched;
    MapToNearestColours(untouched, {});
    EXPECT_EQ(untouched, before);
}

TEST(PasteColours, TargetsForUnevenRunsTakeTheLightestForTheRemainder) {
    const std::vector<Colour> from = {1, 2, 3}, to = {10, 20};
    EXPECT_EQ(PasteColourTargets(from, to), (std::vector<Colour>{10, 20, 20}));
    const std::vector<Colour> sixteen(16, 0), two = {10, 20};
    const std::vector<Colour> targets = PasteColourTargets(sixteen, two);
    EXPECT_EQ(targets[7], 10u);
    EXPECT_EQ(targets[8], 20u);
}

}  // namespace
}  // namespace mozu
