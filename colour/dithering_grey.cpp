#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/grey_level_rows.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

// Each neighbour becomes ClampToByte(trunc(old + share x e)), computed in double with the share
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
        // The three shares for the row below in 16-bit lanes: below left, below, below right.
        for (std::size_t e = 0; e < 128; ++e)
            below[e] = static_cast<std::uint64_t>(delta[2][e]) |
                       static_cast<std::uint64_t>(delta[1][e]) << 16 |
                       static_cast<std::uint64_t>(delta[3][e]) << 32;
    }

    std::array<std::array<int, 128>, 4> delta{};
    std::array<std::array<double, 128>, 4> product{};
    std::array<std::uint64_t, 128> below{};
    bool anyLiteral = false;

    // Whether the right share of every error is (7 e) >> 5, as the two-level scan works it out.
    bool rightIsSevenThirtySeconds(int levels) const {
        for (int e = 0; e < levels; ++e)
            if (delta[0][static_cast<std::size_t>(e)] != (7 * e) >> 5) return false;
        return true;
    }

    // The most steps a value can receive: the largest share of each kind (the shares grow
    // with the error).
    int maxSteps(int levels) const {
        const auto last = static_cast<std::size_t>(levels - 1);
        return delta[0][last] + delta[1][last] + delta[2][last] + delta[3][last];
    }
};

// Luminance is 299 R + 587 G + 114 B thousandths, truncated. Unless the sum is a whole
// number, the double computation truncates to the same value (its error is far below a
// thousandth); when it is whole, the double sum may fall just below it, so that case takes the
// double computation itself.
//
// For a channel value c that received d steps, the tables hold M x weight x min(255, c + d),
// M = 274877907 = ceil(2^38 / 1000): the three added are M t for the sum t of thousandths, and
// for every t up to 255000, M t div 2^38 is t div 1000 and the low 38 bits of M t stay below
// 2^20 exactly when t is a whole thousand (at most 14280 then, at least 2^38 / 1000
// otherwise). A value has at most 60 steps (27 + 19 + 11 + 3 with two levels; fewer with
// four).
constexpr int kMaxSteps = 64;
constexpr std::uint64_t kLuminanceScale = 274877907;
constexpr int kLuminanceShift = 38;
constexpr std::uint64_t kWholeMask = (std::uint64_t{1} << kLuminanceShift) - (1 << 20);
struct LuminanceTables {
    std::array<std::uint64_t, 256 + kMaxSteps> blue, green, red;
};
constexpr LuminanceTables kLuminance = [] {
    LuminanceTables t{};
    for (std::size_t i = 0; i < t.blue.size(); ++i) {
        const std::uint64_t c = std::min<std::size_t>(i, 255);
        t.blue[i] = kLuminanceScale * 114 * c;
        t.green[i] = kLuminanceScale * 587 * c;
        t.red[i] = kLuminanceScale * 299 * c;
    }
    return t;
}();

// The scanned area: `scanW` x `scanH` pixels, the source's own where it has them and pure
// red (255, 0, 0) in the margin.
struct ScanArea {
    const Picture& src;
    int scanW, scanH;

    // Pixel (x, y) as B, G, R.
    std::array<int, 3> at(int x, int y) const {
        if (x >= src.width() || y >= src.height()) return {0, 0, 255};
        const std::uint8_t* p = src.row(y) + static_cast<std::size_t>(x) * 3;
        return {p[0], p[1], p[2]};
    }
};

// The diffusion as written: every neighbour's channel is updated in double and clamped at
// once. Only used if some share x error lies too near a whole number for the table.
void DiffuseLiteral(const ScanArea& area, int shift, const ShareTable& shares,
                    std::vector<std::uint8_t>& levels, std::array<std::int64_t, 4>& levelCount) {
    const int workW = area.scanW + 2;  // one column either side of the scan
    std::vector<std::array<int, 3>> work(static_cast<std::size_t>(workW) *
                                         static_cast<std::size_t>(area.scanH + 1));
    auto cell = [&](int x, int y) -> std::array<int, 3>& {
        return work[static_cast<std::size_t>(y) * static_cast<std::size_t>(workW) +
                    static_cast<std::size_t>(x + 1)];
    };
    for (int y = 0; y <= area.scanH; ++y)
        for (int x = -1; x <= area.scanW; ++x) cell(x, y) = area.at(std::max(x, 0), y);
    const int dx[4] = {1, 0, -1, 1}, dy[4] = {0, 1, 1, 1};
    for (int y = 0; y < area.scanH; ++y)
        for (int x = 0; x < area.scanW; ++x) {
            const std::array<int, 3> v = cell(x, y);
            const int lum = LuminanceOf(v[2], v[1], v[0]);
            const int level = lum >> shift;
            const auto e = static_cast<std::size_t>(lum - (level << shift));
            levels[static_cast<std::size_t>(y) * static_cast<std::size_t>(area.scanW) +
                   static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(level);
            ++levelCount[static_cast<std::size_t>(level)];
            // Updates in the order right, below, below left, below right.
            for (std::size_t k = 0; k < 4; ++k)
                for (int& c : cell(x + dx[k], y + dy[k]))
                    c = ClampToByte(static_cast<std::int32_t>(c + shares.product[k][e]));
        }
}

// One scanned row: the source's pixels (B, G, R bytes) where it has them, pure red in the
// margin.
void LoadScanRow(const ScanArea& area, int y, std::vector<std::uint8_t>& row) {
    std::size_t filled = 0;
    if (y < area.src.height()) {
        filled = static_cast<std::size_t>(std::min(area.scanW, area.src.width())) * 3;
        std::memcpy(row.data(), area.src.row(y), filled);
    }
    for (std::size_t i = filled; i < row.size(); i += 3) {
        row[i] = 0;
        row[i + 1] = 0;
        row[i + 2] = 255;
    }
}

// One scanned row of the exact diffusion, advanced a pixel at a time.
struct RowDiffusion {
    const std::uint8_t* pixels;     // B, G, R
    const std::uint16_t* received;  // steps from the row above, cell x at index x + 1
    std::uint16_t* next;            // steps for the row below, cell x at index x + 1
    std::uint8_t* levels;
    int fromLeft = 0;
    // Steps for cells x - 1 and x of the next row so far (from x - 2 and x - 1, and from
    // x - 1) in two 16-bit lanes, kept in a register until a cell has all three.
    std::uint64_t pending = 0;

    template <int kShift>
    [[gnu::always_inline]] inline void step(std::size_t x, const ShareTable& shares) {
        const std::uint8_t* p = pixels + 3 * x;
        const auto d = static_cast<std::size_t>(received[x + 1] + fromLeft);
        const std::uint64_t scaled =
            kLuminance.blue[p[0] + d] + kLuminance.green[p[1] + d] + kLuminance.red[p[2] + d];
        int lum = static_cast<int>(scaled >> kLuminanceShift);
        if ((scaled & kWholeMask) == 0) [[unlikely]]
            lum = LuminanceOf(std::min<int>(p[2] + d, 255), std::min<int>(p[1] + d, 255),
                              std::min<int>(p[0] + d, 255));
        const int level = lum >> kShift;
        const auto e = static_cast<std::size_t>(lum - (level << kShift));
        // With two levels the right share is 7/32 of the error, exactly (7 e) >> 5: worked
        // out rather than looked up, as the next pixel waits for it.
        if constexpr (kShift == 7)
            fromLeft = static_cast<int>((7 * e) >> 5);
        else
            fromLeft = shares.delta[0][e];
        const std::uint64_t sum = pending + shares.below[e];
        next[x] = static_cast<std::uint16_t>(sum);
        pending = sum >> 16;
        levels[x] = static_cast<std::uint8_t>(level);
    }

    void finish(std::size_t n, GreyPath path, std::array<std::int64_t, 4>& levelCount) const {
        next[n] = static_cast<std::uint16_t>(pending);
        next[n + 1] = static_cast<std::uint16_t>(pending >> 16);
        grey::CountLevels(path, levels, n, levelCount);
    }
};

// All shares are whole-number steps here and never negative, and a channel only clamps at
// 255, so a pixel's channels are min(255, own value + D), D the sum of the steps it has
// received (clamping at every step or once at the end gives the same value). A pixel is
// thus its source colour plus one number, and its luminance in thousandths is
// 299 min(R + D, 255) + 587 min(G + D, 255) + 114 min(B + D, 255): no branch on the
// dithering noise. A pixel of a row has all its steps from the row above once that row is
// two pixels further on, so two rows run together, two pixels apart, and their chains
// overlap.
template <int kShift>
void DiffuseExact(const ScanArea& area, const ShareTable& shares, GreyPath path,
                  std::vector<std::uint8_t>& levels, std::array<std::int64_t, 4>& levelCount) {
    const auto n = static_cast<std::size_t>(area.scanW);
    // Steps between rows (index 0 is the unscanned column on the left, which receives but is
    // never read): into the first row of a pair, between the two, out of the second.
    std::vector<std::uint16_t> into(n + 2, 0), between(n + 2, 0), out(n + 2, 0);
    std::vector<std::uint8_t> first(n * 3), second(n * 3);
    auto levelRow = [&](int y) { return levels.data() + static_cast<std::size_t>(y) * n; };
    int y = 0;
    for (; y + 1 < area.scanH; y += 2) {
        LoadScanRow(area, y, first);
        LoadScanRow(area, y + 1, second);
        RowDiffusion a{first.data(), into.data(), between.data(), levelRow(y)};
        RowDiffusion b{second.data(), between.data(), out.data(), levelRow(y + 1)};
        for (std::size_t x = 0; x < std::min<std::size_t>(2, n); ++x)
            a.template step<kShift>(x, shares);
        for (std::size_t x = 2; x < n; ++x) {
            a.template step<kShift>(x, shares);
            b.template step<kShift>(x - 2, shares);
        }
        a.finish(n, path, levelCount);
        for (std::size_t x = n >= 2 ? n - 2 : 0; x < n; ++x) b.template step<kShift>(x, shares);
        b.finish(n, path, levelCount);
        std::swap(into, out);
    }
    if (y < area.scanH) {
        LoadScanRow(area, y, first);
        RowDiffusion a{first.data(), into.data(), between.data(), levelRow(y)};
        for (std::size_t x = 0; x < n; ++x) a.template step<kShift>(x, shares);
        a.finish(n, path, levelCount);
    }
}

}  // namespace

void DitheringCPCPalette(ConversionState& state, const Picture& src, Slot slot) {
    const int w = src.width(), h = src.height();
    const bool fourLevels = slot == Slot::SgxCpc || slot == Slot::SgxCpcFree ||
                            slot == Slot::Video4 || slot == Slot::Video4Wide;
    const bool freeSize =
        slot == Slot::SgxCpcFree || slot == Slot::Video4 || slot == Slot::Video4Wide;
    const int step = fourLevels ? 64 : 128;
    // Shares of the error: 7, 5, 3 and 1 over 27 (four levels) or 32 (two levels).
    const double d = fourLevels ? 27.0 : 32.0;

    const CanvasSize canvas = SlotCanvas(slot, w, h);
    // The work picture is pure red with the source at its top left. Fixed-size slots scan one
    // margin row and column beyond the source, free-size slots exactly the source.
    const int scanW = freeSize ? w : w + 1, scanH = freeSize ? h : h + 1;
    const ScanArea area{src, scanW, scanH};
    const ShareTable shares(step, d);
    const int shift = fourLevels ? 6 : 7;
    const GreyPath path = KernelPath<GreyPath>::Current();
    std::array<std::int64_t, 4> levelCount{};
    std::vector<std::uint8_t> levels(static_cast<std::size_t>(scanW) *
                                     static_cast<std::size_t>(scanH));
    if (shares.anyLiteral || shares.maxSteps(step) >= kMaxSteps)
        DiffuseLiteral(area, shift, shares, levels, levelCount);
    else if (fourLevels)
        DiffuseExact<6>(area, shares, path, levels, levelCount);
    else if (shares.rightIsSevenThirtySeconds(step))
        DiffuseExact<7>(area, shares, path, levels, levelCount);
    else
        DiffuseLiteral(area, shift, shares, levels, levelCount);

    // Background: the most frequent level, the lower one on equal counts; video frames always
    // level 1.
    int background = 0;
    for (int level = 1; level < 4; ++level)
        if (levelCount[static_cast<std::size_t>(level)] >
            levelCount[static_cast<std::size_t>(background)])
            background = level;
    if (slot == Slot::Video4 || slot == Slot::Video4Wide) background = 1;

    // Four levels show, dark to bright, colour indexes 1, 3, 2, 0: pens 1, 3, 2, 0.
    static constexpr std::uint8_t kFourLevelPen[4] = {1, 3, 2, 0};
    std::array<std::uint8_t, 4> pen = {0, 1, 2, 3};
    if (fourLevels) std::copy(kFourLevelPen, kFourLevelPen + 4, pen.begin());

    // Only the w x h source area goes onto the index picture, not the scanned margin. Pens
    // sit in the red byte; green and blue stay 0.
    Picture out(canvas.width, canvas.height);
    const std::uint8_t backgroundPen = pen[static_cast<std::size_t>(background)];
    const int ox = (canvas.width - w) / 2, oy = (canvas.height - h) / 2;
    const int x0 = std::max(0, ox), x1 = std::min(canvas.width, ox + w);
    for (int y = 0; y < canvas.height; ++y) {
        std::uint8_t* o = out.row(y) + 2;
        const int sy = y - oy;
        if (sy < 0 || sy >= h || x0 >= x1) {
            for (int x = 0; x < canvas.width; ++x)
                o[static_cast<std::size_t>(x) * 3] = backgroundPen;
            continue;
        }
        const std::uint8_t* in =
            levels.data() + static_cast<std::size_t>(sy) * static_cast<std::size_t>(scanW);
        for (int x = 0; x < x0; ++x) o[static_cast<std::size_t>(x) * 3] = backgroundPen;
        grey::LevelsToPens(path, in + (x0 - ox), x1 - x0, pen,
                           out.row(y) + static_cast<std::size_t>(x0) * 3);
        for (int x = x1; x < canvas.width; ++x) o[static_cast<std::size_t>(x) * 3] = backgroundPen;
    }
    state.slots[slot] = std::move(out);

    PaletteSlot& palette = state.palette(slot);
    for (int i = 0; i < kColourCount; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    if (!fourLevels) {
        palette[0] = 1;  // black
        palette[1] = 8;  // white
    }
}

}  // namespace mozu
