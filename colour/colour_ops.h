#pragma once
// Colour arithmetic shared by every conversion, and the small operations on palette slots.

#include <cstdint>

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// Clamps v to 0-255.
constexpr std::uint8_t ClampToByte(std::int32_t v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Sum of the absolute channel differences (0-765).
std::int32_t ColorDifferent(Colour a, Colour b);

// 0.299 R + 0.587 G + 0.114 B in double, summed in that order, truncated toward zero. Grey 128
// gives 127 because the sum falls just below 128.
inline std::uint8_t LuminanceOf(int r, int g, int b) {
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    return ClampToByte(static_cast<std::int32_t>(y));
}
std::uint8_t Luminance(Colour c);

// Slot 255: colour table entry p; otherwise the colour of pen p of palette slot s. A palette
// entry outside 0-26 (never written by the conversions) reads as black.
Colour GetColor(const ConversionState& state, int p, Slot s);
// Puts the colour index of c into position p of palette slot s. False (nothing changes) when c
// is no colour of the table or s is 255.
bool SetColor(ConversionState& state, Colour c, int p, Slot s);
// state.modePalette := firmware numbers of pens 0-15 of palette slot s.
void MakeModePalette(ConversionState& state, Slot s);
// Positions 0-15 of palette slot s hold firmware numbers (as read from a file): turn them into
// colour indexes.
void PaletteFromFirmware(ConversionState& state, Slot s);
// Sorts positions 0-n of palette slot s by luminance, darkest first; equal luminances keep
// their order.
void ColourSequence(ConversionState& state, Slot s, int n);

}  // namespace mozu
