#pragma once
// Turning a slot picture (colour-table colours) into an index picture (pen k stored as red = k,
// green = 0, blue = 0) and back.

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// S := index picture of P with the key colours of slot m: pen k for the colour of palette slot
// m position k (slot 255: found colour k, pens up to the source colour count minus 1, at least
// 1, at most 15). Pixels of no key colour keep their value. When two keys are equal, the lower
// pen wins. P and S may be the same picture.
void BMP2Indexed(const ConversionState& state, const Picture& p, Picture& s, Slot m);

// S := picture whose pen k pixels take the colour of palette slot m position k. P and S may be
// the same picture.
void Indexed2BMP(const ConversionState& state, const Picture& p, Picture& s, Slot m);

}  // namespace mozu
