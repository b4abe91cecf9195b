#pragma once
// Small pictures drawn as text for the drawing tests: one character a pixel, '.' background,
// '#' pen, 'o' fill; and the way back, so a failing test prints the picture it got.

#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu::test {

inline constexpr Colour kArtBackground = MakeColour(255, 255, 255);
inline constexpr Colour kArtPen = MakeColour(0, 0, 0);
inline constexpr Colour kArtFill = MakeColour(255, 0, 0);

inline Picture FromArt(const std::vector<std::string>& rows) {
    Picture p(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), kArtBackground);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            p.setPixel(x, y, c == '#' ? kArtPen : c == 'o' ? kArtFill : kArtBackground);
        }
    return p;
}

inline std::string ToArt(const Picture& p) {
    std::string s = "\n";
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const Colour c = p.pixel(x, y);
            s += c == kArtPen ? '#' : c == kArtFill ? 'o' : c == kArtBackground ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

}  // namespace mozu::test
