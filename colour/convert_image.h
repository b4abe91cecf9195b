#pragma once
// Exact-colour conversion: every source colour gets a CPC colour of its own, no dithering.

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// Uses state.foundColours and state.sourceColourCount (at most the slot's pens). Sets palette
// slot `slot` (positions 0-26) so that position k is the CPC colour given to found colour k;
// for slots 8 and 9 it also orders the found colours by luminance, darkest first. For slots
// other than 9 and 11, dst := the slot's canvas filled with the colour of position 0 with src
// drawn unchanged at its centre. src and dst may be the same picture.
void ConvertImage(ConversionState& state, const Picture& src, Picture& dst, Slot slot);

}  // namespace mozu
