#pragma once
// Everything a conversion works on: the source picture, the 23 picture slots with their palette
// slots and flags, the found colours and the colour table. The main window owns one; the
// command-line tool and the tests make their own. Nothing in the core keeps pictures elsewhere.

#include <array>
#include <cstdint>
#include <string>

#include "colour/colour_table.h"
#include "colour/picture.h"

namespace mozu {

constexpr int kSlotCount = 23;
constexpr int kPaletteSlotSize = 28;
constexpr int kSourceSlot = 255;  // "the source picture itself"

using PaletteSlot = std::array<std::uint8_t, kPaletteSlotSize>;  // colour index of pen p

struct ConversionState {
    Picture source;
    std::array<Picture, kSlotCount> slots;
    std::array<PaletteSlot, kSlotCount> palettes{};
    std::array<std::uint8_t, kSlotCount> converted{};  // 1 = holds a conversion of the source
    std::array<std::uint8_t, kSlotCount> saved = [] {  // 0 = converted and not yet written
        std::array<std::uint8_t, kSlotCount> s{};
        s.fill(1);
        return s;
    }();
    // An adjustment changed the source since this slot was converted: convert it again.
    std::array<bool, kSlotCount> stale{};

    std::int32_t sourceColourCount = 0;
    std::array<Colour, 16> foundColours{};

    std::uint8_t currentSlot = 0;  // slot shown; 255 the source; 100/200 a paused/playing video
    std::uint8_t sourceSlot = 0;   // 255 a PC picture, else the file type or slot it came from
    std::int32_t fileType = 0;

    bool noPicture = true;
    bool sourceShown = true;
    bool sourceChanged = false;
    std::string currentFileName;
    std::string saveSelection = "TTTTTTTTTTTTTTTT";

    ColourTable colourTable = kDefaultColourTable;
    std::array<std::uint8_t, 16> modePalette{};  // firmware numbers of pens 0-15, from Paleta

    // The main window's outer size; Contrast derives its threshold from it.
    int windowWidth = 794;
    int windowHeight = 691;

    // Slot s's picture, or the source picture for 255.
    Picture& picture(int s) {
        return s == kSourceSlot ? source : slots.at(static_cast<std::size_t>(s));
    }
    const Picture& picture(int s) const {
        return s == kSourceSlot ? source : slots.at(static_cast<std::size_t>(s));
    }
    PaletteSlot& palette(int s) { return palettes.at(static_cast<std::size_t>(s)); }
    const PaletteSlot& palette(int s) const { return palettes.at(static_cast<std::size_t>(s)); }
};

}  // namespace mozu
