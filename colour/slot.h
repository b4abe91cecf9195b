#pragma once
// Picture slots by name. Every target format has a slot that holds its converted picture and
// the palette of its pens; the numbers are the ones the file types and the save selection use,
// so they never change. Slots 3, 7, 12, 17-19 and 22 exist (a save selection has a character
// for them) but nothing fills them; 255 stands for the source picture itself.

#include <array>
#include <cstddef>
#include <cstdint>

namespace mozu {

enum class Slot : std::uint8_t {
    Mode0 = 0,  // CPC mode 0, 160 x 200, 16 pens
    Mode1 = 1,  // CPC mode 1, 320 x 200, 4 pens
    Mode2 = 2,  // CPC mode 2, 640 x 200, 2 pens
    Unused3 = 3,
    Overscan0 = 4,    // 184 x 264
    Overscan1 = 5,    // 368 x 264
    Overscan2 = 6,    // 736 x 264
    Unused7 = 7,      // four pens, like the mode 1 slots around it
    SgxCpc = 8,       // four-colour SymbOS graphic, 320 x 200
    SgxCpcFree = 9,   // four-colour SymbOS graphic at the source's size
    SgxMsx = 10,      // sixteen-colour SymbOS graphic, 512 x 212
    SgxMsxFree = 11,  // sixteen-colour SymbOS graphic at the source's size
    Unused12 = 12,
    Video4 = 13,      // four-colour video frame, 192 wide
    Video4Wide = 14,  // four-colour video frame, 224 wide (wide pictures)
    Video16 = 15,     // sixteen-colour video frame, 240 wide
    Video16Wide = 16,
    Unused17 = 17,
    Unused18 = 18,
    Unused19 = 19,
    Level0 = 20,  // mode 0 level picture: overscan 0 with its thumbnail
    Level1 = 21,  // mode 1 level picture
    Unused22 = 22,
    Source = 255,
};

// Slots 0-22: the ones with a picture and palette of their own.
inline constexpr int kSlotCount = 23;

constexpr std::size_t SlotIndex(Slot s) {
    return static_cast<std::size_t>(s);
}
constexpr int SlotNumber(Slot s) {
    return static_cast<int>(s);
}
// Slot `n` of 0-22 (or 255), for loops over every slot and numbers read from stored bytes.
constexpr Slot SlotFromNumber(int n) {
    return static_cast<Slot>(n);
}

// The screen and overscan slots of CPC screen mode 0, 1 or 2.
constexpr Slot ScreenSlot(int mode) {
    return static_cast<Slot>(SlotNumber(Slot::Mode0) + mode);
}
constexpr Slot OverscanSlot(int mode) {
    return static_cast<Slot>(SlotNumber(Slot::Overscan0) + mode);
}

// One value per slot 0-22, indexed by slot. The underlying array's own operator[] is hidden so
// that a slot is never confused with some other small number.
template <typename T>
struct SlotArray : std::array<T, kSlotCount> {
    T& operator[](Slot s) { return this->at(SlotIndex(s)); }
    const T& operator[](Slot s) const { return this->at(SlotIndex(s)); }
};

}  // namespace mozu
