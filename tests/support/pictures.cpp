#include "tests/support/pictures.h"

#include <cmath>

namespace mozu::test {

namespace {
int Clamp(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
}  // namespace

Picture RandomPicture(int w, int h, unsigned seed, int colours) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<Colour> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(MakeColour(byte(rng), byte(rng), byte(rng)));
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(
                x, y,
                colours > 0
                    ? palette[static_cast<std::size_t>(rng() % static_cast<unsigned>(colours))]
                    : MakeColour(byte(rng), byte(rng), byte(rng)));
    return p;
}

Picture SmoothPicture(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-12, 12);
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double r = 128 + 120 * std::sin(x * 0.05 + seed);
            const double g = 128 + 120 * std::cos(y * 0.07 + x * 0.01);
            const double b = 255.0 * (x + y) / (w + h);
            p.setPixel(x, y,
                       MakeColour(Clamp(static_cast<int>(r) + noise(rng)),
                                  Clamp(static_cast<int>(g) + noise(rng)),
                                  Clamp(static_cast<int>(b) + noise(rng))));
        }
    return p;
}

Picture RandomIndexPicture(std::mt19937& rng, int w, int h, int pens) {
    Picture p(w, h);
    std::uniform_int_distribution<int> pen(0, pens - 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.setPixel(x, y, MakeColour(pen(rng), 0, 0));
    return p;
}

std::vector<std::uint8_t> PensOf(const Picture& index) {
    std::vector<std::uint8_t> pens;
    pens.reserve(static_cast<std::size_t>(index.width()) *
                 static_cast<std::size_t>(index.height()));
    for (int y = 0; y < index.height(); ++y)
        for (int x = 0; x < index.width(); ++x)
            pens.push_back(static_cast<std::uint8_t>(Red(index.pixel(x, y))));
    return pens;
}

}  // namespace mozu::test
