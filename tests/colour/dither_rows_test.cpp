#include <gtest/gtest.h>

#include "colour/bin_diffusion.h"
#include "colour/dithering.h"
#include "colour/dithering_paths.h"
#include "colour/reference.h"
#include "common/kernel_path_test.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

// Every test runs on each path of the popularity ditherer (bin counts, row loading, shares
// from above) that the processor has, against the plain version.
class PopularityDitheringRows : public KernelPathTest<PopularityPath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(PopularityDitheringRows, PopularityPath);
class BinDiffusion : public KernelPathTest<PopularityPath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(BinDiffusion, PopularityPath);

// The popularity ditherer scans several rows side by side, a group of 16 pixels at a time,
// each row some groups behind the one above, and pads the rows to whole groups. These sizes
// put the white margin column at the start, the end and the middle of a group, give rows of
// one to a few groups (rows that start only after the row above has finished), rows long
// enough for a lag above the minimum, and picture heights below and around the number of work
// rows kept.
TEST_P(PopularityDitheringRows, MatchesThePlainVersionAtGroupEdges) {
    const int widths[] = {1, 2, 14, 15, 16, 17, 31, 32, 47, 48, 63, 100, 159};
    const int heights[] = {1, 2, 3, 4, 5, 9};
    unsigned seed = 700;
    for (int w : widths)
        for (int h : heights) {
            const Picture src =
                (w + h) % 2 ? test::RandomPicture(w, h, ++seed) : test::SmoothPicture(w, h, ++seed);
            ConversionState fast, plain;
            DitheringCPCPalette2(fast, src, Slot::Mode0);
            reference::DitheringCPCPalette2(plain, src, Slot::Mode0);
            ASSERT_EQ(fast.slots[Slot::Mode0], plain.slots[Slot::Mode0]) << w << " x " << h;
            ASSERT_EQ(fast.palettes[Slot::Mode0], plain.palettes[Slot::Mode0]) << w << " x " << h;
        }
}

TEST_P(PopularityDitheringRows, MatchesThePlainVersionOnLongRowsAndFreeSizes) {
    struct Case {
        Slot slot;
        int w, h;
    };
    // 199, 255 and 383 + 1 cells make 13, 16 and 24 groups: the lag between rows grows past
    // its minimum so that no more rows are under way than are kept.
    const Case cases[] = {{Slot::SgxMsxFree, 199, 21}, {Slot::SgxMsxFree, 255, 8},
                          {Slot::Level0, 383, 13},     {Slot::Video16Wide, 16, 40},
                          {Slot::Video16, 1, 30},      {Slot::Level1, 2, 1},
                          {Slot::SgxMsx, 512, 7}};
    unsigned seed = 900;
    for (const Case& c : cases) {
        const Picture src = test::SmoothPicture(c.w, c.h, ++seed);
        ConversionState fast, plain;
        DitheringCPCPalette2(fast, src, c.slot);
        reference::DitheringCPCPalette2(plain, src, c.slot);
        ASSERT_EQ(fast.slots[c.slot], plain.slots[c.slot])
            << "slot " << SlotNumber(c.slot) << ", " << c.w;
        ASSERT_EQ(fast.palettes[c.slot], plain.palettes[c.slot]) << "slot " << SlotNumber(c.slot);
    }
}

TEST_P(PopularityDitheringRows, PictureLargerThanTheCanvasIsCutOnBothSides) {
    // 171 x 211 on the 160 x 200 canvas of mode 0: offsets of -5 on both axes.
    const Picture src = test::RandomPicture(171, 211, 31, 40);
    ConversionState fast, plain;
    DitheringCPCPalette2(fast, src, Slot::Mode0);
    reference::DitheringCPCPalette2(plain, src, Slot::Mode0);
    ASSERT_EQ(fast.slots[Slot::Mode0].width(), 160);
    ASSERT_EQ(fast.slots[Slot::Mode0].height(), 200);
    EXPECT_EQ(fast.slots[Slot::Mode0], plain.slots[Slot::Mode0]);
}

TEST_P(BinDiffusion, DrawsOnlyTheDitheredAreaAndKeepsTheRest) {
    // Every bin mapped to black, a 3 x 2 grey picture drawn at (2, 1) of a 6 x 4 picture
    // filled with (1, 2, 3): exactly the 3 x 2 area turns black.
    BinTargets black{};
    Picture out(6, 4, MakeColour(3, 2, 1));
    DiffuseToBinTargets(Picture(3, 2, MakeColour(100, 100, 100)), black, out, 2, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool drawn = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(out.pixel(x, y), drawn ? MakeColour(0, 0, 0) : MakeColour(3, 2, 1))
                << x << "," << y;
        }
    // Drawn partly outside on every side: what falls outside is cut, nothing is written past
    // the picture (the sanitizer build checks the last).
    Picture small(2, 2, MakeColour(3, 2, 1));
    DiffuseToBinTargets(Picture(4, 4, MakeColour(100, 100, 100)), black, small, -1, -1);
    EXPECT_EQ(small, Picture(2, 2, MakeColour(0, 0, 0)));
}

}  // namespace
}  // namespace mozu
