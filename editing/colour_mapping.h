#pragma once
// The colours of a pasted block. A block copied in one slot and pasted into another is mapped
// by brightness rank: the copied slot's colours and the current slot's colours are each sorted
// by luminance, and the k-th darkest copied colour becomes the k-th darkest current colour (with
// fewer current colours, each takes an equal run of copied colours). So a mode 0 block pasted
// into mode 1 keeps its light and dark parts. A block that brings no palette of its own (one
// copied from the PC picture, or an image from the system clipboard) takes, colour by colour,
// the nearest colour of the current palette. The PC picture (slot 255) has no palette: a block
// pasted into it keeps its colours.

#include <span>
#include <vector>

#include "colour/picture.h"
#include "colour/slot.h"

namespace mozu {

// Sorts the colours by luminance, darkest first; equal luminances keep their order.
void SortColors(std::vector<Colour>& colours);

// The colour each of the sorted copied colours becomes, given the sorted current colours: the
// k-th of `from` becomes the k-th of `to` when `to` has as many or more colours; otherwise runs
// of from.size() / to.size() copied colours share one current colour (a remainder, which the
// slots' 16, 4 and 2 colours never leave, takes the lightest).
std::vector<Colour> PasteColourTargets(std::span<const Colour> from, std::span<const Colour> to);

// The palette colour nearest to c (smallest ColorDifferent; the first of equals).
Colour NearestColour(Colour c, std::span<const Colour> palette);

// Maps every pixel to the nearest colour of `palette` (an image from the system clipboard or a
// block copied from the PC picture). An empty palette leaves the block as it is.
void MapToNearestColours(Picture& block, std::span<const Colour> palette);

// Maps a block copied in slot `fromSlot`, whose palette was `fromPalette` (that slot's colours),
// for pasting into slot `toSlot` with palette `toPalette`. Sorts `fromPalette` by luminance in
// place, as the clipboard keeps it. Into slot 255 the block keeps its colours; from slot 255 each
// colour takes the nearest of `toPalette`; otherwise by brightness rank as above, every pixel
// mapped once. A pixel of a colour outside `fromPalette` (none in a block copied from a
// converted slot) takes the nearest colour of `toPalette`, so that the slot never receives a
// colour its pens cannot show.
void MapPasteColours(Picture& block, Slot fromSlot, std::vector<Colour>& fromPalette, Slot toSlot,
                     std::span<const Colour> toPalette);

}  // namespace mozu
