#pragma once
// Between a slot's palette and the editor's: the colours an edit starts with, the colours the
// colour dialog offers, and the palette handed back when the edit ends.

#include <vector>

#include "colour/conversion_state.h"
#include "editing/edit_palette.h"

namespace mozu {

// Swatch i: the colour of pen i of the slot (for the source, colour table entry i).
EditPalette SlotEditPalette(const ConversionState& state, Slot slot);

// The colours a swatch of `slot` may take: the 27 CPC colours for the screen and overscan slots
// (and the source); the slot's own four or sixteen pens for the SymbOS slots, whose files keep
// fixed pens.
std::vector<Colour> OfferedColours(const ConversionState& state, Slot slot);

// Whether the slot's file stores its palette: the SymbOS graphics (8-11) have fixed pens, so a
// colour change there recolours pixels and keeps the pens.
bool SlotKeepsPens(Slot slot);

// The edited palette back into the slot's palette, pens 0-15, each pen taking the colour-table
// entry of its swatch's colour. Nothing for the source or for a slot that keeps its pens.
void StoreEditPalette(ConversionState& state, Slot slot, const EditPalette& palette);

}  // namespace mozu
