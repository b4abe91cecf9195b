#include <algorithm>
#include <array>
#include <cstring>

#include "colour/bin_diffusion.h"
#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/dithering_paths.h"
#include "colour/slot_geometry.h"
#include "platform/cpu_features.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

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

// One tally per pixel position of a step, so that neighbouring pixels of one bin do not wait
// for each other.
constexpr std::size_t kStep = 5;
using Tallies = std::array<std::array<std::int32_t, 64>, kStep>;

#if defined(__x86_64__)
// Five pixels from sixteen bytes: every byte's level times the weight of its channel (16, 4,
// 1), then each pixel's three bytes added into its first byte: its bin. Stops while 16 bytes
// still lie in the row and returns the number of pixels done.
int TallyRowSse2(const std::uint8_t* p, int w, Tallies& tally) {
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i above85 = _mm_set1_epi8(static_cast<char>(85 ^ 0x80));
    const __m128i above171 = _mm_set1_epi8(static_cast<char>(171 ^ 0x80));
    const __m128i weight = _mm_setr_epi8(16, 4, 1, 16, 4, 1, 16, 4, 1, 16, 4, 1, 16, 4, 1, 0);
    alignas(16) std::uint8_t bins[16];
    int x = 0;
    for (; x + static_cast<int>(kStep) < w; x += kStep, p += 3 * kStep) {
        const __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), flip);
        const __m128i parts = _mm_add_epi8(_mm_and_si128(_mm_cmpgt_epi8(v, above85), weight),
                                           _mm_and_si128(_mm_cmpgt_epi8(v, above171), weight));
        const __m128i sum =
            _mm_add_epi8(parts, _mm_add_epi8(_mm_srli_si128(parts, 1), _mm_srli_si128(parts, 2)));
        _mm_store_si128(reinterpret_cast<__m128i*>(bins), sum);
        for (std::size_t k = 0; k < kStep; ++k) ++tally[k][bins[3 * k]];
    }
    return x;
}
#endif

// Pixels of the picture per colour cube bin.
template <PopularityPath P>
std::array<std::int64_t, 64> BinCounts(const Picture& src) {
    Tallies tally{};
    const int w = src.width();
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t* p = src.row(y);
        int x = 0;
#if defined(__x86_64__)
        if constexpr (P == PopularityPath::Sse2) {
            x = TallyRowSse2(p, w, tally);
            p += 3 * static_cast<std::size_t>(x);
        }
#endif
        for (; x < w; ++x, p += 3) ++tally[0][static_cast<std::size_t>(Bin(p))];
    }
    std::array<std::int64_t, 64> count{};
    for (std::size_t b = 0; b < 64; ++b)
        for (std::size_t k = 0; k < kStep; ++k) count[b] += tally[k][b];
    return count;
}

std::array<std::int64_t, 64> BinCounts(PopularityPath path, const Picture& src) {
    return path == PopularityPath::Sse2 ? BinCounts<PopularityPath::Sse2>(src)
                                        : BinCounts<PopularityPath::Portable>(src);
}

}  // namespace

bool KernelPathTraits<PopularityPath>::Has(PopularityPath path) {
    return path == PopularityPath::Portable || Cpu().sse2;
}

void DitheringCPCPalette2(ConversionState& state, const Picture& src, Slot slot) {
    const int w = src.width(), h = src.height();
    // The MSX slots (10-19: graphics and video frames) map pixels to the sixteen-colour fold;
    // the video frames among them (12-19) take the pens their caller set, without popularity.
    const int n = SlotNumber(slot);
    const bool sixteenFold = n >= 10 && n <= 19;
    const bool popularity = n < 12 || n > 19;
    const int pens = SlotPens(slot);

    // Popularity: pixels per colour cube bin over the scanned area; colour indexes by count,
    // largest first, the lower index first on equal counts.
    std::array<int, kColourCount> order{};
    for (int j = 0; j < kColourCount; ++j) order[static_cast<std::size_t>(j)] = j;
    std::array<Colour, 64> target{};  // the colour a pixel of each bin is mapped to
    if (popularity) {
        std::array<std::int64_t, 64> binCount =
            BinCounts(KernelPath<PopularityPath>::Current(), src);
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
    BinTargets targetBytes{};  // B, G, R
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
    DiffuseToBinTargets(src, targetBytes, out, ox, oy);
    state.slots[slot] = std::move(out);

    if (!popularity) return;  // video slots: the caller sets the palette
    PaletteSlot& palette = state.palette(slot);
    std::fill(palette.begin(), palette.begin() + kColourCount, 0);
    for (int i = 0; i < 16; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
            slot == Slot::SgxMsx || slot == Slot::SgxMsxFree ? i
                                                             : order[static_cast<std::size_t>(i)]);
}

}  // namespace mozu
