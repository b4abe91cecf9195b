#include "colour/dithering_fixed_pens.h"

#include <array>
#include <stdexcept>

#include "colour/colour_ops.h"

namespace mozu {

namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);

// For every colour index, the position of the nearest pen; equal distances go to the lower
// position (the place of "the more popular one" when the pens are a popularity order).
std::array<int, kColourCount> NearestPens(const ConversionState& state,
                                          std::span<const std::uint8_t> pens) {
    std::array<int, kColourCount> nearest{};
    for (int j = 0; j < kColourCount; ++j) {
        const Colour c = state.colourTable[static_cast<std::size_t>(j)];
        int best = 0;
        std::int32_t bestDistance = -1;
        for (std::size_t p = 0; p < pens.size(); ++p) {
            const std::int32_t d = ColorDifferent(c, state.colourTable.at(pens[p]));
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(p);
            }
        }
        nearest[static_cast<std::size_t>(j)] = best;
    }
    return nearest;
}

// Adds share x e to one channel: ClampToByte(truncate(old + share x e)).
void Spread(std::uint8_t* pixel, const std::array<int, 3>& e, double share) {
    for (int c = 0; c < 3; ++c)
        pixel[c] = ClampToByte(
            static_cast<std::int32_t>(pixel[c] + share * e[static_cast<std::size_t>(c)]));
}

}  // namespace

void DitheringFixedPens(ConversionState& state, const Picture& src, Slot slot,
                        std::span<const std::uint8_t> pens) {
    if (pens.empty() || pens.size() > 16) throw std::invalid_argument("1-16 pens expected");
    const int w = src.width();
    const int h = src.height();
    const std::array<int, kColourCount> nearest = NearestPens(state, pens);

    // The work picture has a white margin: four columns left, four right, four rows below. The
    // scan takes one margin column on the right and one margin row below, as the popularity
    // dithering does.
    Picture work(w + 8, h + 4, kWhite);
    work.draw(src, 4, 0);
    auto at = [&work](int x, int y) { return work.row(y) + static_cast<std::size_t>(x + 4) * 3; };
    for (int y = 0; y <= h; ++y) {
        for (int x = 0; x <= w; ++x) {
            std::uint8_t* p = at(x, y);
            const int j = BinToIndex[static_cast<std::size_t>(ColourBin(p[2], p[1], p[0]))];
            const Colour target = state.colourTable.at(
                pens[static_cast<std::size_t>(nearest[static_cast<std::size_t>(j)])]);
            // Channels in pixel byte order: blue, green, red.
            const std::array<int, 3> e = {p[0] - Blue(target), p[1] - Green(target),
                                          p[2] - Red(target)};
            p[0] = static_cast<std::uint8_t>(Blue(target));
            p[1] = static_cast<std::uint8_t>(Green(target));
            p[2] = static_cast<std::uint8_t>(Red(target));
            // Half the error is passed on: the Floyd-Steinberg weights over 32.
            Spread(at(x + 1, y), e, 7.0 / 32);
            Spread(at(x, y + 1), e, 5.0 / 32);
            Spread(at(x - 1, y + 1), e, 3.0 / 32);
            Spread(at(x + 1, y + 1), e, 1.0 / 32);
        }
    }

    state.slots[slot] = work.crop(4, 0, w, h);
    PaletteSlot& pal = state.palette(slot);
    pal.fill(0);
    for (std::size_t p = 0; p < pens.size(); ++p) pal[p] = pens[p];
}

}  // namespace mozu
