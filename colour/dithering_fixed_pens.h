#pragma once
// Popularity dithering with pens given by the caller instead of a popularity order of the
// picture's own: the level pictures are dithered with the pens of their overscan slot, so that
// every pixel is one of that palette's pens.

#include <cstdint>
#include <span>

#include "colour/conversion_state.h"

namespace mozu {

// Dithers `src` as DitheringCPCPalette2 does for `slot` (error diffusion with half the error
// passed on), with `pens` (colour indexes) in place of the popular colours: every colour maps
// to its nearest pen, on equal distances the lower position. The slot's picture takes the result
// at src's size; palette positions 0-26 := 0, then 0..pens.size()-1 := pens.
void DitheringFixedPens(ConversionState& state, const Picture& src, Slot slot,
                        std::span<const std::uint8_t> pens);

}  // namespace mozu
