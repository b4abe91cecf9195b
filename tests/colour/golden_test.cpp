#include <gtest/gtest.h>

#include <string>

#include "colour/count_colors.h"
#include "colour/dithering.h"
#include "colour/reference.h"
#include "colour/resize.h"
#include "media/image_loader.h"

namespace mozu {
namespace {

// The ditherers' output on the bundled photograph (640 x 400), pinned as FNV-1a 64 of the slot
// picture's size and bytes and palette positions 0-15, right after the ditherer (before any
// pen sorting or index round trip).
//
// How the expected values were verified: each was computed by the plain step-by-step versions
// in reference_helpers.cpp (pixel by pixel, shares in double, literal passes), which agree with
// the fast ditherers on the photograph and on random pictures; this test checks that agreement
// again on every run before it compares with the pinned value.
struct Golden {
    Slot slot;
    std::uint64_t checksum;
};
constexpr Golden kGolden[] = {
    {Slot::Mode0, 0x068927126ab4acb3ull},  {Slot::Mode1, 0x48c5e155b6061f10ull},
    {Slot::Mode2, 0x6b2cf659358d58cbull},  {Slot::SgxCpc, 0x8b66ae7840d31ee0ull},
    {Slot::SgxMsx, 0xbe13ffd1646b77d4ull},
};

TEST(Golden, DitheredSamplePhotograph) {
    Picture photo;
    LoadJpeg(std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg", photo);
    ASSERT_EQ(photo.width(), 640);
    ASSERT_EQ(photo.height(), 400);
    for (const Golden& g : kGolden) {
        ConversionState fast, plain;
        fast.sourceSlot = plain.sourceSlot = Slot::Source;
        const std::int32_t count = CountColors(fast, photo);
        std::array<Colour, 16> found{};
        ASSERT_EQ(count, reference::CountColors(photo, found));
        ASSERT_EQ(fast.foundColours, found);
        ASSERT_GT(count, 16);  // a photograph: dithered, never converted exactly

        Picture work = photo;
        ResizeBitmap(fast, work, g.slot);
        ASSERT_EQ(work, reference::ResizeBitmap(photo, g.slot, false));
        const bool grey = g.slot == Slot::Mode2 || g.slot == Slot::SgxCpc;
        if (grey) {
            DitheringCPCPalette(fast, work, g.slot);
            reference::DitheringCPCPalette(plain, work, g.slot);
        } else {
            DitheringCPCPalette2(fast, work, g.slot);
            reference::DitheringCPCPalette2(plain, work, g.slot);
        }
        const std::uint64_t sum = reference::SlotChecksum(fast, g.slot);
        EXPECT_EQ(sum, reference::SlotChecksum(plain, g.slot)) << "slot " << SlotNumber(g.slot);
        EXPECT_EQ(sum, g.checksum) << "slot " << SlotNumber(g.slot) << std::hex << " got 0x" << sum;
    }
}

}  // namespace
}  // namespace mozu
