#pragma once
// What the editor makes of each slot it can edit: the working picture's size, the pixel scale
// it is shown at, how many palette swatches it offers, and whether a crop keeps the size.

#include <optional>

#include "colour/slot.h"

namespace mozu {

struct EditGeometry {
    // 0 x 0: the picture keeps the size it is handed over with (the free-size SymbOS slots, the
    // overscan mode 1 slot whose picture is whatever the slot holds, the PC picture itself).
    int width = 0, height = 0;
    int xScale = 1, yScale = 1;  // window pixels per picture pixel at zoom 1
    int colourCount = 1;         // palette swatches shown; the maximum index is one less
    bool cropKeepsSize = true;   // a crop fills around the content rather than shrinking
};

// Slots 0, 1, 2, 4, 5, 6, 8, 9, 10, 11 and the source (255); nothing for any other slot (the
// video frames, the level pictures and the unused slots have no editor).
std::optional<EditGeometry> EditGeometryOf(Slot slot);

inline constexpr int kEditorSwatches = 16;

}  // namespace mozu
