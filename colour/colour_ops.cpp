#include "colour/colour_ops.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace mozu {

std::int32_t ColorDifferent(Colour a, Colour b) {
    return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
}

std::uint8_t Luminance(Colour c) {
    return LuminanceOf(Red(c), Green(c), Blue(c));
}

Colour GetColor(const ConversionState& state, int p, Slot s) {
    const int index = s == Slot::Source ? p : state.palette(s).at(static_cast<std::size_t>(p));
    if (index < 0 || index >= kColourCount) return MakeColour(0, 0, 0);
    return state.colourTable[static_cast<std::size_t>(index)];
}

bool SetColor(ConversionState& state, Colour c, int p, Slot s) {
    if (s == Slot::Source) return false;
    PaletteSlot& palette = state.palette(s);
    bool found = false;
    for (int j = 0; j < kColourCount; ++j) {
        if (state.colourTable[static_cast<std::size_t>(j)] == c) {
            palette.at(static_cast<std::size_t>(p)) = static_cast<std::uint8_t>(j);
            found = true;
        }
    }
    return found;
}

void MakeModePalette(ConversionState& state, Slot s) {
    const PaletteSlot& palette = state.palette(s);
    for (std::size_t i = 0; i < 16; ++i) {
        // An entry that is no colour index (only a damaged palette holds one) becomes black.
        state.modePalette[i] = palette[i] < kColourCount ? ColourToFirmware[palette[i]] : 0;
    }
}

void PaletteFromFirmware(ConversionState& state, Slot s) {
    PaletteSlot& palette = state.palette(s);
    for (std::size_t i = 0; i < 16; ++i) {
        // Firmware numbers run 0-26; a file byte above that is damaged and reads as black
        // (firmware 0, colour index 1) rather than reaching past the table.
        palette[i] = palette[i] < kColourCount ? FirmwareToColour[palette[i]] : FirmwareToColour[0];
    }
}

void ColourSequence(ConversionState& state, Slot s, int n) {
    PaletteSlot& palette = state.palette(s);
    if (n <= 0) return;
    n = std::min(n, kPaletteSlotSize - 1);
    struct Pen {
        std::uint8_t index;
        std::uint8_t luminance;
    };
    std::array<Pen, kPaletteSlotSize> pens{};
    for (int k = 0; k <= n; ++k) {
        const std::uint8_t index = palette[static_cast<std::size_t>(k)];
        const Colour c = index < kColourCount ? state.colourTable[index] : MakeColour(0, 0, 0);
        pens[static_cast<std::size_t>(k)] = {index, Luminance(c)};
    }
    // Swapping only strictly darker neighbours forward, as the pen order is defined, ends in
    // exactly the stable ascending order.
    std::stable_sort(pens.begin(), pens.begin() + n + 1,
                     [](const Pen& a, const Pen& b) { return a.luminance < b.luminance; });
    for (int k = 0; k <= n; ++k)
        palette[static_cast<std::size_t>(k)] = pens[static_cast<std::size_t>(k)].index;
}

}  // namespace mozu
