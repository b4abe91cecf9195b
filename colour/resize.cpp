#include "colour/resize.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "colour/slot_geometry.h"

namespace mozu {

Picture SamplePicture(const Picture& src, int srcX, int srcY, int srcW, int srcH, int newW,
                      int newH) {
    Picture out(std::max(0, newW), std::max(0, newH), MakeColour(255, 255, 255));
    if (out.empty()) return out;
    // Source column of every target column, or -1 outside the source.
    std::vector<int> columns(static_cast<std::size_t>(out.width()));
    bool identity = true;  // every target column is the next source column
    for (int x = 0; x < out.width(); ++x) {
        const long long sx = srcX + static_cast<long long>(x) * srcW / out.width();
        columns[static_cast<std::size_t>(x)] =
            sx >= 0 && sx < src.width() ? static_cast<int>(sx) : -1;
        identity = identity && sx == srcX + x && sx >= 0 && sx < src.width();
    }
    std::size_t validBegin = 0, validEnd = columns.size();
    while (validBegin < validEnd && columns[validBegin] < 0) ++validBegin;
    while (validEnd > validBegin && columns[validEnd - 1] < 0) --validEnd;
    for (int y = 0; y < out.height(); ++y) {
        const long long sy = srcY + static_cast<long long>(y) * srcH / out.height();
        if (sy < 0 || sy >= src.height()) continue;  // stays white
        const std::uint8_t* in = src.row(static_cast<int>(sy));
        std::uint8_t* o = out.row(y);
        // Rows that sample the same source row are equal: copy the previous one.
        if (y > 0 && srcY + static_cast<long long>(y - 1) * srcH / out.height() == sy) {
            std::memcpy(o, out.row(y - 1), out.stride());
            continue;
        }
        if (identity) {
            std::memcpy(o, in + static_cast<std::size_t>(srcX) * 3, out.stride());
            continue;
        }
        // Within the source's columns (one run, as the columns only grow), a pixel is copied
        // as four bytes, its own three and one that the next pixel overwrites, where the
        // fourth byte exists in the source.
        const std::size_t wideEnd =
            sy + 1 < src.height() && validEnd > validBegin ? validEnd - 1 : validBegin;
        std::size_t x = validBegin;
        for (; x < wideEnd; ++x)
            std::memcpy(o + x * 3, in + static_cast<std::size_t>(columns[x]) * 3, 4);
        for (; x < validEnd; ++x) {
            const std::uint8_t* p = in + static_cast<std::size_t>(columns[x]) * 3;
            o[x * 3] = p[0];
            o[x * 3 + 1] = p[1];
            o[x * 3 + 2] = p[2];
        }
    }
    return out;
}

namespace {

struct Target {
    bool resize = false;  // false: the picture keeps its size
    int width = 0, height = 0;
};

Target ResizeTarget(const ConversionState& state, const Picture& picture, Slot slot) {
    if (picture.empty()) return {};
    const SlotGeometry g = GetSlotGeometry(slot);
    const double W = picture.width();
    const double H = picture.height() * (IsTallPixelSlot(state.sourceSlot) ? 2 : 1);
    int tw = g.width, th = g.height;
    if (slot == Slot::SgxCpcFree || slot == Slot::SgxMsxFree) {
        tw = picture.width();
        th = static_cast<int>(H);
    }
    // A slot without a target would give f = infinity and an empty picture: keep the picture.
    if (tw <= 0) return {};
    const double fx = W / (static_cast<double>(tw) * g.xf);
    const double fy = th > 0 ? H / (static_cast<double>(th) * g.yf) : 0.0;
    const double f = std::max(fx, fy);
    // Round halves to even, in the order H / f / yf. A row or column never vanishes: a sliver
    // of a picture keeps at least one pixel.
    const int newH = std::max(1, static_cast<int>(std::nearbyint(H / f / g.yf)));
    // Video frames (13 and up) always take the full target width.
    const int newW =
        SlotNumber(slot) < 13 ? std::max(1, static_cast<int>(std::nearbyint(W / f / g.xf))) : tw;
    if (newW == picture.width() && newH == picture.height()) return {};
    return {true, newW, newH};
}

}  // namespace

void ResizeBitmap(const ConversionState& state, Picture& picture, Slot slot) {
    const Target t = ResizeTarget(state, picture, slot);
    if (t.resize)
        picture =
            SamplePicture(picture, 0, 0, picture.width(), picture.height(), t.width, t.height);
}

Picture ResizeBitmap(const ConversionState& state, const Picture& picture, Slot slot) {
    const Target t = ResizeTarget(state, picture, slot);
    if (!t.resize) return picture;
    return SamplePicture(picture, 0, 0, picture.width(), picture.height(), t.width, t.height);
}

}  // namespace mozu
