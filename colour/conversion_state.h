#pragma once
// Everything a conversion works on: the source picture, the 23 picture slots with their palette
// slots and flags, the found colours and the colour table. The document owns one; the
// command-line tool and the tests make their own. Nothing in the core keeps pictures elsewhere.

#include <array>
#include <cstdint>
#include <string>

#include "colour/colour_table.h"
#include "colour/picture.h"
#include "colour/slot.h"

namespace mozu {

constexpr int kPaletteSlotSize = 28;

using PaletteSlot = std::array<std::uint8_t, kPaletteSlotSize>;  // colour index of pen p

struct ConversionState {
    Picture source;
    SlotArray<Picture> slots;
    SlotArray<PaletteSlot> palettes{};
    SlotArray<std::uint8_t> converted{};  // 1 = holds a conversion of the source
    SlotArray<std::uint8_t> saved = [] {  // 0 = converted and not yet written
        SlotArray<std::uint8_t> s{};
        s.fill(1);
        return s;
    }();
    // An adjustment changed the source since this slot was converted: convert it again.
    SlotArray<bool> stale{};

    std::int32_t sourceColourCount = 0;
    std::array<Colour, 16> foundColours{};

    Slot currentSlot = Slot::Mode0;  // the slot shown, or the source
    // Where the source came from: Slot::Source for a PC picture or video frame, else the slot of
    // the CPC or SymbOS file it was read from (a file type names the slot it is read into).
    Slot sourceSlot = Slot::Mode0;

    bool noPicture = true;
    bool sourceShown = true;
    bool sourceChanged = false;
    std::string currentFileName;

    ColourTable colourTable = kDefaultColourTable;
    std::array<std::uint8_t, 16>
        modePalette{};  // firmware numbers of pens 0-15, from MakeModePalette

    // Slot s's picture, or the source picture for Slot::Source.
    Picture& picture(Slot s) { return s == Slot::Source ? source : slots[s]; }
    const Picture& picture(Slot s) const { return s == Slot::Source ? source : slots[s]; }
    PaletteSlot& palette(Slot s) { return palettes[s]; }
    const PaletteSlot& palette(Slot s) const { return palettes[s]; }
};

}  // namespace mozu
