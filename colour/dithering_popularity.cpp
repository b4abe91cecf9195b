#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// bajt(truncate(old + share x e)) with share = weight / 32: the share and the sum are exact
// in binary, so the integer sum 32 x old + weight x e, shifted down, is the value of the
// computation in double. Where the sum is negative, the floor of the shift and the truncation
// differ only below 0, which clamps to 0 either way.
inline int Spread(int old, int weightedError) {
    return std::clamp((32 * old + weightedError) >> 5, 0, 255);
}

// For the share to the right, which the next pixel waits for: for every sum, the clamped
// value and its level.
constexpr int kMinSum = -7 * 255, kMaxSum = 32 * 255 + 7 * 255;
struct SpreadTables {
    std::array<std::uint8_t, kMaxSum - kMinSum + 1> value{};
    std::array<std::uint8_t, kMaxSum - kMinSum + 1> level{};
};
constexpr SpreadTables kSpread = [] {
    SpreadTables t{};
    for (int sum = kMinSum; sum <= kMaxSum; ++sum) {
        const int v = std::clamp(sum >> 5, 0, 255);  // arithmetic shift: the floor
        t.value[static_cast<std::size_t>(sum - kMinSum)] = static_cast<std::uint8_t>(v);
        t.level[static_cast<std::size_t>(sum - kMinSum)] = kLevel[static_cast<std::size_t>(v)];
    }
    return t;
}();

// `count` bytes as 16-bit numbers.
void WidenRow(const std::uint8_t* in, std::size_t count, std::int16_t* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i < count; ++i) out[i] = static_cast<std::int16_t>(in[i]);
}

// The shares a row passes to the row below, once the row's errors are known: channel value i
// receives, in the order of the scan, 1/32 of error i - 3 (from the pixel to the left), 5/32
// of error i (above) and 3/32 of error i + 3 (to the right), clamped to a byte each time.
// `count` values from `below`, errors from `error`, whose values i - 3 and i + 3 must exist.
void PassDown(std::int16_t* below, const std::int16_t* error, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), top = _mm_set1_epi16(255);
    auto spread = [&](__m128i old, __m128i weighted) {
        const __m128i sum = _mm_srai_epi16(_mm_add_epi16(_mm_slli_epi16(old, 5), weighted), 5);
        return _mm_min_epi16(_mm_max_epi16(sum, zero), top);
    };
    for (; i + 8 <= count; i += 8) {
        auto at = [&](std::ptrdiff_t offset) {
            return _mm_loadu_si128(
                reinterpret_cast<const __m128i*>(error + static_cast<std::ptrdiff_t>(i) + offset));
        };
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i));
        v = spread(v, at(-3));
        v = spread(v, _mm_mullo_epi16(at(0), _mm_set1_epi16(5)));
        v = spread(v, _mm_mullo_epi16(at(3), _mm_set1_epi16(3)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(below + i), v);
    }
#endif
    for (; i < count; ++i) {
        const auto k = static_cast<std::ptrdiff_t>(i);
        int v = Spread(below[i], error[k - 3]);
        v = Spread(v, 5 * error[k]);
        below[i] = static_cast<std::int16_t>(Spread(v, 3 * error[k + 3]));
    }
}

// The error diffusion over the scanned rows 0..h and columns 0..w (the source, then one white
// margin column and row): each pixel takes the target colour of its bin, and 7/32 of the
// error goes right, 5/32 below, 3/32 below left, 1/32 below right, each neighbour clamped to
// a byte at once. A row is scanned left to right with only the share to the right, which
// the next pixel waits for, and the errors are kept; the three shares for the row below then
// follow for the whole row at once, in the order each value would have received them. The
// work rows hold each channel as a 16-bit number, cell x at index x + 1 (cell -1, left of
// the source, and cell w + 1 receive but are never scanned). The dithered w x h area is
// handed to `emit` row by row (B, G, R bytes).
template <typename Emit>
void Diffuse(const Picture& src, const std::array<std::array<std::uint8_t, 3>, 64>& target,
             Emit&& emit) {
    const int w = src.width(), h = src.height();
    const auto values = (static_cast<std::size_t>(w) + 3) * 3;
    constexpr std::size_t kSlack = 16;  // room for whole vectors past the last cell
    const std::vector<std::uint8_t> white(values + kSlack, 255);
    std::vector<std::int16_t> rowA(values + kSlack), rowB(values + kSlack);
    std::vector<std::int16_t> errors(values + kSlack, 0);  // cells -1 and w + 1 stay 0
    std::vector<std::uint8_t> dithered(static_cast<std::size_t>(w) * 3 + 4);  // margin pixel too
    // A row of cells: the source row (or white below it), then white margin cells.
    auto load = [&](std::vector<std::int16_t>& row, int y) {
        std::size_t from = 0;
        if (y < h) {
            WidenRow(src.row(y), static_cast<std::size_t>(w) * 3, row.data() + 3);
            row[0] = row[1] = row[2] = 255;
            from = static_cast<std::size_t>(w) * 3 + 3;
        }
        WidenRow(white.data(), row.size() - from, row.data() + from);
    };
    std::array<std::array<std::int16_t, 4>, 64> target7{};  // 7 x each target channel
    for (std::size_t b = 0; b < 64; ++b)
        for (std::size_t ch = 0; ch < 3; ++ch)
            target7[b][ch] = static_cast<std::int16_t>(7 * target[b][ch]);
    const std::uint8_t* const spreadValue = kSpread.value.data() - kMinSum;
    const std::uint8_t* const spreadLevel = kSpread.level.data() - kMinSum;
    std::vector<std::int16_t>* cur = &rowA;
    std::vector<std::int16_t>* below = &rowB;
    load(*cur, 0);
    for (int y = 0; y <= h; ++y) {
        load(*below, y + 1);
        const std::int16_t* c = cur->data() + 3;  // cell 0
        std::int16_t* e = errors.data() + 3;
        std::array<std::ptrdiff_t, 3> value = {c[0], c[1], c[2]};
        std::array<std::ptrdiff_t, 3> level = {kLevel[static_cast<std::size_t>(value[0])],
                                               kLevel[static_cast<std::size_t>(value[1])],
                                               kLevel[static_cast<std::size_t>(value[2])]};
        std::uint8_t* out = dithered.data();
        for (int x = 0; x <= w; ++x, c += 3, e += 3) {
            const auto bin = static_cast<std::size_t>(16 * level[0] + 4 * level[1] + level[2]);
            const auto& t = target[bin];
            const auto& t7 = target7[bin];
            std::memcpy(out, t.data(), 4);  // B, G, R and a byte the next pixel overwrites
            out += 3;
#pragma GCC unroll 3
            for (std::size_t ch = 0; ch < 3; ++ch) {
                // 32 x right + 7 x (value - target), with the part that waits for the
                // target's look-up last.
                const std::ptrdiff_t ahead =
                    32 * static_cast<std::ptrdiff_t>(c[3 + ch]) + 7 * value[ch];
                e[ch] = static_cast<std::int16_t>(value[ch] - t[ch]);
                const std::ptrdiff_t toRight = ahead - t7[ch];
                value[ch] = spreadValue[toRight];
                level[ch] = spreadLevel[toRight];
            }
        }
        PassDown(below->data() + 3, errors.data() + 3, (static_cast<std::size_t>(w) + 1) * 3);
        if (y < h) emit(y, dithered.data());
        std::swap(cur, below);
    }
}

}  // namespace

void DitheringCPCPalette2(ConversionState& state, const Picture& src, int slot) {
    const int w = src.width(), h = src.height();
    const bool sixteenFold = slot >= 10 && slot <= 19;
    const bool popularity = slot < 12 || slot > 19;
    const int pens = SlotPens(slot);

    // Popularity: pixels per colour cube bin over the scanned area; colour indexes by count,
    // largest first, the lower index first on equal counts.
    std::array<int, kColourCount> order{};
    for (int j = 0; j < kColourCount; ++j) order[static_cast<std::size_t>(j)] = j;
    std::array<Colour, 64> target{};  // the colour a pixel of each bin is mapped to
    if (popularity) {
        // Four tallies, so that neighbouring pixels of one bin do not wait for each other.
        std::array<std::array<std::int64_t, 64>, 4> tally{};
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* p = src.row(y);
            int x = 0;
            for (; x + 4 <= w; x += 4, p += 12)
                for (std::size_t k = 0; k < 4; ++k)
                    ++tally[k][static_cast<std::size_t>(Bin(p + 3 * k))];
            for (; x < w; ++x, p += 3) ++tally[0][static_cast<std::size_t>(Bin(p))];
        }
        std::array<std::int64_t, 64> binCount{};
        for (std::size_t b = 0; b < 64; ++b)
            binCount[b] = tally[0][b] + tally[1][b] + tally[2][b] + tally[3][b];
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
    std::array<std::array<std::uint8_t, 3>, 64> targetBytes{};  // B, G, R
    for (std::size_t b = 0; b < 64; ++b)
        targetBytes[b] = {static_cast<std::uint8_t>(Blue(target[b])),
                          static_cast<std::uint8_t>(Green(target[b])),
                          static_cast<std::uint8_t>(Red(target[b]))};

    // The canvas is filled with the most popular colour (for slots 10-19 its sixteen-colour
    // fold, so that the border is one of the sixteen pens these slots have) and the w x h
    // dithered area is drawn at its centre.
    const int top = order[0];
    const Colour border = state.colourTable[static_cast<std::size_t>(
        sixteenFold ? SixteenFold[static_cast<std::size_t>(top)] : top)];
    const CanvasSize canvas = SlotCanvas(slot, w, h);
    const int ox = (canvas.width - w) / 2, oy = (canvas.height - h) / 2;
    const int x0 = std::max(0, ox), x1 = std::min(canvas.width, ox + w);
    const int y0 = std::max(0, oy), y1 = std::min(canvas.height, oy + h);
    // Only the border outside the drawn area is filled, from one row of the colour.
    Picture out(canvas.width, canvas.height);
    const Picture borderRow(canvas.width, canvas.height > 0 ? 1 : 0, border);
    for (int y = 0; y < canvas.height; ++y) {
        const bool drawn = y >= y0 && y < y1 && x0 < x1;
        const std::size_t left = drawn ? static_cast<std::size_t>(x0) * 3 : out.stride();
        std::memcpy(out.row(y), borderRow.data(), left);
        if (drawn)
            std::memcpy(out.row(y) + static_cast<std::size_t>(x1) * 3,
                        borderRow.data() + static_cast<std::size_t>(x1) * 3,
                        out.stride() - static_cast<std::size_t>(x1) * 3);
    }
    Diffuse(src, targetBytes, [&](int y, const std::uint8_t* row) {
        if (x0 >= x1 || y + oy < 0 || y + oy >= canvas.height) return;
        std::memcpy(out.row(y + oy) + static_cast<std::size_t>(x0) * 3,
                    row + static_cast<std::size_t>(x0 - ox) * 3,
                    static_cast<std::size_t>(x1 - x0) * 3);
    });
    state.slots.at(static_cast<std::size_t>(slot)) = std::move(out);

    if (!popularity) return;  // video slots: the caller sets the palette
    PaletteSlot& palette = state.palette(slot);
    std::fill(palette.begin(), palette.begin() + kColourCount, 0);
    for (int i = 0; i < 16; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            slot == 10 || slot == 11 ? i : order[static_cast<std::size_t>(i)]);
}

}  // namespace mozu
