#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/dithering.h"
#include "colour/slot_geometry.h"

namespace mozu {

void DitheringCPCPalette(ConversionState& state, const Picture& src, int slot) {
    const int w = src.width(), h = src.height();
    const bool fourLevels = slot == 8 || slot == 9 || slot == 13 || slot == 14;
    const bool freeSize = slot == 9 || slot == 13 || slot == 14;
    const int step = fourLevels ? 64 : 128;
    // Shares of the error: 7, 5, 3 and 1 over 27 (four levels) or 32 (two levels). Each
    // neighbour becomes bajt(trunc(old + share * e)) with share and product in double, exactly
    // as written here for both divisors.
    const double d = fourLevels ? 27.0 : 32.0;
    const double right = 7.0 / d, below = 5.0 / d, belowLeft = 3.0 / d, belowRight = 1.0 / d;

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
    std::array<std::int64_t, 4> levelCount{};
    for (int y = 0; y < scanH; ++y) {
        std::uint8_t* p = &work[static_cast<std::size_t>(y) * stride + 12];
        for (int x = 0; x < scanW; ++x, p += 3) {
            const int lum = LuminanceOf(p[2], p[1], p[0]);
            const int level = lum / step;
            const double e = lum - level * step;
            p[0] = 0;
            p[1] = 0;
            p[2] = static_cast<std::uint8_t>(level);
            ++levelCount[static_cast<std::size_t>(level)];
            if (e == 0) continue;  // old + 0 leaves every neighbour as it is
            const double sRight = right * e, sBelow = below * e, sBelowLeft = belowLeft * e,
                         sBelowRight = belowRight * e;
            std::uint8_t* b = p + stride;
            // Values and shares are never negative, so only the top needs clamping.
            for (int c = 0; c < 3; ++c) {
                p[c + 3] = bajt(static_cast<std::int32_t>(p[c + 3] + sRight));
                b[c] = bajt(static_cast<std::int32_t>(b[c] + sBelow));
                b[c - 3] = bajt(static_cast<std::int32_t>(b[c - 3] + sBelowLeft));
                b[c + 3] = bajt(static_cast<std::int32_t>(b[c + 3] + sBelowRight));
            }
        }
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
