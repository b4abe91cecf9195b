#include <gtest/gtest.h>

#include <utility>

#include "colour/reference.h"
#include "colour/resize.h"
#include "colour/slot_geometry.h"

namespace mozu {
namespace {

// A picture whose pixel tells where it came from: red = x mod 256, green = y mod 256, blue =
// x div 256 + 16 x (y div 256).
Picture CoordinatePicture(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, MakeColour(x & 255, y & 255, (x >> 8) + 16 * (y >> 8)));
    return p;
}
Colour At(int x, int y) {
    return MakeColour(x & 255, y & 255, (x >> 8) + 16 * (y >> 8));
}

TEST(Resize, PhotoOf640x480FitsTheModes) {
    ConversionState state;
    state.sourceSlot = Slot::Source;
    const Picture photo = CoordinatePicture(640, 480);
    struct Case {
        Slot slot;
        int w, h;
    };
    // Mode 0: fx = 2, fy = 2.4; mode 1 the same; mode 2: fx = 1, fy = 1.2.
    for (const Case c :
         {Case{Slot::Mode0, 133, 200}, Case{Slot::Mode1, 267, 200}, Case{Slot::Mode2, 533, 200}}) {
        Picture p = photo;
        ResizeBitmap(state, p, c.slot);
        EXPECT_EQ(p.width(), c.w) << SlotNumber(c.slot);
        EXPECT_EQ(p.height(), c.h) << SlotNumber(c.slot);
    }
    Picture p = photo;
    ResizeBitmap(state, p, Slot::Mode0);
    // Target (x, y) from (trunc(x x 640 / 133), trunc(y x 480 / 200)).
    EXPECT_EQ(p.pixel(0, 0), At(0, 0));
    EXPECT_EQ(p.pixel(1, 1), At(4, 2));          // 4.81, 2.4
    EXPECT_EQ(p.pixel(132, 199), At(635, 477));  // 635.19, 477.6
}

TEST(Resize, TallPixelSourceCountsTwiceItsRowsButSamplesItsRealRows) {
    ConversionState state;
    state.sourceSlot = Slot::Mode2;  // came from a mode 2 file
    Picture p = CoordinatePicture(640, 200);
    ResizeBitmap(state, p, Slot::Mode1);  // counted as 640 x 400
    ASSERT_EQ(p.width(), 320);
    ASSERT_EQ(p.height(), 200);
    EXPECT_EQ(p.pixel(1, 1), At(2, 1));
    EXPECT_EQ(p.pixel(319, 199), At(638, 199));

    state.sourceSlot = Slot::Source;  // the same picture as a PC picture: 320 x 100
    Picture q = CoordinatePicture(640, 200);
    ResizeBitmap(state, q, Slot::Mode1);
    EXPECT_EQ(q.width(), 320);
    EXPECT_EQ(q.height(), 100);
}

TEST(Resize, VideoSlotsTakeTheirWidthAndFreeSlotsKeepTheSize) {
    ConversionState state;
    state.sourceSlot = Slot::Source;
    Picture p = CoordinatePicture(640, 480);
    ResizeBitmap(state, p, Slot::Video4);
    EXPECT_EQ(p.width(), 192);
    EXPECT_EQ(p.height(), 144);  // 480 / (640 / 192)
    Picture q = CoordinatePicture(300, 100);
    ResizeBitmap(state, q, Slot::SgxCpcFree);
    EXPECT_EQ(q, CoordinatePicture(300, 100));
    Picture r = CoordinatePicture(300, 100);
    ResizeBitmap(state, r, Slot::SgxMsxFree);  // half-height pixels: 300 x 50
    EXPECT_EQ(r.width(), 300);
    EXPECT_EQ(r.height(), 50);
}

TEST(Resize, SlotsWithoutTargetAndSliversAreKept) {
    ConversionState state;
    state.sourceSlot = Slot::Source;
    Picture p = CoordinatePicture(50, 40);
    ResizeBitmap(state, p, Slot::Unused3);
    EXPECT_EQ(p, CoordinatePicture(50, 40));
    EXPECT_EQ(ResizeBitmap(state, std::as_const(p), Slot::Unused3), CoordinatePicture(50, 40));
    Picture sliver = CoordinatePicture(1000, 1);  // would round to 0 rows
    ResizeBitmap(state, sliver, Slot::Mode1);
    EXPECT_EQ(sliver.width(), 320);
    EXPECT_EQ(sliver.height(), 1);
}

TEST(Resize, MatchesThePlainVersionOnManySizes) {
    ConversionState state;
    int checked = 0;
    for (int tall = 0; tall < 2; ++tall) {
        state.sourceSlot = tall ? Slot::SgxMsx : Slot::Source;
        for (const int w : {1, 7, 159, 641})
            for (const int h : {1, 3, 263, 480}) {
                const Picture src = CoordinatePicture(w, h);
                for (const Slot slot :
                     {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::Overscan0, Slot::Overscan1,
                      Slot::Overscan2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsx,
                      Slot::SgxMsxFree, Slot::Video4, Slot::Video4Wide, Slot::Video16,
                      Slot::Video16Wide}) {
                    // A narrow picture scaled to a video width grows very tall: skip those.
                    if (slot >= Slot::Video4 && w < 100) continue;
                    const Picture expected = reference::ResizeBitmap(src, slot, tall != 0);
                    if (expected.empty()) continue;  // the plain version lets slivers vanish
                    Picture p = src;
                    ResizeBitmap(state, p, slot);
                    ASSERT_EQ(p, expected)
                        << w << "x" << h << " slot " << SlotNumber(slot) << " tall " << tall;
                    // The copying form gives the same picture and leaves its source alone.
                    ASSERT_EQ(ResizeBitmap(state, src, slot), expected) << w << "x" << h;
                    ASSERT_EQ(src, CoordinatePicture(w, h));
                    ++checked;
                }
            }
    }
    EXPECT_GT(checked, 300);
}

TEST(Resize, SamplePictureTakesAnAreaAndLeavesOutsideWhite) {
    const Picture src = CoordinatePicture(184, 264);
    // The mode 0 level thumbnail: (32, 4)-(128, 196) to 48 x 96.
    const Picture thumb = SamplePicture(src, 32, 4, 96, 192, 48, 96);
    ASSERT_EQ(thumb.width(), 48);
    ASSERT_EQ(thumb.height(), 96);
    EXPECT_EQ(thumb.pixel(0, 0), At(32, 4));
    EXPECT_EQ(thumb.pixel(47, 95), At(32 + 94, 4 + 190));
    const Picture over = SamplePicture(src, 180, 0, 8, 1, 8, 1);
    EXPECT_EQ(over.pixel(3, 0), At(183, 0));
    EXPECT_EQ(over.pixel(4, 0), MakeColour(255, 255, 255));
}

TEST(SlotGeometry, Table) {
    EXPECT_EQ(GetSlotGeometry(Slot::Mode0).width, 160);
    EXPECT_EQ(GetSlotGeometry(Slot::Mode0).xf, 2);
    EXPECT_EQ(GetSlotGeometry(Slot::SgxMsx).height, 212);
    EXPECT_EQ(GetSlotGeometry(Slot::SgxMsx).yf, 2);
    EXPECT_EQ(GetSlotGeometry(Slot::Overscan2).width, 736);
    EXPECT_EQ(SlotPens(Slot::Mode0), 16);
    EXPECT_EQ(SlotPens(Slot::SgxCpc), 4);
    EXPECT_EQ(SlotPens(Slot::Overscan2), 2);
    EXPECT_EQ(SlotPens(Slot::Level1), 4);
    EXPECT_EQ(SlotPens(Slot::Video16), 16);
    for (int n = 0; n < kSlotCount; ++n) {
        const Slot s = SlotFromNumber(n);
        EXPECT_EQ(IsTallPixelSlot(s), s == Slot::Mode2 || s == Slot::Overscan2 ||
                                          s == Slot::SgxMsx || s == Slot::SgxMsxFree ||
                                          s == Slot::Video16 || s == Slot::Video16Wide)
            << n;
    }
    EXPECT_EQ(SlotCanvas(Slot::Level0, 100, 50).width, 100);
    EXPECT_EQ(SlotCanvas(Slot::SgxMsx, 100, 50).width, 512);
}

}  // namespace
}  // namespace mozu
