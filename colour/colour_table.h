#pragma once
// The CPC's 27 hardware colours in the program's own order (colour index 0-26), their firmware
// numbers, the folding onto the sixteen-colour subset and the colour cube bins.

#include <array>
#include <cstdint>

#include "colour/picture.h"

namespace mozu {

constexpr int kColourCount = 27;
using ColourTable = std::array<Colour, kColourCount>;

// Positions 0-3 are the fixed four-colour palette, 0-15 the fixed sixteen-colour palette.
inline constexpr ColourTable kDefaultColourTable = {
    MakeColour(255, 255, 128), MakeColour(0, 0, 0),       MakeColour(255, 128, 0),
    MakeColour(128, 0, 0),     MakeColour(0, 255, 255),   MakeColour(0, 0, 128),
    MakeColour(128, 128, 255), MakeColour(0, 0, 255),     MakeColour(255, 255, 255),
    MakeColour(0, 128, 0),     MakeColour(0, 255, 0),     MakeColour(255, 0, 255),
    MakeColour(255, 255, 0),   MakeColour(128, 128, 128), MakeColour(255, 128, 128),
    MakeColour(255, 0, 0),     MakeColour(128, 128, 0),   MakeColour(128, 255, 0),
    MakeColour(128, 0, 128),   MakeColour(255, 0, 128),   MakeColour(0, 128, 128),
    MakeColour(0, 255, 128),   MakeColour(128, 255, 128), MakeColour(128, 0, 255),
    MakeColour(0, 128, 255),   MakeColour(255, 128, 255), MakeColour(128, 255, 255),
};

inline constexpr std::array<std::uint8_t, kColourCount> ColourToFirmware = {
    25, 0, 15, 3,  20, 1, 14, 2,  26, 9, 18, 8,  24, 13,
    16, 6, 12, 21, 4,  7, 10, 19, 22, 5, 11, 17, 23,
};

inline constexpr std::array<std::uint8_t, kColourCount> FirmwareToColour = {
    1, 5, 7,  3,  18, 23, 15, 19, 11, 9,  20, 24, 16, 13,
    6, 2, 14, 25, 10, 21, 4,  17, 22, 26, 12, 0,  8,
};

inline constexpr std::array<std::uint8_t, kColourCount> SixteenFold = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 13, 10, 3, 14, 9, 10, 10, 6, 7, 11, 4,
};

// 16 x (blue div 86) + 4 x (green div 86) + (red div 86): 0-42.
constexpr int ColourBin(int r, int g, int b) {
    return 16 * (b / 86) + 4 * (g / 86) + r / 86;
}
constexpr int ColourBin(Colour c) {
    return ColourBin(Red(c), Green(c), Blue(c));
}
inline constexpr std::array<std::uint8_t, kColourCount> IndexToBin = [] {
    std::array<std::uint8_t, kColourCount> bins{};
    for (int i = 0; i < kColourCount; ++i)
        bins[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(ColourBin(kDefaultColourTable[static_cast<std::size_t>(i)]));
    return bins;
}();
// Bin to colour index; unused bins 0.
inline constexpr std::array<std::uint8_t, 64> BinToIndex = [] {
    std::array<std::uint8_t, 64> index{};
    for (int i = 0; i < kColourCount; ++i)
        index[static_cast<std::size_t>(ColourBin(
            kDefaultColourTable[static_cast<std::size_t>(i)]))] = static_cast<std::uint8_t>(i);
    return index;
}();

}  // namespace mozu
