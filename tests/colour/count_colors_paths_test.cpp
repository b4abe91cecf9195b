// The count runs on one of several paths (plain code, popcount, AVX2, AVX-512) chosen by the
// processor. Each path this processor has is pinned against the full-cube walk of the
// reference, on pictures that bite where the paths differ: vector and chunk boundaries, the
// last pixel of the picture, runs of one colour, colours at the ends of every channel.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "colour/count_colors.h"
#include "colour/reference.h"
#include "common/kernel_path_test.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

using Traits = KernelPathTraits<CountPath>;

// Each test runs on one path, forced; the state is shared by the test's counts, so that a
// found colour left over from the count before is caught.
class CountColorsPaths : public KernelPathTest<CountPath> {
  protected:
    ConversionState state;
};
MOZU_INSTANTIATE_FOR_EVERY_PATH(CountColorsPaths, CountPath);

// The distinct colours sorted green, red, blue: the count and the first 16 (a quicker
// stand-in for the full-cube walk, which the tests of CountColors itself use).
std::int32_t SortedCount(const Picture& picture, std::array<Colour, 16>& found) {
    std::vector<std::uint32_t> keys;  // green << 16 | red << 8 | blue
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Colour c = picture.pixel(x, y);
            keys.push_back(static_cast<std::uint32_t>(Green(c) << 16 | Red(c) << 8 | Blue(c)));
        }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    found.fill(0);
    for (std::size_t i = 0; i < keys.size() && i < found.size(); ++i)
        found[i] = MakeColour(static_cast<int>(keys[i] >> 8 & 0xFF),
                              static_cast<int>(keys[i] >> 16), static_cast<int>(keys[i] & 0xFF));
    return static_cast<std::int32_t>(keys.size());
}

// Counts the picture on the test's path and compares count and found colours with the sorted
// colours.
void ExpectMatchesSorted(ConversionState& state, const Picture& picture, const std::string& what) {
    std::array<Colour, 16> expected{};
    const std::int32_t count = SortedCount(picture, expected);
    EXPECT_EQ(CountColors(state, picture), count) << what;
    EXPECT_EQ(state.foundColours, expected) << what;
}

TEST(CountColorsPathChoice, ThePortablePathIsAlwaysThere) {
    EXPECT_TRUE(Traits::Has(CountPath::Portable));
    EXPECT_TRUE(Traits::Has(KernelPath<CountPath>::Best()));
    // Which paths this processor has, for whoever reads the log.
    for (CountPath p : Traits::kAll)
        std::printf("count path %s: %s\n", Traits::Name(p), Traits::Has(p) ? "tested" : "absent");
}

TEST_P(CountColorsPaths, SizesAroundVectorAndChunkBoundaries) {
    // Pixel counts around 16-pixel vectors, the 8-pixel AVX2 step with its 32-byte load, and
    // the 1024-pixel chunks of each half (2 x 1024 + 1 is where the second chunk starts).
    const int widths[] = {1, 2, 3, 7, 8, 9, 10, 11, 12, 15, 16, 17, 31, 33};
    for (int w : widths)
        for (int h : {1, 2, 3, 5}) {
            ExpectMatchesSorted(state, test::RandomPicture(w, h, static_cast<unsigned>(w * 10 + h)),
                                "random " + std::to_string(w) + "x" + std::to_string(h));
        }
    for (int pixels : {2047, 2048, 2049, 2050, 2051, 4096, 4097, 4113, 6150})
        ExpectMatchesSorted(state, test::RandomPicture(1, pixels, static_cast<unsigned>(pixels)),
                            "one column of " + std::to_string(pixels));
}

TEST_P(CountColorsPaths, PixelsLikeTheOneAbove) {
    // Few colours, so many pixels repeat the pixel above; top rows longer than a chunk, and
    // pictures of one row or one column.
    const int sizes[][2] = {{2500, 3}, {1500, 2}, {1100, 4}, {2049, 1}, {1, 3000}, {700, 5}};
    for (const auto& size : sizes) {
        const std::string name = std::to_string(size[0]) + "x" + std::to_string(size[1]);
        ExpectMatchesSorted(state, test::RandomPicture(size[0], size[1], 31, 2),
                            "two colours " + name);
        ExpectMatchesSorted(state, test::RandomPicture(size[0], size[1], 32, 40),
                            "forty colours " + name);
    }
    // Columns of one colour each: every pixel below the top row repeats the one above.
    Picture stripes(300, 40);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, MakeColour(x, x * 3, 255 - x));
    ExpectMatchesSorted(state, stripes, "stripes");
}

TEST_P(CountColorsPaths, RunsAndFewColours) {
    ExpectMatchesSorted(state, Picture(1, 1, MakeColour(255, 255, 255)), "one white pixel");
    ExpectMatchesSorted(state, Picture(37, 29, MakeColour(0, 0, 0)), "all black");
    ExpectMatchesSorted(state, test::RandomPicture(301, 7, 5, 3), "three colours");
    ExpectMatchesSorted(state, test::RandomPicture(64, 64, 6, 17), "seventeen colours");
    // Long runs: a colour changes only every few pixels, across vector and row ends.
    Picture runs(123, 45);
    for (int y = 0; y < runs.height(); ++y)
        for (int x = 0; x < runs.width(); ++x) {
            const int k = (y * runs.width() + x) / 13;
            runs.setPixel(x, y, MakeColour(k * 7, k * 3, k * 11));
        }
    ExpectMatchesSorted(state, runs, "runs");
    ExpectMatchesSorted(state, test::SmoothPicture(640, 100, 3), "smooth");
}

TEST_P(CountColorsPaths, ChannelEnds) {
    // Every mix of 0, 1, 127, 128, 254 and 255 in the three channels, each twice in a row,
    // then again in reverse so that the last pixel is a corner of the cube.
    const int values[] = {0, 1, 127, 128, 254, 255};
    std::vector<Colour> colours;
    for (int r : values)
        for (int g : values)
            for (int b : values) colours.push_back(MakeColour(r, g, b));
    Picture p(static_cast<int>(colours.size()) * 2, 2);
    for (std::size_t i = 0; i < colours.size(); ++i)
        for (int k = 0; k < 2; ++k) {
            p.setPixel(static_cast<int>(i) * 2 + k, 0, colours[i]);
            p.setPixel(static_cast<int>(i) * 2 + k, 1, colours[colours.size() - 1 - i]);
        }
    ExpectMatchesSorted(state, p, "channel ends");
    std::array<Colour, 16> walked{}, sorted{};
    EXPECT_EQ(reference::CountColors(p, walked), SortedCount(p, sorted));
    EXPECT_EQ(walked, sorted);
    ExpectMatchesSorted(state, p.crop(0, 0, 1, 2), "corners only");
}

TEST_P(CountColorsPaths, TheFirstSixteenAreNotTheFirstMet) {
    // 40 colours; the 16 lowest in green-red-blue order are put at the end of the picture,
    // the last of them in its very last pixel.
    std::vector<Colour> colours;
    for (int i = 0; i < 40; ++i) colours.push_back(MakeColour(200 - i * 5, i % 4 * 60, i * 6));
    std::sort(colours.begin(), colours.end(), [](Colour a, Colour b) {
        return std::make_tuple(Green(a), Red(a), Blue(a)) >
               std::make_tuple(Green(b), Red(b), Blue(b));
    });
    Picture p(40, 3, colours[0]);
    for (int x = 0; x < 40; ++x) p.setPixel(x, 2, colours[static_cast<std::size_t>(x)]);
    std::array<Colour, 16> lowest{};
    for (std::size_t i = 0; i < 16; ++i) lowest[i] = colours[39 - i];
    {
        ConversionState fresh;
        EXPECT_EQ(CountColors(fresh, p), 40);
        EXPECT_EQ(fresh.foundColours, lowest);
    }
    ExpectMatchesSorted(state, p, "lowest last");
}

TEST_P(CountColorsPaths, EveryColourOnceIsCountedOnce) {
    // All 16,777,216 colours: two colours sharing a bit, or a bit left out of the count,
    // would show here.
    Picture p(4096, 4096);
    for (int y = 0; y < 4096; ++y) {
        std::uint8_t* row = p.row(y);
        for (int x = 0; x < 4096; ++x) {
            const std::uint32_t c =
                static_cast<std::uint32_t>(y) << 12 | static_cast<std::uint32_t>(x);
            row[3 * x] = static_cast<std::uint8_t>(c);
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    std::array<Colour, 16> first{};
    for (int b = 0; b < 16; ++b) first[static_cast<std::size_t>(b)] = MakeColour(0, 0, b);
    EXPECT_EQ(CountColors(state, p), 1 << 24);
    EXPECT_EQ(state.foundColours, first);
}

TEST_P(CountColorsPaths, EachCountLeavesTheSetEmptyForTheNext) {
    // Counts one after the other on this thread, every path this processor has before the
    // test's path: any bit a count left behind would add to the next count.
    const Picture many = test::RandomPicture(200, 150, 21);
    const Picture few = test::RandomPicture(50, 40, 22, 6);
    const Picture smooth = test::SmoothPicture(160, 100, 23);
    std::array<Colour, 16> expectedFew{}, expectedSmooth{};
    const std::int32_t countFew = reference::CountColors(few, expectedFew);
    const std::int32_t countSmooth = reference::CountColors(smooth, expectedSmooth);
    for (CountPath first : Traits::kAll) {
        if (!Traits::Has(first)) continue;
        {
            ScopedKernelPath<CountPath> before(first);
            CountColors(state, many);
        }
        EXPECT_EQ(CountColors(state, few), countFew) << Traits::Name(first) << " then " << name();
        EXPECT_EQ(state.foundColours, expectedFew);
        EXPECT_EQ(CountColors(state, smooth), countSmooth);
        EXPECT_EQ(state.foundColours, expectedSmooth);
    }
    EXPECT_EQ(CountColors(state, Picture()), 0);
    EXPECT_EQ(state.foundColours, (std::array<Colour, 16>{}));
}

}  // namespace
}  // namespace mozu
