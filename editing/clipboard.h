#pragma once
// The editor's own clipboard (kept for the whole run, so a block copied in one slot can be
// pasted into the picture of another), Copy and Paste, and pasting an image from the system
// clipboard.

#include <optional>
#include <span>
#include <vector>

#include "colour/picture.h"
#include "colour/slot.h"
#include "editing/floating_block.h"
#include "editing/selection_rect.h"

namespace mozu {

struct EditorClipboard {
    Picture bitmap;
    Slot slot = Slot::Source;     // the slot it was copied from
    std::vector<Colour> palette;  // that slot's colours, as many as its colour count
    PixelPoint copiedAt;          // where the block's top left corner was
    bool empty() const { return bitmap.empty(); }
};

// Copy: the selection's content (ordered and clamped), the slot and its palette colours.
EditorClipboard CopySelection(const Picture& picture, const PixelRect& selection, Slot slot,
                              std::span<const Colour> palette);

// Paste: a floating block, opaque, of the clipboard's bitmap with its colours mapped for `slot`
// (colour_mapping.h), placed where it was copied and moved left and up as far as needed to lie
// inside `picture` where it fits (a block copied from a larger picture), then kept within reach
// of the view. The clipboard keeps its palette sorted by luminance. None when it is empty.
std::optional<FloatingBlock> PasteFromClipboard(EditorClipboard& clipboard, const Picture& picture,
                                                Slot slot, std::span<const Colour> palette,
                                                const ViewMapping& view);

// An image from the system clipboard as a floating block: each colour becomes the nearest of
// the slot's palette (slot 255 keeps the image's colours), placed at the top left of the part of
// the picture the view shows. None for an empty image.
std::optional<FloatingBlock> PasteImage(Picture image, Slot slot, std::span<const Colour> palette,
                                        const ViewMapping& view);

// Delete: the selection's content (ordered and clamped) becomes the fill colour.
void FillSelection(Picture& picture, const PixelRect& selection, Colour fill);

}  // namespace mozu
