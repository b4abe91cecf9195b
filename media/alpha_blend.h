#pragma once
// Pictures with transparency (PNG, GIF, TGA) are shown over a background colour: Mozu's
// pictures have no alpha channel.

#include <cstdint>

#include "colour/picture.h"

namespace mozu {

// One channel of `over` at opacity `alpha` (0-255) on `under`, rounded.
inline std::uint8_t BlendChannel(int over, int under, int alpha) {
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

// Red, green, blue, alpha pixels (`count` of them) into blue, green, red over `background`.
inline void BlendRgbaRow(const std::uint8_t* rgba, std::uint8_t* bgr, int count,
                         Colour background) {
    const int br = Red(background), bg = Green(background), bb = Blue(background);
    for (int x = 0; x < count; ++x, rgba += 4, bgr += 3) {
        const int a = rgba[3];
        bgr[0] = BlendChannel(rgba[2], bb, a);
        bgr[1] = BlendChannel(rgba[1], bg, a);
        bgr[2] = BlendChannel(rgba[0], br, a);
    }
}

}  // namespace mozu
