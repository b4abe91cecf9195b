#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "colour/count_colors.h"
#include "colour/reference.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

TEST(CountColors, TwentyColoursStoreTheFirstSixteenInGreenRedBlueOrder) {
    std::vector<Colour> colours;
    // Colours that share greens and reds, so that the order of all three channels matters;
    // the blues (i x 37 mod 256) are all different.
    for (int i = 0; i < 20; ++i)
        colours.push_back(MakeColour(i % 3 * 100, i / 3 % 2 * 200 + i % 2, i * 37 % 256));
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    ASSERT_EQ(colours.size(), 20u);

    Picture p(50, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            p.setPixel(
                x, y,
                colours[(static_cast<std::size_t>(x) * 7 + static_cast<std::size_t>(y) * 13) % 20]);

    std::vector<Colour> expected = colours;
    std::sort(expected.begin(), expected.end(), [](Colour a, Colour b) {
        return std::make_tuple(Green(a), Red(a), Blue(a)) <
               std::make_tuple(Green(b), Red(b), Blue(b));
    });
    ConversionState state;
    EXPECT_EQ(CountColors(state, p), 20);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(state.foundColours[i], expected[i]) << i;
}

TEST(CountColors, ClearsTheColoursOfAnEarlierPicture) {
    ConversionState state;
    EXPECT_GT(CountColors(state, test::RandomPicture(30, 30, 1)), 16);
    Picture two(4, 4, MakeColour(1, 2, 3));
    two.setPixel(0, 0, MakeColour(0, 0, 9));
    EXPECT_EQ(CountColors(state, two), 2);
    EXPECT_EQ(state.foundColours[0], MakeColour(0, 0, 9));
    EXPECT_EQ(state.foundColours[1], MakeColour(1, 2, 3));
    for (std::size_t i = 2; i < 16; ++i) EXPECT_EQ(state.foundColours[i], 0u);
    EXPECT_EQ(CountColors(state, Picture()), 0);
    EXPECT_EQ(state.foundColours[0], 0u);
}

TEST(CountColors, MatchesTheFullCubeWalk) {
    ConversionState state;
    struct Case {
        Picture picture;
        const char* what;
    };
    Picture extremes(4, 1);
    extremes.setPixel(0, 0, MakeColour(255, 255, 255));
    extremes.setPixel(1, 0, MakeColour(0, 255, 0));
    extremes.setPixel(2, 0, MakeColour(255, 0, 255));
    extremes.setPixel(3, 0, MakeColour(0, 0, 63));
    const Case cases[] = {
        {test::RandomPicture(64, 48, 11, 5), "five colours"},
        {test::RandomPicture(64, 48, 12, 17), "seventeen colours"},
        {test::RandomPicture(120, 90, 13), "random"},
        {test::SmoothPicture(160, 100, 14), "smooth"},
        {extremes, "extremes"},
    };
    for (const Case& c : cases) {
        std::array<Colour, 16> expected{};
        const std::int32_t count = reference::CountColors(c.picture, expected);
        EXPECT_EQ(CountColors(state, c.picture), count) << c.what;
        EXPECT_EQ(state.foundColours, expected) << c.what;
    }
}

}  // namespace
}  // namespace mozu
