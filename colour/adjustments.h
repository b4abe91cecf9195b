#pragma once
// Picture adjustments applied in place before a conversion: level stretch, contrast, brightness.

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// Stretches the luminance range so that about 0.9 % of the sampled pixels (every fourth row
// and column) at each end are clipped; the same table is applied to red, green and blue.
// Pictures smaller than 10 pixels either way, and ranges under 10, are left unchanged.
void Autobalance(Picture& picture);

// Scales each channel by percent / 100 about a point derived from the range of that channel's
// values that occur often enough (the threshold comes from the main window size in the state).
void Contrast(const ConversionState& state, Picture& picture, int percent);

// Multiplies each channel by percent / 100, rounding halves to even, clamped to 0-255.
void Brightness(Picture& picture, int percent);

}  // namespace mozu
