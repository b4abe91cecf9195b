#include <gtest/gtest.h>

#include "colour/adjustments.h"
#include "colour/reference.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

// The main window's outer size, which the adjustments of a fresh window use.
constexpr ContrastArea kWindowArea{794, 691};

TEST(Brightness, ScalesEachChannelAndClamps) {
    Picture p(3, 1);
    p.setPixel(0, 0, MakeColour(200, 100, 0));
    p.setPixel(1, 0, MakeColour(250, 250, 250));
    p.setPixel(2, 0, MakeColour(100, 100, 100));
    Brightness(p, 105);
    EXPECT_EQ(p.pixel(0, 0), MakeColour(210, 105, 0));
    EXPECT_EQ(p.pixel(1, 0), MakeColour(255, 255, 255));
    Picture q(1, 1, MakeColour(100, 100, 100));
    Brightness(q, 95);
    EXPECT_EQ(q.pixel(0, 0), MakeColour(95, 95, 95));
    // 50 x 1.05 = 52.5 exactly in double: halves go to the even neighbour.
    Picture half(1, 1, MakeColour(50, 10, 30));
    Brightness(half, 105);
    EXPECT_EQ(half.pixel(0, 0), MakeColour(52, 10, 32));  // 10.5 -> 10, 31.5 -> 32
    Picture huge(1, 1, MakeColour(1, 2, 3));
    Brightness(huge, 2000000000);  // no overflow, just white
    EXPECT_EQ(huge.pixel(0, 0), MakeColour(255, 255, 255));
}

TEST(Autobalance, StretchesBetweenLow51AndHigh199) {
    // 100 x 100: T = round(10 x 10 x 0.9) div 16 = 90 div 16 = 5. Samples every fourth row and
    // column: column 0 has luminance 50 ((50, 50, 51): 50.114), column 4 luminance 200
    // ((200, 200, 201): 200.114), all else 128 ((128, 128, 129)). 25 samples each in bins 50 and
    // 200: low = 51 (bins 0-50 added), high = 255 - 56 = 199, range 148.
    Picture p(100, 100, MakeColour(128, 128, 129));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 4; ++x) {
            p.setPixel(x, y, MakeColour(50, 50, 51));
            p.setPixel(x + 4, y, MakeColour(200, 200, 201));
        }
    Autobalance(p);
    // out(v) = round((v - 51) x 255 / 148): 50 -> -1.7 -> 0, 51 -> 0, 128 -> 132.67 -> 133,
    // 129 -> 134.39 -> 134, 200 -> 256.7 -> 255.
    EXPECT_EQ(p.pixel(0, 0), MakeColour(0, 0, 0));
    EXPECT_EQ(p.pixel(5, 9), MakeColour(255, 255, 255));
    EXPECT_EQ(p.pixel(50, 50), MakeColour(133, 133, 134));
}

TEST(Autobalance, SmallAndSingleColourPicturesStayUnchanged) {
    const Picture narrow = test::RandomPicture(9, 200, 21);
    Picture p = narrow;
    Autobalance(p);
    EXPECT_EQ(p, narrow);
    const Picture flat(200, 120, MakeColour(100, 50, 25));
    Picture q = flat;
    Autobalance(q);
    EXPECT_EQ(q, flat);
}

TEST(Contrast, NoQualifyingValueUsesMin255AndMax0) {
    // 5 x 5: 20 counted pixels per value, never more than the threshold 55.
    Picture p(5, 5, MakeColour(100, 0, 255));
    Contrast(p, 105, kWindowArea);
    // range -255, offset round(0 - 267.75 + 255) = round(-12.75) = -13: c x 1.05 + 13.
    EXPECT_EQ(p.pixel(0, 0), MakeColour(118, 13, 255));
    Picture q(5, 5, MakeColour(100, 0, 255));
    Contrast(q, 95, kWindowArea);
    // offset round(0 - 242.25 + 255) = 13: c x 0.95 - 13: 82, 0, 229.25 -> 229.
    EXPECT_EQ(q.pixel(4, 4), MakeColour(82, 0, 229));
}

TEST(Contrast, EachChannelTurnsAboutItsOwnRange) {
    // 10 x 21; the last row is not counted. Red: 100 pixels of 100 and 100 of 200 (both above
    // 55): min 100, max 200, range 100, offset round(210 - 105 - 100) = 5. Green: all 50:
    // range 0, offset 0. Blue: 0 and 255 never count: offset -13 as above.
    Picture p(10, 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 10; ++x)
            p.setPixel(x, y, MakeColour(y == 20 ? 7 : (x < 5 ? 100 : 200), 50, x < 5 ? 0 : 255));
    Contrast(p, 105, kWindowArea);
    EXPECT_EQ(p.pixel(0, 0), MakeColour(100, 52, 13));   // 105 - 5; 52.5 -> 52
    EXPECT_EQ(p.pixel(9, 0), MakeColour(205, 52, 255));  // 210 - 5
    EXPECT_EQ(p.pixel(0, 20), MakeColour(2, 52, 13));    // 7.35 - 5 = 2.35
}

TEST(Contrast, ThresholdFollowsTheWindowSize) {
    // A window of 100 x 100 gives round(10 x 10 x 0.01) = 1: a value seen twice qualifies.
    Picture p(2, 3, MakeColour(100, 100, 100));  // rows 0 and 1 counted: 4 each
    Contrast(p, 105, ContrastArea{100, 100});
    // min = max = 100, range 0, offset round(105 - 105 - 0) = 0: 105.
    EXPECT_EQ(p.pixel(0, 0), MakeColour(105, 105, 105));
}

}  // namespace
}  // namespace mozu
