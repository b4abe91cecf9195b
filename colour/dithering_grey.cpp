#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

// Each neighbour becomes bajt(trunc(old + share x e)), computed in double with the share
// taken as weight / d in double (7.0 / 27 and so on), for d = 27 and d = 32 alike. Old values
// and errors are never negative, so the result is old + floor(share x e) clamped at 255
// whenever share x e is a whole number or lies well clear of one (the sum then cannot round
// across a whole number); the table holds that floor. Products within 1e-9 of a whole number
// without being one (none occur for these divisors, but the rule does not depend on that) are
// done in double, literally.
struct ShareTable {
    ShareTable(int levels, double d) {
        const double weights[4] = {7, 5, 3, 1};  // right, below, below left, below right
        for (std::size_t k = 0; k < 4; ++k) {
            const double share = weights[k] / d;
            for (int e = 0; e < levels; ++e) {
                const double q = share * e;
                const double whole = std::floor(q);
                product[k][static_cast<std::size_t>(e)] = q;
                delta[k][static_cast<std::size_t>(e)] = static_cast<int>(whole);
                if (q != whole && (q - whole < 1e-9 || whole + 1 - q < 1e-9)) anyLiteral = true;
            }
        }
    }
    template <bool kLiteral>
    int add(std::size_t k, int old, int e) const {
        if constexpr (kLiteral)
            return bajt(static_cast<std::int32_t>(old + product[k][static_cast<std::size_t>(e)]));
        const int v = old + delta[k][static_cast<std::size_t>(e)];
        return v > 255 ? 255 : v;
    }

    std::array<std::array<int, 128>, 4> delta{};
    std::array<std::array<double, 128>, 4> product{};
    bool anyLiteral = false;
};

// Luminance of a pixel: 299 R + 587 G + 114 B thousandths, truncated. Unless the sum is a
// whole number, the double computation truncates to the same value (its error is far below
// a thousandth); when it is whole, the double sum may fall just below it, so that case takes
// the double computation itself.
inline int FastLuminance(int r, int g, int b) {
    const int thousandths = 299 * r + 587 * g + 114 * b;
    const int whole = thousandths / 1000;
    if (whole * 1000 == thousandths) [[unlikely]]
        return LuminanceOf(r, g, b);
    return whole;
}

// One row of the error diffusion: pixels 0 .. count - 1 from p (B, G, R bytes, the next row
// one stride further). Each pixel becomes its level as an index value (red = level); every
// channel of the neighbours receives the share of the luminance error. The shares a pixel of
// the next row receives (from x - 1, x and x + 1, in that order) are applied in registers and
// the byte is stored once; the right neighbour's value and luminance are carried to the next
// step. The right neighbour gets the same amount D on all three channels, so unless a channel
// clips or its sum of thousandths is whole, its luminance is its own luminance before the
// share plus D, known before the error is.
template <bool kLiteral>
void DiffuseRow(std::uint8_t* p, std::size_t stride, int count, int shift, const ShareTable& shares,
                std::array<std::int64_t, 4>& levelCount) {
    std::uint8_t* below = p + stride;
    std::array<int, 3> value = {p[0], p[1], p[2]};
    std::array<int, 3> left = {below[-3], below[-2], below[-1]};  // (x - 1, y + 1)
    std::array<int, 3> under = {below[0], below[1], below[2]};    // (x, y + 1)
    int lum = FastLuminance(value[2], value[1], value[0]);
    // Level counts of this row in four 16-bit lanes (a row has far fewer than 65536 pixels).
    std::uint64_t lanes = 0;
    for (int x = 0; x < count; ++x, p += 3, below += 3) {
        const int level = lum >> shift;
        const auto e = static_cast<std::size_t>(lum - (level << shift));
        lanes += std::uint64_t{1} << (16 * level);
        // Byte stores may alias the tables, so everything is read into locals first.
        const int b0 = p[3], b1 = p[4], b2 = p[5];
        const int n0 = below[3], n1 = below[4], n2 = below[5];
        const int d7 = shares.delta[0][e], d5 = shares.delta[1][e], d3 = shares.delta[2][e],
                  d1 = shares.delta[3][e];
        p[0] = 0;
        p[1] = 0;
        p[2] = static_cast<std::uint8_t>(level);

        const int thousandths = 299 * b2 + 587 * b1 + 114 * b0;
        const int baseLum = thousandths / 1000;
        const bool whole = baseLum * 1000 == thousandths;
        const std::array<int, 3> base = {b0, b1, b2}, next = {n0, n1, n2};
        std::array<int, 3> out{};
#pragma GCC unroll 3
        for (std::size_t c = 0; c < 3; ++c) {
            if constexpr (kLiteral) {
                value[c] = shares.add<true>(0, base[c], static_cast<int>(e));
                out[c] = shares.add<true>(2, left[c], static_cast<int>(e));
                left[c] = shares.add<true>(1, under[c], static_cast<int>(e));
                under[c] = shares.add<true>(3, next[c], static_cast<int>(e));
            } else {
                value[c] = std::min(255, base[c] + d7);
                out[c] = std::min(255, left[c] + d3);
                left[c] = std::min(255, under[c] + d5);
                under[c] = std::min(255, next[c] + d1);
            }
        }
        below[-3] = static_cast<std::uint8_t>(out[0]);
        below[-2] = static_cast<std::uint8_t>(out[1]);
        below[-1] = static_cast<std::uint8_t>(out[2]);
        if (kLiteral || whole || std::max({b0, b1, b2}) + d7 > 255)
            lum = FastLuminance(value[2], value[1], value[0]);
        else
            lum = baseLum + d7;
    }
    for (std::size_t level = 0; level < 4; ++level)
        levelCount[level] += (lanes >> (16 * level)) & 0xFFFF;
    for (int c = 0; c < 3; ++c) {
        p[c] = static_cast<std::uint8_t>(value[c]);
        below[c - 3] = static_cast<std::uint8_t>(left[c]);
        below[c] = static_cast<std::uint8_t>(under[c]);
    }
}

}  // namespace

void DitheringCPCPalette(ConversionState& state, const Picture& src, int slot) {
    const int w = src.width(), h = src.height();
    const bool fourLevels = slot == 8 || slot == 9 || slot == 13 || slot == 14;
    const bool freeSize = slot == 9 || slot == 13 || slot == 14;
    const int step = fourLevels ? 64 : 128;
    // Shares of the error: 7, 5, 3 and 1 over 27 (four levels) or 32 (two levels).
    const double d = fourLevels ? 27.0 : 32.0;

    const CanvasSize canvas = SlotCanvas(slot, w, h);
    // Work picture, pure red: (W + 9) x (H + 4) for fixed-size slots, (w + 10) x (h + 5) for
    // free-size ones; the source at column 4. (A source larger than the canvas, which callers
    // never pass, widens the work picture instead of running past it.)
    const int workW = freeSize ? w + 10 : std::max(canvas.width, w) + 9;
    const int workH = freeSize ? h + 5 : std::max(canvas.height, h) + 4;
    const std::size_t stride = static_cast<std::size_t>(workW) * 3;
    std::vector<std::uint8_t> work(stride * static_cast<std::size_t>(workH));
    for (std::size_t i = 0; i < work.size(); i += 3) {
        work[i] = 0;
        work[i + 1] = 0;
        work[i + 2] = 255;
    }
    for (int y = 0; y < h; ++y)
        std::memcpy(&work[static_cast<std::size_t>(y) * stride + 12], src.row(y), src.stride());

    // Fixed-size slots scan one margin row and column beyond the source, free-size slots
    // exactly the source.
    const int scanW = freeSize ? w : w + 1, scanH = freeSize ? h : h + 1;
    const ShareTable shares(step, d);
    const int shift = fourLevels ? 6 : 7;
    std::array<std::int64_t, 4> levelCount{};
    for (int y = 0; y < scanH; ++y) {
        std::uint8_t* p = &work[static_cast<std::size_t>(y) * stride + 12];
        if (shares.anyLiteral)
            DiffuseRow<true>(p, stride, scanW, shift, shares, levelCount);
        else
            DiffuseRow<false>(p, stride, scanW, shift, shares, levelCount);
    }

    // Background: the most frequent level, the lower one on equal counts; video frames always
    // level 1.
    int background = 0;
    for (int level = 1; level < 4; ++level)
        if (levelCount[static_cast<std::size_t>(level)] >
            levelCount[static_cast<std::size_t>(background)])
            background = level;
    if (slot == 13 || slot == 14) background = 1;

    // Four levels show, dark to bright, colour indexes 1, 3, 2, 0: pens 1, 3, 2, 0.
    static constexpr std::uint8_t kFourLevelPen[4] = {1, 3, 2, 0};
    std::array<std::uint8_t, 4> pen = {0, 1, 2, 3};
    if (fourLevels) std::copy(kFourLevelPen, kFourLevelPen + 4, pen.begin());

    // Only the w x h source area goes onto the index picture, not the scanned margin.
    Picture out(canvas.width, canvas.height,
                MakeColour(pen[static_cast<std::size_t>(background)], 0, 0));
    const int ox = (canvas.width - w) / 2, oy = (canvas.height - h) / 2;
    const int x0 = std::max(0, ox), x1 = std::min(canvas.width, ox + w);
    for (int y = std::max(0, oy); y < std::min(canvas.height, oy + h); ++y) {
        const std::uint8_t* in = &work[static_cast<std::size_t>(y - oy) * stride + 12];
        std::uint8_t* o = out.row(y);
        for (int x = x0; x < x1; ++x)
            o[static_cast<std::size_t>(x) * 3 + 2] =
                pen[in[static_cast<std::size_t>(x - ox) * 3 + 2]];
    }
    state.slots.at(static_cast<std::size_t>(slot)) = std::move(out);

    PaletteSlot& palette = state.palette(slot);
    for (int i = 0; i < kColourCount; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    if (!fourLevels) {
        palette[0] = 1;  // black
        palette[1] = 8;  // white
    }
}

}  // namespace mozu
