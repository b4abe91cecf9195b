#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "colour/colour_ops.h"
#include "colour/conversion_commands.h"
#include "colour/dithering_methods.h"
#include "colour/indexed.h"
#include "colour/oklab.h"
#include "colour/resize.h"
#include "colour/slot_geometry.h"
#include "tests/support/pictures.h"
#include "tests/support/scripted_asker.h"

namespace mozu {
namespace {

constexpr ReductionMethod kDiffusion[] = {
    ReductionMethod::FloydSteinberg, ReductionMethod::JarvisJudiceNinke, ReductionMethod::Stucki,
    ReductionMethod::Atkinson, ReductionMethod::SierraLite};
constexpr ReductionMethod kOrdered[] = {ReductionMethod::Bayer2, ReductionMethod::Bayer4,
                                        ReductionMethod::Bayer8, ReductionMethod::BlueNoise};

std::string Name(const ReductionOptions& o) {
    return DescribeReduction(o);
}

// Every non-classic method with both spaces, with and without serpentine where it applies.
std::vector<ReductionOptions> EveryMethod() {
    std::vector<ReductionOptions> all;
    for (ReductionMethod m : kAllReductionMethods) {
        if (m == ReductionMethod::Classic) continue;
        for (ErrorSpace space : {ErrorSpace::OkLab, ErrorSpace::Rgb})
            for (bool serpentine : {false, true}) {
                ReductionOptions o;
                o.method = m;
                o.space = space;
                o.serpentine = serpentine;
                if (serpentine && !o.errorDiffusion()) continue;
                all.push_back(o);
            }
    }
    return all;
}

// The published weights of each matrix, as (dx, dy) -> numerator over the divisor; the error of
// one pixel must land exactly there and nowhere else.
struct Published {
    ReductionMethod method;
    float divisor;
    std::map<std::pair<int, int>, int> weights;
};
const Published kPublished[] = {
    {ReductionMethod::FloydSteinberg, 16, {{{1, 0}, 7}, {{-1, 1}, 3}, {{0, 1}, 5}, {{1, 1}, 1}}},
    {ReductionMethod::JarvisJudiceNinke,
     48,
     {{{1, 0}, 7},
      {{2, 0}, 5},
      {{-2, 1}, 3},
      {{-1, 1}, 5},
      {{0, 1}, 7},
      {{1, 1}, 5},
      {{2, 1}, 3},
      {{-2, 2}, 1},
      {{-1, 2}, 3},
      {{0, 2}, 5},
      {{1, 2}, 3},
      {{2, 2}, 1}}},
    {ReductionMethod::Stucki,
     42,
     {{{1, 0}, 8},
      {{2, 0}, 4},
      {{-2, 1}, 2},
      {{-1, 1}, 4},
      {{0, 1}, 8},
      {{1, 1}, 4},
      {{2, 1}, 2},
      {{-2, 2}, 1},
      {{-1, 2}, 2},
      {{0, 2}, 4},
      {{1, 2}, 2},
      {{2, 2}, 1}}},
    {ReductionMethod::Atkinson,
     8,
     {{{1, 0}, 1}, {{2, 0}, 1}, {{-1, 1}, 1}, {{0, 1}, 1}, {{1, 1}, 1}, {{0, 2}, 1}}},
    {ReductionMethod::SierraLite, 4, {{{1, 0}, 2}, {{-1, 1}, 1}, {{0, 1}, 1}}},
};

TEST(DiffusionMatrices, AnImpulseLandsOnThePublishedWeights) {
    for (const Published& p : kPublished) {
        for (bool leftward : {false, true}) {
            ErrorRows rows(9);
            const float e[3] = {p.divisor, -2 * p.divisor, 0};  // channels kept apart
            SpreadError(p.method, leftward, rows, 4, e);
            for (int dy = 0; dy < 3; ++dy)
                for (int x = -2; x < 11; ++x) {
                    const int dx = leftward ? 4 - x : x - 4;  // mirrored when scanning leftward
                    const auto it = p.weights.find({dx, dy});
                    const float want = it == p.weights.end() ? 0.f : static_cast<float>(it->second);
                    EXPECT_FLOAT_EQ(rows.at(x, dy)[0], want)
                        << ReductionMethodName(p.method) << " dx " << dx << " dy " << dy
                        << (leftward ? " leftward" : "");
                    EXPECT_FLOAT_EQ(rows.at(x, dy)[1], -2 * want);
                    EXPECT_FLOAT_EQ(rows.at(x, dy)[2], 0.f);
                }
        }
    }
}

TEST(DiffusionMatrices, RowsMoveUpAndTheNewRowIsClear) {
    ErrorRows rows(4);
    const float e[3] = {16, 0, 0};
    SpreadError(ReductionMethod::FloydSteinberg, false, rows, 1, e);
    rows.advance();
    EXPECT_FLOAT_EQ(rows.at(1, 0)[0], 5);  // what was below is now the current row
    EXPECT_FLOAT_EQ(rows.at(0, 0)[0], 3);
    for (int x = -2; x < 6; ++x) EXPECT_FLOAT_EQ(rows.at(x, 2)[0], 0) << x;
}

TEST(ThresholdMatrices, EveryRankOnceAndBayer2IsTheClassicOrder) {
    for (ReductionMethod m : kOrdered) {
        const ThresholdMatrix& t = ThresholdMatrixOf(m);
        std::set<float> seen(t.t.begin(), t.t.end());
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(t.n * t.n)) << ReductionMethodName(m);
        EXPECT_GT(*seen.begin(), 0.f);
        EXPECT_LT(*seen.rbegin(), 1.f);
    }
    const ThresholdMatrix& b2 = ThresholdMatrixOf(ReductionMethod::Bayer2);
    EXPECT_EQ(b2.t, (std::vector<float>{0.125f, 0.625f, 0.875f, 0.375f}));
    // Bayer 4: the first row is 0, 8, 2, 10 (over 16).
    const ThresholdMatrix& b4 = ThresholdMatrixOf(ReductionMethod::Bayer4);
    EXPECT_FLOAT_EQ(b4.t[1] * 16 - 0.5f, 8);
    EXPECT_FLOAT_EQ(b4.t[2] * 16 - 0.5f, 2);
    EXPECT_FLOAT_EQ(b4.t[3] * 16 - 0.5f, 10);
}

TEST(ThresholdMatrices, BlueNoiseHasNoClumps) {
    // The darkest eighth of the mask (its first 128 ranks) must be spread out: no two of those
    // cells touch, as they would in white noise.
    const ThresholdMatrix& t = ThresholdMatrixOf(ReductionMethod::BlueNoise);
    const int n = t.n;
    auto first = [&](int x, int y) {
        return t.t[static_cast<std::size_t>(((y + n) % n) * n + (x + n) % n)] < 0.125f;
    };
    int touching = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (first(x, y) && (first(x + 1, y) || first(x, y + 1))) ++touching;
    EXPECT_EQ(touching, 0);
}

// A 0-255 grey ramp across a mode 2 picture: the mean of every 20 x 20 block of the dithered
// picture stays within 10 levels of the ramp's mean there.
//
// Atkinson cannot: it passes on only 6/8 of the error, by design. Over a flat grey g shown with
// mean m, a pixel's value is g plus 6/8 of its neighbours' errors, so the mean error is
// 4 (g - m); an error never exceeds half of 255, so m lies up to 32 levels from g, and it does,
// as a bias, not as noise (no window averages it away): darker than the ramp below mid grey,
// lighter above, most at greys near 32 and 223 (-28 and +28 in this ramp), within 10 levels
// only for greys of about 96-160. Its classic behaviour is kept: it gets those bounds instead.
TEST(DitheringMethods, GreyRampKeepsItsLocalMeanInMode2) {
    Picture ramp(640, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 640; ++x) {
            const int v = x * 255 / 639;
            ramp.setPixel(x, y, MakeColour(v, v, v));
        }
    std::vector<ReductionOptions> methods;
    for (ReductionMethod m : kDiffusion)
        for (bool serpentine : {false, true}) {
            ReductionOptions o;
            o.method = m;
            o.serpentine = serpentine;
            o.space = ErrorSpace::Rgb;
            methods.push_back(o);
        }
    ReductionOptions bayer8;
    bayer8.method = ReductionMethod::Bayer8;
    bayer8.space = ErrorSpace::Rgb;
    methods.push_back(bayer8);
    for (const ReductionOptions& o : methods) {
        ConversionState state;
        DitherWithOptions(state, ramp, Slot::Mode2, o);
        const PaletteSlot& pal = state.palette(Slot::Mode2);
        ASSERT_EQ(pal[0], 1) << "black";
        ASSERT_EQ(pal[1], 8) << "white";
        const Picture& pens = state.slots[Slot::Mode2];
        const bool atkinson = o.method == ReductionMethod::Atkinson;
        double worst = 0;
        for (int by = 0; by < 200; by += 20)
            for (int bx = 0; bx < 640; bx += 20) {
                double shown = 0, source = 0;
                for (int y = by; y < by + 20; ++y)
                    for (int x = bx; x < bx + 20; ++x) {
                        shown += Red(pens.pixel(x, y)) == 1 ? 255 : 0;
                        source += Red(ramp.pixel(x, y));
                    }
                const double grey = source / 400, off = (shown - source) / 400;
                worst = std::max(worst, std::abs(off));
                if (atkinson && grey >= 96 && grey <= 160) {
                    EXPECT_LE(std::abs(off), 10.0) << Name(o) << " grey " << grey;
                }
                if (atkinson && grey < 120) {
                    EXPECT_LE(off, 3.0) << Name(o) << " grey " << grey;
                }
                if (atkinson && grey > 135) {
                    EXPECT_GE(off, -3.0) << Name(o) << " grey " << grey;
                }
            }
        EXPECT_LE(worst, atkinson ? 32.0 : 10.0) << Name(o);
    }
}

// The classic grey ditherer loses the ramp's upper half to white; the measure of the test above
// would fail it, which is why the other methods exist.
TEST(DitheringMethods, ClassicGreyDitheringFailsTheRamp) {
    Picture ramp(640, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 640; ++x)
            ramp.setPixel(x, y, MakeColour(x * 255 / 639, x * 255 / 639, x * 255 / 639));
    ConversionState state;
    test::ScriptedAsker asker;
    state.source = ramp;
    state.noPicture = false;
    state.currentSlot = state.sourceSlot = Slot::Source;
    state.sourceColourCount = 256;
    ConvertSlotCommand(state, asker, Slot::Mode2, false);
    // Column 400 (grey 159) is all white.
    for (int y = 0; y < 200; ++y)
        EXPECT_EQ(state.slots[Slot::Mode2].pixel(400, y), MakeColour(255, 255, 255));
}

// A picture of two hardware colours comes through every method, space and palette choice
// unchanged: each pixel keeps its colour.
TEST(DitheringMethods, TwoHardwareColoursComeThroughUnchanged) {
    struct Case {
        Slot slot;
        Colour a, b;
    };
    const Case cases[] = {
        {Slot::Mode0, MakeColour(255, 0, 0), MakeColour(0, 0, 128)},
        {Slot::Mode1, MakeColour(0, 255, 0), MakeColour(128, 0, 128)},
        {Slot::Mode2, MakeColour(0, 0, 0), MakeColour(255, 255, 255)},
        {Slot::SgxCpc, MakeColour(128, 0, 0), MakeColour(255, 128, 0)},
        {Slot::SgxMsx, MakeColour(0, 255, 255), MakeColour(255, 255, 0)},
    };
    for (const Case& c : cases) {
        const SlotGeometry g = GetSlotGeometry(c.slot);
        Picture src(g.width, g.height);
        std::mt19937 rng(7);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) src.setPixel(x, y, (rng() & 1) ? c.a : c.b);
        for (ReductionOptions o : EveryMethod()) {
            for (PaletteChoice palette : {PaletteChoice::Popularity, PaletteChoice::Clustering}) {
                o.palette = palette;
                ConversionState state;
                DitherWithOptions(state, src, c.slot, o);
                Picture shown = state.slots[c.slot];
                if (c.slot == Slot::Mode2 || c.slot == Slot::SgxCpc)
                    Indexed2BMP(state, shown, shown, c.slot);
                EXPECT_EQ(shown, src) << "slot " << SlotNumber(c.slot) << ": " << Name(o);
            }
        }
    }
}

// Fixed pens: all of them given, the palette is exactly those pens and every pixel is one of
// them; fewer given, they are locked at the first positions and the choice fills the rest.
TEST(DitheringMethods, FixedPensAreHonouredExactly) {
    const Picture src = test::SmoothPicture(160, 200, 3);
    const std::vector<std::uint8_t> all = {1, 8, 15, 10, 7, 3, 5, 9, 13, 20, 22, 24, 25, 11, 2, 0};
    for (ReductionMethod m :
         {ReductionMethod::Classic, ReductionMethod::FloydSteinberg, ReductionMethod::Bayer4}) {
        ReductionOptions o;
        o.method = m;
        o.pens = all;
        ConversionState state;
        DitherWithOptions(state, src, Slot::Mode0, o);
        const PaletteSlot& pal = state.palette(Slot::Mode0);
        for (std::size_t p = 0; p < 16; ++p) EXPECT_EQ(pal[p], all[p]) << ReductionMethodName(m);
        std::set<Colour> allowed;
        for (std::uint8_t j : all) allowed.insert(state.colourTable[j]);
        const Picture& out = state.slots[Slot::Mode0];
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_TRUE(allowed.count(out.pixel(x, y))) << ReductionMethodName(m);
    }
    for (PaletteChoice palette : {PaletteChoice::Popularity, PaletteChoice::Clustering}) {
        ReductionOptions o;
        o.method = ReductionMethod::Atkinson;
        o.palette = palette;
        o.pens = {15, 26};  // red and pastel cyan, which the picture need not favour
        ConversionState state;
        DitherWithOptions(state, src, Slot::Mode1, o);
        const PaletteSlot& pal = state.palette(Slot::Mode1);
        EXPECT_EQ(pal[0], 15);
        EXPECT_EQ(pal[1], 26);
        EXPECT_EQ(std::set<int>(pal.begin(), pal.begin() + 4).size(), 4u) << "four different pens";
    }
}

// Clustering chooses the pens that lie nearest the picture's colours: the summed OKLab distance
// of the pixels to their nearest pen is lower than with the popularity order.
TEST(DitheringMethods, ClusteringServesThePicturesColoursBetter) {
    for (Slot slot : {Slot::Mode0, Slot::Mode1, Slot::Mode2}) {
        for (unsigned seed : {1u, 2u, 3u}) {
            const Picture src = test::SmoothPicture(160, 100, seed);
            ConversionState state;
            ReductionOptions o;
            o.method = ReductionMethod::FloydSteinberg;
            auto cost = [&](const std::vector<std::uint8_t>& pens) {
                double sum = 0;
                for (int y = 0; y < src.height(); ++y)
                    for (int x = 0; x < src.width(); ++x) {
                        const OkLab c = ColourToOkLab(src.pixel(x, y));
                        float best = 1e9f;
                        for (std::uint8_t j : pens)
                            best = std::min(
                                best, OkLabDistanceSquared(c, ColourToOkLab(state.colourTable[j])));
                        sum += best;
                    }
                return sum;
            };
            const double popular = cost(ChoosePens(state, src, slot, o));
            o.palette = PaletteChoice::Clustering;
            const std::vector<std::uint8_t> clustered = ChoosePens(state, src, slot, o);
            EXPECT_EQ(clustered.size(), static_cast<std::size_t>(SlotPens(slot)));
            EXPECT_EQ(std::set<std::uint8_t>(clustered.begin(), clustered.end()).size(),
                      clustered.size());
            EXPECT_LT(cost(clustered), popular) << "slot " << SlotNumber(slot) << " seed " << seed;
        }
    }
}

// A small bright subject on a large background: neither choice spends one of mode 1's four pens
// on a red that few pixels have, but a locked pen keeps it, and the subject shows red.
TEST(DitheringMethods, ALockedPenKeepsASmallSubjectsColour) {
    Picture src(320, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const int v = 40 + x * 180 / 319;
            src.setPixel(x, y, MakeColour(v / 2, v, v));
        }
    for (int y = 90; y < 110; ++y)
        for (int x = 150; x < 170; ++x) src.setPixel(x, y, MakeColour(250, 10, 10));
    ReductionOptions o;
    o.method = ReductionMethod::FloydSteinberg;
    o.palette = PaletteChoice::Clustering;
    o.pens = ParsePens("6");  // bright red
    ConversionState state;
    DitherWithOptions(state, src, Slot::Mode1, o);
    EXPECT_EQ(state.palette(Slot::Mode1)[0], 15);
    int red = 0;
    for (int y = 92; y < 108; ++y)
        for (int x = 152; x < 168; ++x)
            red += state.slots[Slot::Mode1].pixel(x, y) == MakeColour(255, 0, 0);
    EXPECT_GT(red, 16 * 16 * 9 / 10);
}

// Two video frames that differ only in a small moving part: an ordered method changes only the
// pixels of that part, so the still area does not flicker; error diffusion carries the change
// on into the still area below and to the right.
TEST(DitheringMethods, OrderedMethodsKeepStillAreasStillBetweenFrames) {
    Picture first = test::SmoothPicture(192, 144, 11);
    Picture second = first;
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x) second.setPixel(x, y, MakeColour(255 - 10 * x, 40, 12 * y));
    auto changedOutside = [&](const ReductionOptions& o, Slot slot) {
        ConversionState a, b;
        DitherWithOptions(a, first, slot, o);
        DitherWithOptions(b, second, slot, o);
        int changed = 0;
        for (int y = 0; y < 144; ++y)
            for (int x = 0; x < 192; ++x) {
                const bool moving = x >= 10 && x < 20 && y >= 10 && y < 20;
                if (!moving && a.slots[slot].pixel(x, y) != b.slots[slot].pixel(x, y)) ++changed;
            }
        return changed;
    };
    for (Slot slot : {Slot::Video4, Slot::Video16}) {
        for (ReductionMethod m : kOrdered) {
            ReductionOptions o;
            o.method = m;
            EXPECT_EQ(changedOutside(o, slot), 0) << ReductionMethodName(m);
        }
        ReductionOptions fs;
        fs.method = ReductionMethod::FloydSteinberg;
        EXPECT_GT(changedOutside(fs, slot), 0);
    }
}

// The conversion command with other options: the picture is the slot's, at the slot's size,
// its pens sorted dark to light as the classic conversion leaves them; the default options
// give exactly the classic result.
TEST(DitheringMethods, ConversionCommandUsesTheOptions) {
    ConversionState base;
    AdoptPcPicture(base, test::SmoothPicture(400, 300, 9));
    for (Slot slot : {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::Overscan0, Slot::Overscan2,
                      Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsx, Slot::SgxMsxFree}) {
        ConversionState classic = base, other = base, explicitDefault = base;
        test::ScriptedAsker asker;
        ConvertSlotCommand(classic, asker, slot, false);
        ConvertSlotCommand(explicitDefault, asker, slot, false, ReductionOptions{});
        EXPECT_EQ(explicitDefault.slots[slot], classic.slots[slot]);
        ReductionOptions o;
        o.method = ReductionMethod::Stucki;
        o.palette = PaletteChoice::Clustering;
        ConvertSlotCommand(other, asker, slot, false, o);
        const Picture& a = classic.slots[slot];
        const Picture& b = other.slots[slot];
        EXPECT_EQ(a.width(), b.width()) << SlotNumber(slot);
        EXPECT_EQ(a.height(), b.height()) << SlotNumber(slot);
        EXPECT_NE(a, b) << SlotNumber(slot);
        // Every pixel is a pen of the slot's palette.
        std::set<Colour> pens;
        for (int p = 0; p < SlotPens(slot); ++p) pens.insert(GetColor(other, p, slot));
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                ASSERT_TRUE(pens.count(b.pixel(x, y))) << SlotNumber(slot);
        if (slot == Slot::Mode0 || slot == Slot::Mode1 || slot == Slot::Mode2) {
            for (int p = 0; p + 1 < SlotPens(slot); ++p) {
                EXPECT_LE(Luminance(GetColor(other, p, slot)),
                          Luminance(GetColor(other, p + 1, slot)));
            }
        }
        if (slot == Slot::Overscan0) {
            EXPECT_EQ(other.converted[Slot::Level0], 1);
        }
    }
}

}  // namespace
}  // namespace mozu
