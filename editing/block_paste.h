#pragma once
// Putting a floating block (a moved, mirrored, turned or pasted selection, or the text box) down
// into the picture. Only pixels that fall inside the picture are written, on every edge; in
// transparent mode the pixels of the transparent colour are skipped.

#include "colour/picture.h"
#include "editing/selection_rect.h"

namespace mozu {

// Transparent mode of the floating blocks: off, or on with the colour that is not written.
struct Transparency {
    bool on = false;
    Colour colour = 0;
    bool operator==(const Transparency&) const = default;
};

// "Transparent": switches the mode on with the fill colour current at that moment as the
// transparent colour, or off when it is on. The colour stays what it was when switched on, even
// if the fill colour changes while the block floats.
Transparency ToggleTransparency(const Transparency& mode, Colour fill);

// Writes `block` with its top left corner at picture pixel (x, y); x and y may be negative or
// beyond the picture.
void PutDownBlock(Picture& picture, const Picture& block, int x, int y,
                  const Transparency& mode = {});

// Writes `block` stretched into `target` (picture pixels, corners in order; it may reach past
// the picture), each target pixel taking the block pixel it falls on (nearest, no blending, so
// the block's colours stay the only colours written). A target of the block's own size writes
// the block 1:1.
void PutDownStretched(Picture& picture, const Picture& block, const PixelRect& target,
                      const Transparency& mode = {});

}  // namespace mozu
