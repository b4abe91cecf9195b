#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

// Channel value to its level 0-2 (0-85, 86-171, 172-255).
constexpr std::array<std::uint8_t, 256> kLevel = [] {
    std::array<std::uint8_t, 256> level{};
    for (int v = 0; v < 256; ++v)
        level[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(v / 86);
    return level;
}();

inline int Bin(const std::uint8_t* p) {
    return 16 * kLevel[p[0]] + 4 * kLevel[p[1]] + kLevel[p[2]];
}

inline int Level(int v) {
    return (v >= 86) + (v >= 172);
}

// bajt(truncate(old + share x e)) with share = weight / 32. The share and the sum are exact in
// binary, so integer arithmetic gives the value of the computation in double. Where the sum is
// negative, the floor of the shift and the truncation differ only below 0, which clamps to 0
// either way.
inline int Spread(int old, int weightedError) {
    const int v = (32 * old + weightedError) >> 5;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

}  // namespace

void DitheringCPCPalette2(ConversionState& state, const Picture& src, int slot) {
    const int w = src.width(), h = src.height();
    const bool sixteenFold = slot >= 10 && slot <= 19;
    const bool popularity = slot < 12 || slot > 19;
    const int pens = SlotPens(slot);

    // Work picture (w + 8) x (h + 4), white, the source at column 4; the scan covers one white
    // margin column on the right and one white margin row below.
    const int workW = w + 8, workH = h + 4;
    const std::size_t stride = static_cast<std::size_t>(workW) * 3;
    std::vector<std::uint8_t> work(stride * static_cast<std::size_t>(workH), 255);
    for (int y = 0; y < h; ++y)
        std::memcpy(&work[static_cast<std::size_t>(y) * stride + 12], src.row(y), src.stride());

    // Popularity: pixels per colour cube bin over the scanned area; colour indexes by count,
    // largest first, the lower index first on equal counts.
    std::array<int, kColourCount> order{};
    for (int j = 0; j < kColourCount; ++j) order[static_cast<std::size_t>(j)] = j;
    std::array<Colour, 64> target{};  // the colour a pixel of each bin is mapped to
    if (popularity) {
        std::array<std::int64_t, 64> binCount{};
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* p = src.row(y);
            for (int x = 0; x < w; ++x, p += 3) ++binCount[static_cast<std::size_t>(Bin(p))];
        }
        // The margin column (h pixels) and the margin row (w + 1 pixels) are white.
        binCount[static_cast<std::size_t>(ColourBin(255, 255, 255))] += h + w + 1;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return binCount[IndexToBin[static_cast<std::size_t>(a)]] >
                   binCount[IndexToBin[static_cast<std::size_t>(b)]];
        });
    }
    for (int j = 0; j < kColourCount; ++j) {
        const Colour colour = state.colourTable[static_cast<std::size_t>(j)];
        int pick = j;
        if (sixteenFold) {
            pick = SixteenFold[static_cast<std::size_t>(j)];
        } else {
            // Nearest popular colour; on equal distances the more popular one.
            std::int32_t best = 0x7FFFFFFF;
            for (int i = 0; i < pens; ++i) {
                const int candidate = order[static_cast<std::size_t>(i)];
                const std::int32_t d =
                    ColorDifferent(colour, state.colourTable[static_cast<std::size_t>(candidate)]);
                if (d < best) {
                    best = d;
                    pick = candidate;
                }
            }
        }
        target[IndexToBin[static_cast<std::size_t>(j)]] =
            state.colourTable[static_cast<std::size_t>(pick)];
    }
    std::array<std::array<int, 3>, 64> targetBytes{};  // B, G, R
    for (std::size_t b = 0; b < 64; ++b)
        targetBytes[b] = {Blue(target[b]), Green(target[b]), Red(target[b])};

    // Error diffusion over rows 0..h, columns 0..w: half the error goes on, 7/32 right, 5/32
    // below, 3/32 below left, 1/32 below right, each neighbour clamped to a byte at once. A
    // pixel of the next row receives its three shares in the order of the scan (from x - 1,
    // x, x + 1); they are applied in that order in registers and the byte is stored once, and
    // the right neighbour's value is carried to the next step, so no byte is read back from
    // memory while its changes are still in flight.
    for (int y = 0; y <= h; ++y) {
        std::uint8_t* p = &work[static_cast<std::size_t>(y) * stride + 12];
        std::uint8_t* below = p + stride;
        std::array<int, 3> value = {p[0], p[1], p[2]};
        std::array<int, 3> left = {below[-3], below[-2], below[-1]};  // (x - 1, y + 1)
        std::array<int, 3> under = {below[0], below[1], below[2]};    // (x, y + 1)
        for (int x = 0; x <= w; ++x, p += 3, below += 3) {
            const int bin = 16 * Level(value[0]) + 4 * Level(value[1]) + Level(value[2]);
            // Byte stores may alias the tables, so everything is read into locals first.
            const std::array<int, 3> t = targetBytes[static_cast<std::size_t>(bin)];
            const std::array<int, 3> right = {p[3], p[4], p[5]};
            const std::array<int, 3> next = {below[3], below[4], below[5]};
            std::array<int, 3> out{};
#pragma GCC unroll 3
            for (std::size_t c = 0; c < 3; ++c) {
                const int e = value[c] - t[c];
                value[c] = Spread(right[c], 7 * e);
                out[c] = Spread(left[c], 3 * e);
                left[c] = Spread(under[c], 5 * e);
                under[c] = Spread(next[c], e);
            }
            p[0] = static_cast<std::uint8_t>(t[0]);
            p[1] = static_cast<std::uint8_t>(t[1]);
            p[2] = static_cast<std::uint8_t>(t[2]);
            below[-3] = static_cast<std::uint8_t>(out[0]);
            below[-2] = static_cast<std::uint8_t>(out[1]);
            below[-1] = static_cast<std::uint8_t>(out[2]);
        }
        for (int c = 0; c < 3; ++c) {
            p[c] = static_cast<std::uint8_t>(value[c]);
            below[c - 3] = static_cast<std::uint8_t>(left[c]);
            below[c] = static_cast<std::uint8_t>(under[c]);
        }
    }

    // The canvas is filled with the most popular colour (for slots 10-19 its sixteen-colour
    // fold, so that the border is one of the sixteen pens these slots have) and the w x h
    // dithered area is drawn at its centre.
    const int top = order[0];
    const Colour border = state.colourTable[static_cast<std::size_t>(
        sixteenFold ? SixteenFold[static_cast<std::size_t>(top)] : top)];
    const CanvasSize canvas = SlotCanvas(slot, w, h);
    Picture out(canvas.width, canvas.height, border);
    const int ox = (canvas.width - w) / 2, oy = (canvas.height - h) / 2;
    const int x0 = std::max(0, ox), x1 = std::min(canvas.width, ox + w);
    if (x0 < x1) {
        for (int y = std::max(0, oy); y < std::min(canvas.height, oy + h); ++y)
            std::memcpy(out.row(y) + static_cast<std::size_t>(x0) * 3,
                        &work[static_cast<std::size_t>(y - oy) * stride +
                              static_cast<std::size_t>(x0 - ox + 4) * 3],
                        static_cast<std::size_t>(x1 - x0) * 3);
    }
    state.slots.at(static_cast<std::size_t>(slot)) = std::move(out);

    if (!popularity) return;  // video slots: the caller sets the palette
    PaletteSlot& palette = state.palette(slot);
    std::fill(palette.begin(), palette.begin() + kColourCount, 0);
    for (int i = 0; i < 16; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            slot == 10 || slot == 11 ? i : order[static_cast<std::size_t>(i)]);
}

}  // namespace mozu
