#include "colour/bin_diffusion.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "colour/dithering_paths.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace mozu {

namespace {

// A work row holds one 64-bit cell per pixel, four 16-bit lanes (lane i at bit 16 i): B, G, R
// and a spare lane. A loaded cell holds 256 x its channel values - 32768 (see PassDownGroup);
// once it has all its shares from above, 32 x its current values; once it is scanned,
// kBias + 7 x its error, and its bin in lane 3. Cell x is element x + 1 of its row; cell -1,
// left of the source, is never scanned and reads as no error. The bias keeps every lane
// positive, so that a pixel's three channels are added and subtracted as one 64-bit number
// with no carry or borrow crossing into the next lane. It is a multiple of 32, so that
// (s + kBias) div 32 = s div 32 + kBias / 32, and of 8192, so that the 16-bit products taken
// of the errors in PassDownGroup do not see it.
constexpr std::uint64_t kBias = 8192;
constexpr std::uint64_t kNoError = kBias | kBias << 16 | kBias << 32;

// A row is scanned a group of pixels at a time; the shares from the row above are applied a
// group at a time too, one group ahead of the scan.
constexpr int kGroup = 16;

// Each pixel waits for the pixel to its left (sum -> level -> bin -> target -> next sum), so a
// row alone leaves the processor idle most of the time. Several rows are scanned side by side,
// each some groups behind the row above, so that their chains overlap.
constexpr int kRowsInFlight = 3;

// A group's shares from above need the errors of the row above up to one cell past the group,
// and are applied one step before the group is scanned: the row above must be three groups
// ahead.
constexpr int kMinLag = 3;

// What reaches a channel from the left is the sum s = 32 x value + 7 x error, and the channel
// becomes ClampToByte(s div 32) (the weights and the sum are exact in binary, so the integer floor
// is the truncation of the computation in double wherever the result is not clamped to 0). Per
// channel, indexed by (s + kBias) div 32: kBias + 7 x the new value in the channel's lane and
// the channel's part of the bin (16, 4 or 1 x the value's level) in lane 3, so that the three
// entries added give the pixel's kBias + 7 x value per channel and its bin.
constexpr int kMinSum = -7 * 255, kMaxSum = 32 * 255 + 7 * 255;
constexpr std::size_t kSteps = (kMaxSum + kBias) / 32 + 1;
static_assert(kMinSum + static_cast<int>(kBias) >= 0 && kSteps <= 0x800);  // 11-bit index
using SpreadTables = std::array<std::array<std::uint64_t, kSteps>, 3>;
constexpr SpreadTables kSpread = [] {
    SpreadTables table{};
    constexpr std::uint64_t kBinWeight[3] = {16, 4, 1};
    for (std::size_t q = 0; q < kSteps; ++q) {
        const int v = std::clamp(static_cast<int>(q) - static_cast<int>(kBias / 32), 0, 255);
        for (std::size_t ch = 0; ch < 3; ++ch)
            table[ch][q] = (kBias + 7 * static_cast<std::uint64_t>(v)) << (16 * ch) |
                           kBinWeight[ch] * static_cast<std::uint64_t>(v / 86) << 48;
    }
    return table;
}();

// 7 x the target colour of each bin, B, G, R in lanes 0-2 (lane 3 zero).
using Targets7 = std::array<std::uint64_t, 64>;

#if defined(__x86_64__)
// Two pixels a time from eight bytes (the last two belong to the next pixel): each byte into
// the high byte of a lane, the second pixel's channels moved up by one lane into its own cell.
// Returns the number of pixels done.
std::size_t LoadPixelsSse2(const std::uint8_t* p, std::size_t w, std::uint64_t* cell) {
    const __m128i zero = _mm_setzero_si128(), flip = _mm_set1_epi16(-32768);
    std::size_t x = 0;
    for (; x + 3 <= w; x += 2) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 3 * x));
        const __m128i v = _mm_unpacklo_epi8(zero, bytes);
        const __m128i two = _mm_castpd_si128(
            _mm_shuffle_pd(_mm_castsi128_pd(v), _mm_castsi128_pd(_mm_slli_si128(v, 2)), 0b10));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cell + x), _mm_xor_si128(two, flip));
    }
    return x;
}
#endif

// Loads picture row y (white below the picture) into a work row as 256 x each channel - 32768;
// cell -1 reads as no error, the cells from w on are white. (Lane 3 is left as the loading
// finds it: nothing reads it before the scan writes the bin there.)
template <PopularityPath P>
void LoadRow(const Picture& src, int y, std::uint64_t* row, std::size_t rowCells) {
    row[0] = kNoError;
    const std::size_t w = y < src.height() ? static_cast<std::size_t>(src.width()) : 0;
    std::uint64_t* cell = row + 1;
    std::size_t x = 0;
    if (w > 0) {
        const std::uint8_t* p = src.row(y);
#if defined(__x86_64__)
        if constexpr (P == PopularityPath::Sse2) x = LoadPixelsSse2(p, w, cell);
#endif
        for (; x < w; ++x)
            cell[x] = (std::uint64_t{p[3 * x]} << 8 | std::uint64_t{p[3 * x + 1]} << 24 |
                       std::uint64_t{p[3 * x + 2]} << 40) ^
                      0x800080008000;
    }
    std::fill(cell + x, row + rowCells, std::uint64_t{0x7F007F007F00});  // white
}

// The shares the scanned row `above` passes to one group of cells of `below` (both pointers at
// the group's first cell), which turns the group from loaded into ready to scan: 1/32 of the
// error of the cell above left, 5/32 of the one above and 3/32 of the one above right, in that
// order, each clamped to a byte at once.
//
// The plain form: a channel at a time on the 32 v scale, the sum clamped to 0..8191 and
// rounded down to a multiple of 32 after each share.
void PassDownGroupPortable(std::uint64_t* below, const std::uint64_t* above) {
    auto lane = [](std::uint64_t cell, int ch) {
        return static_cast<int>((cell >> (16 * ch)) & 0xFFFF);
    };
    auto spread = [](int acc, int weighted) { return std::clamp(acc + weighted, 0, 8191) & ~31; };
    for (std::ptrdiff_t i = 0; i < kGroup; ++i) {
        std::uint64_t cell = below[i] & ~std::uint64_t{0xFFFFFFFFFFFF};
        for (int ch = 0; ch < 3; ++ch) {
            auto error = [&](std::ptrdiff_t at) {
                return (lane(above[at], ch) - static_cast<int>(kBias)) / 7;
            };
            int acc = spread((lane(below[i], ch) ^ 0x8000) >> 3, error(i - 1));
            acc = spread(acc, 5 * error(i));
            acc = spread(acc, 3 * error(i + 1));
            cell |= static_cast<std::uint64_t>(acc) << (16 * ch);
        }
        below[i] = cell;
    }
}

#if defined(__x86_64__)
// Two cells at a time. Taken 8 times, ClampToByte((32 v + k e) div 32) x 256 is 256 v + 8 k e
// clamped to 0..65535 with its low eight bits cleared; less 32768, that clamp is the 16-bit
// saturating add. 7 x 28087 = 1 modulo 65536, so 8e, 40e and 24e are the 16-bit products of kBias +
// 7e with 8, 40 and 24 x 28087 (exact: 7e is a multiple of 7, the products stay within 16 bits, and
// kBias x 8 is a multiple of 65536).
void PassDownGroupSse2(std::uint64_t* below, const std::uint64_t* above) {
    const __m128i whole = _mm_set1_epi16(~255), flip = _mm_set1_epi16(-32768);
    auto weighted = [&](std::ptrdiff_t cell, std::int16_t factor) {
        return _mm_mullo_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(above + cell)),
                               _mm_set1_epi16(factor));
    };
    for (std::ptrdiff_t i = 0; i < kGroup; i += 2) {
        __m128i acc = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i));
        acc = _mm_and_si128(_mm_adds_epi16(acc, weighted(i - 1, 28088)), whole);
        acc = _mm_and_si128(_mm_adds_epi16(acc, weighted(i, 9368)), whole);
        acc = _mm_and_si128(_mm_adds_epi16(acc, weighted(i + 1, 18728)), whole);
        // 256 v - 32768 to 32 v.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(below + i),
                         _mm_srli_epi16(_mm_xor_si128(acc, flip), 3));
    }
}
#endif

template <PopularityPath P>
inline void PassDownGroup(std::uint64_t* below, const std::uint64_t* above) {
#if defined(__x86_64__)
    if constexpr (P == PopularityPath::Sse2) return PassDownGroupSse2(below, above);
#endif
    PassDownGroupPortable(below, above);
}

// Where a row's scan stands: the next cell and kBias + the sum per channel that reached it.
struct RowScan {
    std::uint64_t* cell;
    std::uint64_t sums;
};

// One pixel: the target of its bin, kBias + 7 x its error into its own cell, and the sums
// that reach its right neighbour.
[[gnu::always_inline]] inline void ScanPixel(std::uint64_t* cell, std::uint64_t& sums,
                                             const Targets7& target7) {
    // The three entries: kBias + 7 x value per channel, the bin in lane 3.
    const std::uint64_t spread = kSpread[0][(sums >> 5) & 0x7FF] +
                                 kSpread[1][(sums >> 21) & 0x7FF] +
                                 kSpread[2][(sums >> 37) & 0x7FF];
    const std::uint64_t t7 = target7[spread >> 48];
    cell[0] = spread - t7;  // kBias + 7 x (value - target), the bin stays in lane 3
    // The right neighbour: 32 x its value + 7 x the error, the target's part last.
    sums = cell[1] + spread - t7;
}

// One group of pixels of each of kRows rows, a pixel of every row in turn. Kept inside the
// diffusion's loop, where each path's copy of the loop has it.
template <int kRows>
[[gnu::always_inline]] inline void ScanGroup(const std::array<RowScan*, kRowsInFlight>& rows,
                                             const Targets7& target7) {
    std::array<std::uint64_t*, kRows> cell;
    std::array<std::uint64_t, kRows> sums;
    for (std::size_t k = 0; k < kRows; ++k) {
        cell[k] = rows[k]->cell;
        sums[k] = rows[k]->sums;
    }
    for (int i = 0; i < kGroup; ++i)
#pragma GCC unroll 4
        for (std::size_t k = 0; k < kRows; ++k) {
            ScanPixel(cell[k], sums[k], target7);
            ++cell[k];
        }
    for (std::size_t k = 0; k < kRows; ++k) *rows[k] = {cell[k], sums[k]};
}

// Draws a scanned row's w pixels, the target colours of their bins, onto `out` at (ox, y):
// each pixel as four bytes (B, G, R and a byte the next pixel overwrites), the last as three.
void EmitRow(const std::uint64_t* row, int w,
             const std::array<std::array<std::uint8_t, 4>, 64>& target4, Picture& out, int ox,
             int y) {
    if (y < 0 || y >= out.height()) return;
    const int from = std::max(0, -ox), to = std::min(w, out.width() - ox);
    if (from >= to) return;
    const std::uint64_t* cell = row + 1 + from;
    std::uint8_t* o = out.row(y) + static_cast<std::size_t>(from + ox) * 3;
    for (int x = from; x + 1 < to; ++x, ++cell, o += 3)
        std::memcpy(o, target4[*cell >> 48].data(), 4);
    std::memcpy(o, target4[*cell >> 48].data(), 3);
}

// Row r is scanned from step lag x r on, a group per step, and done after `groups` steps. The
// lag is at least kMinLag and large enough that at most kRowsInFlight rows are under way at
// once; each step first applies the next group's shares from above to every row under way,
// then scans one group of each. The rows are padded to whole groups: the cells past the white
// margin column are scanned too but never drawn, and the margin's right neighbour is set back
// to no error before the row below takes its shares from it.
template <PopularityPath P>
void Diffuse(const Picture& src, const BinTargets& target, Picture& out, int ox, int oy) {
    const int w = src.width(), h = src.height();
    const int rows = h + 1, cells = w + 1;
    const int groups = (cells + kGroup - 1) / kGroup;
    const int lag = std::max(kMinLag, (groups + kRowsInFlight - 1) / kRowsInFlight);
    // Cells -1 .. (groups + 1) x kGroup: the shares of one group past the last are applied too
    // (the last pixel reads its right neighbour), and they read one cell further.
    const std::size_t rowCells = static_cast<std::size_t>(groups + 1) * kGroup + 2;
    // A row of the ring is loaded again only after the row below it has taken all its shares.
    constexpr int kRing = kRowsInFlight + 1;
    std::vector<std::uint64_t> ring(rowCells * kRing);
    const std::vector<std::uint64_t> noErrors(rowCells, kNoError);  // above the first row
    auto workRow = [&](int r) {
        return ring.data() + static_cast<std::size_t>(r % kRing) * rowCells;
    };

    Targets7 target7{};
    std::array<std::array<std::uint8_t, 4>, 64> target4{};  // B, G, R and a spare byte
    for (std::size_t b = 0; b < 64; ++b)
        for (std::size_t ch = 0; ch < 3; ++ch) {
            target7[b] |= 7 * std::uint64_t{target[b][ch]} << (16 * ch);
            target4[b][ch] = target[b][ch];
        }

    std::array<RowScan, kRing> scans{};
    const int steps = lag * (rows - 1) + groups;
    for (int t = 0; t < steps; ++t) {
        // Rows under way: lag x r <= t < lag x r + groups.
        const int first = std::max(0, (t - groups + lag) / lag), last = std::min(rows - 1, t / lag);
        std::array<RowScan*, kRowsInFlight> active{};
        int count = 0;
        for (int r = first; r <= last && count < kRowsInFlight; ++r) {
            const int group = t - lag * r;
            std::uint64_t* row = workRow(r);
            const std::uint64_t* above = r > 0 ? workRow(r - 1) : noErrors.data();
            RowScan& scan = scans[static_cast<std::size_t>(r % kRing)];
            if (group == 0) {
                LoadRow<P>(src, r, row, rowCells);
                PassDownGroup<P>(row + 1, above + 1);
                scan = {row + 1, row[1] + kNoError};
            }
            const std::size_t next = static_cast<std::size_t>(group + 1) * kGroup + 1;
            PassDownGroup<P>(row + next, above + next);
            active[static_cast<std::size_t>(count++)] = &scan;
        }
        static_assert(kRowsInFlight == 3);
        if (count == 3)
            ScanGroup<3>(active, target7);
        else if (count == 2)
            ScanGroup<2>(active, target7);
        else if (count == 1)
            ScanGroup<1>(active, target7);
        if (first <= last && t - lag * first == groups - 1) {  // row `first` is done
            std::uint64_t* row = workRow(first);
            row[static_cast<std::size_t>(cells) + 1] = kNoError;
            if (first < h) EmitRow(row, w, target4, out, ox, first + oy);
        }
    }
}

}  // namespace

void DiffuseToBinTargets(const Picture& src, const BinTargets& target, Picture& out, int ox,
                         int oy) {
    switch (KernelPath<PopularityPath>::Current()) {
        case PopularityPath::Portable:
            return Diffuse<PopularityPath::Portable>(src, target, out, ox, oy);
        case PopularityPath::Sse2:
            return Diffuse<PopularityPath::Sse2>(src, target, out, ox, oy);
    }
}

}  // namespace mozu
