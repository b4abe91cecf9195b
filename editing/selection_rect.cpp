#include "editing/selection_rect.h"

#include <algorithm>

namespace mozu {

PixelRect OrderAndClamp(PixelRect r, int width, int height) {
    PixelRect out{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                  std::max(r.top, r.bottom)};
    out.left = std::clamp(out.left, 0, std::max(0, width));
    out.right = std::clamp(out.right, 0, std::max(0, width));
    out.top = std::clamp(out.top, 0, std::max(0, height));
    out.bottom = std::clamp(out.bottom, 0, std::max(0, height));
    return out;
}

std::optional<PixelRect> SelectionFromDrag(PixelPoint start, PixelPoint end, int width,
                                           int height) {
    const PixelRect r = OrderAndClamp({start.x, start.y, end.x, end.y}, width, height);
    if (r.empty()) return std::nullopt;
    return r;
}

PixelRect SelectAll(int width, int height) {
    return {0, 0, std::max(0, width), std::max(0, height)};
}

bool InSelectedArea(const PixelRect& selection, int x, int y) {
    return selection.left <= x && x <= selection.right && selection.top <= y &&
           y <= selection.bottom;
}

}  // namespace mozu
