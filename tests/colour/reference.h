#pragma once
// Deliberately plain versions of the colour engine's operations, written step by step as the
// operations are defined (pixel by pixel, every pass literally, shares in double). The tests
// pin the fast versions against them on random pictures and on the sample photograph.

#include <array>
#include <cstdint>

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu::reference {

// Walks all 16,777,216 colour positions, green outer, red, blue inner.
std::int32_t CountColors(const Picture& picture, std::array<Colour, 16>& found);

// Size computation and sampling of the resize, with the source's tall-pixel flag given.
Picture ResizeBitmap(const Picture& picture, Slot slot, bool tallSource);

// Both passes over the whole picture, for every key, one after the other.
Picture BMP2Indexed(const Picture& p, const Colour* keys, int n);
Picture Indexed2BMP(const Picture& p, const ConversionState& state, Slot m, int n);

// The ditherers, writing state.slots[slot] and the palette slot like the real ones.
void DitheringCPCPalette2(ConversionState& state, const Picture& src, Slot slot);
void DitheringCPCPalette(ConversionState& state, const Picture& src, Slot slot);

// FNV-1a 64 over the picture's size, its bytes and palette positions 0-15 of the slot.
std::uint64_t SlotChecksum(const ConversionState& state, Slot slot);

}  // namespace mozu::reference
