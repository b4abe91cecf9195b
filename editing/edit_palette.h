#pragma once
// The editor's palette: sixteen swatch colours; those at or above the slot's colour count are
// hidden and unused.

#include <array>

#include "colour/picture.h"
#include "editing/edit_geometry.h"

namespace mozu {

using EditPalette = std::array<Colour, kEditorSwatches>;

}  // namespace mozu
