#pragma once
// "Crop": the picture is cut down to the selection's content. Slots whose files have a fixed
// picture size keep that size (the content is centred on the fill colour); the free-size slots
// and the PC picture shrink to the content.

#include <optional>

#include "colour/picture.h"
#include "colour/slot.h"
#include "editing/selection_rect.h"

namespace mozu {

// False for the slots whose picture may take any size: 9, 11 and 255 (the PC picture).
bool CropKeepsSize(Slot slot);

// Crops `picture` to `selection` (ordered and clamped first). With `keepSize` the picture is
// filled with `fill` and the content drawn back centred at ((width - w) / 2, (height - h) / 2);
// without it the picture becomes the content. Returns the content's rectangle in the new
// picture, which becomes the selection, so that a second crop crops the same content again.
// A selection with no content inside the picture changes nothing and gives none. The caller
// saves its undo point first.
std::optional<PixelRect> CropToSelection(Picture& picture, const PixelRect& selection,
                                         bool keepSize, Colour fill);

}  // namespace mozu
