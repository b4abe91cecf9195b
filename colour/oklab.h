#pragma once
// OKLab, a perceptual colour space in which straight distances match how different two colours
// look: the new reduction methods find the nearest pen and measure error in it, and the quality
// measure compares pictures in it. Pixels are taken as sRGB.

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "colour/picture.h"

namespace mozu {

struct OkLab {
    float L, a, b;
};

// sRGB byte to linear light, 0-1.
inline const std::array<float, 256>& SrgbToLinearTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int v = 0; v < 256; ++v) {
            const double c = v / 255.0;
            t[static_cast<std::size_t>(v)] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table;
}

// Cube root of x >= 0 to within 1e-5: a guess from the exponent bits, then two Newton steps.
// std::cbrt is several times slower, and a conversion takes three per pixel.
inline float FastCbrt(float x) {
    if (x <= 0.0f) return 0.0f;
    float y = std::bit_cast<float>(std::bit_cast<std::uint32_t>(x) / 3 + 709921077u);
    // The guess is within 5%; each step squares the relative error: 3e-3, then 1e-5.
    y = (2.0f * y + x / (y * y)) * (1.0f / 3.0f);
    y = (2.0f * y + x / (y * y)) * (1.0f / 3.0f);
    return y;
}

// Linear light red, green, blue (0-1) to OKLab.
inline OkLab LinearToOkLab(float r, float g, float b) {
    const float l = FastCbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = FastCbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = FastCbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

inline OkLab SrgbToOkLab(int r, int g, int b) {
    const std::array<float, 256>& lin = SrgbToLinearTable();
    return LinearToOkLab(lin[static_cast<std::size_t>(r)], lin[static_cast<std::size_t>(g)],
                         lin[static_cast<std::size_t>(b)]);
}
inline OkLab ColourToOkLab(Colour c) {
    return SrgbToOkLab(Red(c), Green(c), Blue(c));
}

// `count` pixels of blue, green, red bytes to L, a, b and a zero each (four floats a pixel),
// exactly as SrgbToOkLab gives them, four pixels at once where the processor can.
void BgrRowToOkLab(const std::uint8_t* bgr, int count, float* out);

inline float OkLabDistanceSquared(const OkLab& x, const OkLab& y) {
    const float dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return dL * dL + da * da + db * db;
}

}  // namespace mozu
