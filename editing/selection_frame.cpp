#include "editing/selection_frame.h"

#include <algorithm>
#include <cmath>

namespace mozu {

int BlinkFrameWidth(double zoom) {
    if (!(zoom > 0)) return 1;
    return std::max(1, static_cast<int>(std::trunc(1.0 / zoom)));
}

void InvertFrame(Picture& picture, const PixelRect& rect, int thickness) {
    const int l = std::min(rect.left, rect.right), r = std::max(rect.left, rect.right);
    const int t = std::min(rect.top, rect.bottom), b = std::max(rect.top, rect.bottom);
    const int x0 = std::max(0, l), x1 = std::min(picture.width(), r);
    const int y0 = std::max(0, t), y1 = std::min(picture.height(), b);
    // NOT(byte XOR grey) for each of blue, green, red.
    const std::uint8_t mask[3] = {static_cast<std::uint8_t>(~Blue(kFrameGrey)),
                                  static_cast<std::uint8_t>(~Green(kFrameGrey)),
                                  static_cast<std::uint8_t>(~Red(kFrameGrey))};
    for (int y = y0; y < y1; ++y) {
        const bool edgeRow = y - t < thickness || b - 1 - y < thickness;
        std::uint8_t* row = picture.row(y);
        for (int x = x0; x < x1; ++x) {
            if (!edgeRow && x - l >= thickness && r - 1 - x >= thickness) {
                x = std::max(x, r - thickness) - 1;  // skip the inside of the ring
                continue;
            }
            std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] ^ mask[c]);
        }
    }
}

void SelectionFrame::showSteady(Picture& picture, const PixelRect& rect) {
    hideSteady(picture);
    InvertFrame(picture, rect, kSteadyFrameWidth);
    steady_ = rect;
}

void SelectionFrame::blink(Picture& picture, const PixelRect& rect, double zoom) {
    if (blink_) {
        InvertFrame(picture, *blink_, blinkWidth_);
        blink_.reset();
        return;
    }
    blinkWidth_ = BlinkFrameWidth(zoom);
    InvertFrame(picture, rect, blinkWidth_);
    blink_ = rect;
}

void SelectionFrame::hideSteady(Picture& picture) {
    if (!steady_) return;
    InvertFrame(picture, *steady_, kSteadyFrameWidth);
    steady_.reset();
}

void SelectionFrame::hide(Picture& picture) {
    hideSteady(picture);
    if (blink_) InvertFrame(picture, *blink_, blinkWidth_);
    blink_.reset();
}

}  // namespace mozu
