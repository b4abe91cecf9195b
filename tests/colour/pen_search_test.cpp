// The fast searches and the fast error diffusion against the plain computations they replace,
// on random inputs: the results must be the same to the bit, ties included.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <random>
#include <vector>

#include "colour/colour_table.h"
#include "colour/dithering_methods.h"
#include "colour/oklab.h"
#include "colour/pen_search.h"

namespace mozu {
namespace {

using Vec3 = std::array<float, 3>;

// The first pen at the smallest distance, by a plain scan.
int PlainNearest(const std::vector<Vec3>& pens, const Vec3& v) {
    int best = 0;
    float bestD = std::numeric_limits<float>::max();
    for (std::size_t k = 0; k < pens.size(); ++k) {
        const float a = v[0] - pens[k][0], b = v[1] - pens[k][1], c = v[2] - pens[k][2];
        const float d = a * a + b * b + c * c;
        if (d < bestD) {
            bestD = d;
            best = static_cast<int>(k);
        }
    }
    return best;
}

// Pens drawn from the 27 hardware colours in RGB, some repeated (equal distances to two pens).
std::vector<Vec3> RandomPens(std::mt19937& rng, int count) {
    std::vector<Vec3> pens;
    for (int k = 0; k < count; ++k) {
        const Colour c = kDefaultColourTable[rng() % kColourCount];
        pens.push_back({static_cast<float>(Red(c)), static_cast<float>(Green(c)),
                        static_cast<float>(Blue(c))});
    }
    return pens;
}

TEST(PenSearch, NearestIsThePlainScansChoiceTiesIncluded) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<float> any(0.f, 255.f);
    for (int round = 0; round < 400; ++round) {
        const int count = 1 + static_cast<int>(rng() % 16);
        const std::vector<Vec3> list = RandomPens(rng, count);
        const PenColours pens(list);
        for (int i = 0; i < 200; ++i) {
            // Half the colours on the hardware levels, where equal distances are common.
            Vec3 v;
            for (float& c : v) c = (i % 2) ? any(rng) : static_cast<float>(rng() % 3 * 64);
            const int want = PlainNearest(list, v);
            const int got =
                count <= 4 ? pens.nearest<4>(v[0], v[1], v[2]) : pens.nearest<16>(v[0], v[1], v[2]);
            ASSERT_EQ(got, want) << "round " << round << " count " << count;
        }
    }
}

// The mix of two pens nearest a colour, by the plain loop over the other pens.
PenMix PlainMix(const std::vector<Vec3>& pens, const Vec3& c) {
    PenMix mix;
    mix.first = mix.second = static_cast<std::uint8_t>(PlainNearest(pens, c));
    const Vec3& p = pens[mix.first];
    float best = 0;
    for (int i = 0; i < 3; ++i) best += (c[i] - p[i]) * (c[i] - p[i]);
    for (std::size_t k = 0; k < pens.size(); ++k) {
        if (k == mix.first) continue;
        const Vec3& q = pens[k];
        float dd = 0, dot = 0;
        for (int i = 0; i < 3; ++i) {
            dd += (q[i] - p[i]) * (q[i] - p[i]);
            dot += (c[i] - p[i]) * (q[i] - p[i]);
        }
        if (dd <= 0) continue;
        const float t = std::clamp(dot / dd, 0.0f, 1.0f);
        float err = 0;
        for (int i = 0; i < 3; ++i) {
            const float m = p[i] + t * (q[i] - p[i]) - c[i];
            err += m * m;
        }
        if (err < best) {
            best = err;
            mix.second = static_cast<std::uint8_t>(k);
            mix.share = t;
        }
    }
    return mix;
}

TEST(PenSearch, BestMixIsThePlainLoopsChoice) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> any(0.f, 255.f);
    for (int round = 0; round < 300; ++round) {
        const int count = 1 + static_cast<int>(rng() % 16);
        std::vector<Vec3> list = RandomPens(rng, count);
        if (round % 3 == 0)  // in OKLab too
            for (Vec3& p : list) {
                const OkLab lab = SrgbToOkLab(static_cast<int>(p[0]), static_cast<int>(p[1]),
                                              static_cast<int>(p[2]));
                p = {lab.L, lab.a, lab.b};
            }
        const PenColours pens(list);
        for (int i = 0; i < 100; ++i) {
            Vec3 v = {any(rng), any(rng), any(rng)};
            if (round % 3 == 0) {
                const OkLab lab = SrgbToOkLab(static_cast<int>(v[0]), static_cast<int>(v[1]),
                                              static_cast<int>(v[2]));
                v = {lab.L, lab.a, lab.b};
            }
            const PenMix want = PlainMix(list, v);
            const PenMix got = BestMix(pens, v[0], v[1], v[2]);
            ASSERT_EQ(got.first, want.first) << round;
            ASSERT_EQ(got.second, want.second) << round;
            ASSERT_EQ(got.share, want.share) << round;
        }
    }
}

TEST(PenSearch, PensAreOneToSixteen) {
    EXPECT_THROW(PenColours(std::vector<Vec3>{}), std::invalid_argument);
    EXPECT_THROW(PenColours(std::vector<Vec3>(17)), std::invalid_argument);
}

// A row of pixels to OKLab four at once gives SrgbToOkLab's values to the bit, for rows of
// every length (the last pixels of a row go one at a time) and colours over the whole cube.
TEST(PenSearch, RowToOkLabIsThePixelByPixelConversion) {
    std::mt19937 rng(31);
    for (int round = 0; round < 400; ++round) {
        const int count = static_cast<int>(rng() % 700);
        std::vector<std::uint8_t> bgr(static_cast<std::size_t>(count) * 3);
        for (std::uint8_t& v : bgr)
            v = static_cast<std::uint8_t>(round < 8 ? rng() % 3 * 127 : rng());
        std::vector<float> out(static_cast<std::size_t>(count) * 4, -1.f);
        BgrRowToOkLab(bgr.data(), count, out.data());
        for (int x = 0; x < count; ++x) {
            const std::size_t i = static_cast<std::size_t>(x);
            const OkLab want = SrgbToOkLab(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]);
            ASSERT_EQ(out[4 * i], want.L) << x;
            ASSERT_EQ(out[4 * i + 1], want.a) << x;
            ASSERT_EQ(out[4 * i + 2], want.b) << x;
            ASSERT_EQ(out[4 * i + 3], 0.f) << x;
        }
    }
}

// Error diffusion the plain way: one row after another, left to right (or right to left on odd
// rows when serpentine), the error of each pixel spread at once by the published weights.
std::vector<std::uint8_t> PlainDiffusion(const Picture& src, const std::vector<Colour>& colours,
                                         const ReductionOptions& o) {
    struct Tap {
        int dx, dy;
        float weight;
    };
    std::vector<Tap> taps;
    switch (o.method) {
        case ReductionMethod::FloydSteinberg:
            taps = {{1, 0, 7 / 16.f}, {-1, 1, 3 / 16.f}, {0, 1, 5 / 16.f}, {1, 1, 1 / 16.f}};
            break;
        case ReductionMethod::JarvisJudiceNinke:
            taps = {{1, 0, 7 / 48.f},  {2, 0, 5 / 48.f}, {-2, 1, 3 / 48.f}, {-1, 1, 5 / 48.f},
                    {0, 1, 7 / 48.f},  {1, 1, 5 / 48.f}, {2, 1, 3 / 48.f},  {-2, 2, 1 / 48.f},
                    {-1, 2, 3 / 48.f}, {0, 2, 5 / 48.f}, {1, 2, 3 / 48.f},  {2, 2, 1 / 48.f}};
            break;
        case ReductionMethod::Stucki:
            taps = {{1, 0, 8 / 42.f},  {2, 0, 4 / 42.f}, {-2, 1, 2 / 42.f}, {-1, 1, 4 / 42.f},
                    {0, 1, 8 / 42.f},  {1, 1, 4 / 42.f}, {2, 1, 2 / 42.f},  {-2, 2, 1 / 42.f},
                    {-1, 2, 2 / 42.f}, {0, 2, 4 / 42.f}, {1, 2, 2 / 42.f},  {2, 2, 1 / 42.f}};
            break;
        case ReductionMethod::Atkinson:
            taps = {{1, 0, 1 / 8.f}, {2, 0, 1 / 8.f}, {-1, 1, 1 / 8.f},
                    {0, 1, 1 / 8.f}, {1, 1, 1 / 8.f}, {0, 2, 1 / 8.f}};
            break;
        default:
            taps = {{1, 0, 2 / 4.f}, {-1, 1, 1 / 4.f}, {0, 1, 1 / 4.f}};
    }
    const bool rgb = o.space == ErrorSpace::Rgb;
    auto toSpace = [&](Colour c) -> Vec3 {
        if (rgb)
            return {static_cast<float>(Red(c)), static_cast<float>(Green(c)),
                    static_cast<float>(Blue(c))};
        const OkLab lab = ColourToOkLab(c);
        return {lab.L, lab.a, lab.b};
    };
    std::vector<Vec3> pens;
    for (Colour c : colours) pens.push_back(toSpace(c));
    const Vec3 lo = rgb ? Vec3{0, 0, 0} : Vec3{0, -0.4f, -0.4f};
    const Vec3 hi = rgb ? Vec3{255, 255, 255} : Vec3{1, 0.4f, 0.4f};
    const int w = src.width(), h = src.height();
    std::vector<Vec3> err(static_cast<std::size_t>(w * h), Vec3{0, 0, 0});
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        const bool leftward = o.serpentine && y % 2 == 1;
        for (int i = 0; i < w; ++i) {
            const int x = leftward ? w - 1 - i : i;
            const Vec3 px = toSpace(src.pixel(x, y));
            const Vec3& e = err[static_cast<std::size_t>(y * w + x)];
            Vec3 v;
            for (int c = 0; c < 3; ++c) v[c] = std::clamp(px[c] + e[c], lo[c], hi[c]);
            const int k = PlainNearest(pens, v);
            out[static_cast<std::size_t>(y * w + x)] = static_cast<std::uint8_t>(k);
            for (const Tap& t : taps) {
                const int tx = x + (leftward ? -t.dx : t.dx), ty = y + t.dy;
                if (tx < 0 || tx >= w || ty >= h) continue;
                for (int c = 0; c < 3; ++c)
                    err[static_cast<std::size_t>(ty * w + tx)][c] +=
                        t.weight * (v[c] - pens[static_cast<std::size_t>(k)][c]);
            }
        }
    }
    return out;
}

// Rows are dithered several at once, a few pixels apart, with the error held four floats a
// pixel: every pixel must still come out as in the plain scan, for every matrix, both spaces,
// serpentine or not, and sizes that end a group of rows early or are narrower than the gap
// between rows.
TEST(PenSearch, DiffusionIsThePlainScansToTheBit) {
    std::mt19937 rng(23);
    const ReductionMethod methods[] = {ReductionMethod::FloydSteinberg,
                                       ReductionMethod::JarvisJudiceNinke, ReductionMethod::Stucki,
                                       ReductionMethod::Atkinson, ReductionMethod::SierraLite};
    const std::array<int, 2> sizes[] = {{1, 1}, {2, 7}, {3, 5}, {9, 4}, {33, 9}, {64, 13}};
    for (const auto& [w, h] : sizes) {
        Picture src(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                src.setPixel(
                    x, y,
                    MakeColour(static_cast<int>(rng() % 256), static_cast<int>(rng() % 256),
                               static_cast<int>(rng() % 256)));
        for (int count : {2, 4, 16}) {
            std::vector<Colour> colours;
            for (int k = 0; k < count; ++k)
                colours.push_back(kDefaultColourTable[static_cast<std::size_t>((k * 7) % 27)]);
            for (ReductionMethod m : methods)
                for (ErrorSpace space : {ErrorSpace::Rgb, ErrorSpace::OkLab})
                    for (bool serpentine : {false, true}) {
                        ReductionOptions o;
                        o.method = m;
                        o.space = space;
                        o.serpentine = serpentine;
                        EXPECT_EQ(ReduceToPens(src, colours, o), PlainDiffusion(src, colours, o))
                            << w << "x" << h << " " << count << " pens " << DescribeReduction(o);
                    }
        }
    }
}

}  // namespace
}  // namespace mozu
