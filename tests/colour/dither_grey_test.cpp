#include <gtest/gtest.h>

#include <random>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/reference.h"

namespace mozu {
namespace {

// Grey pixels (R = G = B = v) have a luminance sum of exactly 1000 v thousandths; there the
// computation in double may fall just below v, and the ditherer must follow it rather than
// the whole number. Greys and near-greys, also brightened by the diffusion up to 255, against
// the plain version for both level counts.
TEST(GreyDitheringLuminance, WholeThousandthsFollowTheDoubleComputation) {
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

}  // namespace
}  // namespace mozu
