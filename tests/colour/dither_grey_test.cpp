#include <gtest/gtest.h>

#include <random>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/dithering_paths.h"
#include "colour/reference.h"
#include "common/kernel_path_test.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

// Every test runs on each path of the grey ditherer (level counts, pen spreading) that the
// processor has, against the plain version.
class GreyDitheringLuminance : public KernelPathTest<GreyPath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(GreyDitheringLuminance, GreyPath);
class GreyDitheringRows : public KernelPathTest<GreyPath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(GreyDitheringRows, GreyPath);

// Grey pixels (R = G = B = v) have a luminance sum of exactly 1000 v thousandths; there the
// computation in double may fall just below v, and the ditherer must follow it rather than
// the whole number. Greys and near-greys, also brightened by the diffusion up to 255, against
// the plain version for both level counts.
TEST_P(GreyDitheringLuminance, WholeThousandthsFollowTheDoubleComputation) {
    int belowWhole = 0;
    for (int v = 0; v < 256; ++v) belowWhole += LuminanceOf(v, v, v) != v;
    ASSERT_GT(belowWhole, 0);  // the case exists, so the pictures below reach it

    std::mt19937 random(5);
    for (Slot slot : {Slot::Mode2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::Video4Wide}) {
        Picture src(97, 61);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) {
                const int v = static_cast<int>(random() % 256);
                const int nudge = random() % 4 == 0 ? static_cast<int>(random() % 3) : 0;
                src.setPixel(x, y, MakeColour(v, v, std::min(255, v + nudge)));
            }
        ConversionState fast, plain;
        DitheringCPCPalette(fast, src, slot);
        reference::DitheringCPCPalette(plain, src, slot);
        EXPECT_EQ(fast.slots[slot], plain.slots[slot]) << "slot " << SlotNumber(slot);
    }
}

// The levels are counted and turned into pens sixteen at a time on the vector paths: rows
// shorter than, around and a few times sixteen pixels, on fixed-size canvases (a scanned
// margin column and row) and free-size ones.
TEST_P(GreyDitheringRows, MatchThePlainVersionAroundSixteenPixels) {
    const int widths[] = {1, 2, 15, 16, 17, 31, 32, 33, 48, 63};
    unsigned seed = 40;
    for (Slot slot : {Slot::Mode2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::Video4Wide})
        for (int w : widths) {
            const Picture src =
                w % 2 ? test::RandomPicture(w, 5, ++seed) : test::SmoothPicture(w, 4, ++seed);
            ConversionState fast, plain;
            DitheringCPCPalette(fast, src, slot);
            reference::DitheringCPCPalette(plain, src, slot);
            ASSERT_EQ(fast.slots[slot], plain.slots[slot])
                << "slot " << SlotNumber(slot) << ", width " << w;
            ASSERT_EQ(fast.palettes[slot], plain.palettes[slot]) << "slot " << SlotNumber(slot);
        }
}

// A picture wider than a fixed-size canvas is cut on both sides, so a row's pens start inside
// its levels. The plain version has no room for such a picture; the portable path is the
// yardstick here.
TEST_P(GreyDitheringRows, PicturesWiderThanTheCanvasMatchThePortablePath) {
    if (path() == GreyPath::Portable) GTEST_SKIP() << "the portable path is the yardstick";
    // 343 x 210 on the 320 x 200 canvas of slot 8 and 657 x 203 on the 640 x 200 of slot 2.
    struct Wide {
        Slot slot;
        int w, h, canvasWidth;
    };
    const Wide wide[] = {{Slot::SgxCpc, 343, 210, 320}, {Slot::Mode2, 657, 203, 640}};
    unsigned seed = 60;
    for (const Wide& c : wide) {
        const Picture src = test::SmoothPicture(c.w, c.h, ++seed);
        ConversionState fast, portable;
        DitheringCPCPalette(fast, src, c.slot);
        {
            ScopedKernelPath<GreyPath> plain(GreyPath::Portable);
            DitheringCPCPalette(portable, src, c.slot);
        }
        ASSERT_EQ(fast.slots[c.slot].width(), c.canvasWidth);
        EXPECT_EQ(fast.slots[c.slot], portable.slots[c.slot]) << "slot " << SlotNumber(c.slot);
        EXPECT_EQ(fast.palettes[c.slot], portable.palettes[c.slot])
            << "slot " << SlotNumber(c.slot);
    }
}

}  // namespace
}  // namespace mozu
