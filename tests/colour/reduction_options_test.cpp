#include <gtest/gtest.h>

#include <stdexcept>

#include "colour/colour_table.h"
#include "colour/reduction_options.h"

namespace mozu {
namespace {

TEST(ReductionOptions, DefaultIsTheClassicMethod) {
    const ReductionOptions options;
    EXPECT_TRUE(options.isDefault());
    EXPECT_EQ(DescribeReduction(options), "classic");
    ReductionOptions locked;
    locked.pens = {1};
    EXPECT_FALSE(locked.isDefault());  // classic diffusion, but a pen is fixed
}

TEST(ReductionOptions, EveryMethodNameReadsBack) {
    for (ReductionMethod m : kAllReductionMethods) {
        ReductionOptions options;
        ParseReductionMethod(ReductionMethodName(m), options);
        EXPECT_EQ(options.method, m) << ReductionMethodName(m);
        EXPECT_FALSE(options.serpentine);
        EXPECT_EQ(options.space, ErrorSpace::OkLab);
    }
}

TEST(ReductionOptions, ModifiersSetSerpentineAndSpace) {
    ReductionOptions options;
    ParseReductionMethod("stucki+serpentine+rgb", options);
    EXPECT_EQ(options.method, ReductionMethod::Stucki);
    EXPECT_TRUE(options.serpentine);
    EXPECT_EQ(options.space, ErrorSpace::Rgb);
    EXPECT_EQ(DescribeReduction(options), "stucki, serpentine, RGB error");
    // A second parse starts from the method's defaults.
    ParseReductionMethod("bayer8", options);
    EXPECT_EQ(options.method, ReductionMethod::Bayer8);
    EXPECT_FALSE(options.serpentine);
    EXPECT_EQ(options.space, ErrorSpace::OkLab);
}

TEST(ReductionOptions, BadMethodTextsAreRefused) {
    ReductionOptions options;
    for (const char* text : {"", "floyd", "bayer16", "floyd-steinberg+snake", "bayer4+serpentine",
                             "classic+rgb", "atkinson+"}) {
        EXPECT_THROW(ParseReductionMethod(text, options), std::invalid_argument) << text;
    }
    EXPECT_EQ(options.method, ReductionMethod::Classic) << "a refused text leaves the method";
}

TEST(ReductionOptions, PaletteChoices) {
    EXPECT_EQ(ParsePaletteChoice("clustering"), PaletteChoice::Clustering);
    EXPECT_EQ(ParsePaletteChoice(" popularity "), PaletteChoice::Popularity);
    EXPECT_THROW(ParsePaletteChoice("kmeans"), std::invalid_argument);
}

TEST(ReductionOptions, PensAreFirmwareNumbers) {
    // 0 black, 26 bright white, 6 bright red: colour indexes 1, 8 and 15.
    const std::vector<std::uint8_t> pens = ParsePens("0,26, 6");
    ASSERT_EQ(pens, (std::vector<std::uint8_t>{1, 8, 15}));
    EXPECT_EQ(kDefaultColourTable[15], MakeColour(255, 0, 0));
    ReductionOptions options;
    options.pens = pens;
    EXPECT_EQ(DescribeReduction(options), "classic, pens 0,26,6");
}

TEST(ReductionOptions, BadPenListsAreRefused) {
    for (const char* text :
         {"", "27", "-1", "1,,2", "a", "3,3", "1.5", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16"}) {
        EXPECT_THROW(ParsePens(text), std::invalid_argument) << text;
    }
}

}  // namespace
}  // namespace mozu
