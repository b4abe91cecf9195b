#pragma once
// Colour reduction with error diffusion.

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// Popularity dithering for the 16- and 4-pen slots 0, 1, 4, 5, 10, 11, 15, 16, 20, 21: picks
// the pens among the 27 colours by how many pixels fall in each colour's cube bin, maps every
// pixel to the nearest pen and passes half of the error on (7, 5, 3, 1 over 32). Slots 10-19
// map each pixel to the sixteen-colour fold of its bin instead. Writes state.slots[slot] (in
// colour-table colours, centred on the slot's canvas) and palette positions 0-26 (not for
// slots 12-19, whose caller sets the palette).
void DitheringCPCPalette2(ConversionState& state, const Picture& src, Slot slot);

// Grey-level dithering for slots 2, 6 (two levels), 8, 9, 13 and 14 (four levels): reduces the
// luminance to the levels with error diffusion. Writes state.slots[slot] as an index picture
// (pens) and the palette slot.
void DitheringCPCPalette(ConversionState& state, const Picture& src, Slot slot);

}  // namespace mozu
