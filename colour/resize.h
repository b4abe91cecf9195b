#pragma once
// Scaling a picture to a slot's target by sampling (each target pixel takes one source pixel).

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// Scales the picture in place to fit the slot's target: as large as possible without exceeding
// the target, keeping the proportions in square units. A picture that came from a tall-pixel
// slot (state.sourceSlot) counts twice its rows when the size is computed; the sampling itself
// uses the real rows. Slots without a target leave the picture as it is.
void ResizeBitmap(const ConversionState& state, Picture& picture, Slot slot);
// The same as a new picture, the original untouched: a conversion's working copy made at its
// target size, without first copying the whole source.
Picture ResizeBitmap(const ConversionState& state, const Picture& picture, Slot slot);

// newW x newH picture whose pixel (x, y) is source pixel
// (srcX + trunc(x * srcW / newW), srcY + trunc(y * srcH / newH)); a source position outside
// the picture gives white.
Picture SamplePicture(const Picture& src, int srcX, int srcY, int srcW, int srcH, int newW,
                      int newH);

}  // namespace mozu
