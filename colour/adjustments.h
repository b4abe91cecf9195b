#pragma once
// Picture adjustments applied in place before a conversion: level stretch, contrast, brightness.

#include "colour/picture.h"

namespace mozu {

// Stretches the luminance range so that about 0.9 % of the sampled pixels (every fourth row
// and column) at each end are clipped; the same table is applied to red, green and blue.
// Pictures smaller than 10 pixels either way, and ranges under 10, are left unchanged.
void Autobalance(Picture& picture);

// The size of the window a picture is adjusted in. Contrast counts a value as occurring "often
// enough" when it is seen more than (width / 10) x (height / 10) / 100 times, so its result
// depends on that size: callers pass the window's, or kMainWindowArea (document/document.h)
// to match the main window.
struct ContrastArea {
    int width;
    int height;
};

// Scales each channel by percent / 100 about a point derived from the range of that channel's
// values that occur often enough (the threshold comes from `area`).
void Contrast(Picture& picture, int percent, ContrastArea area);

// Multiplies each channel by percent / 100, rounding halves to even, clamped to 0-255.
void Brightness(Picture& picture, int percent);

}  // namespace mozu
