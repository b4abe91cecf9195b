#include "editing/clipboard.h"

#include <algorithm>
#include <cmath>

#include "editing/colour_mapping.h"

namespace mozu {

EditorClipboard CopySelection(const Picture& picture, const PixelRect& selection, Slot slot,
                              std::span<const Colour> palette) {
    const PixelRect r = OrderAndClamp(selection, picture.width(), picture.height());
    EditorClipboard clipboard;
    clipboard.bitmap = picture.crop(r.left, r.top, r.width(), r.height());
    clipboard.slot = slot;
    clipboard.palette.assign(palette.begin(), palette.end());
    clipboard.copiedAt = {r.left, r.top};
    return clipboard;
}

std::optional<FloatingBlock> PasteFromClipboard(EditorClipboard& clipboard, const Picture& picture,
                                                Slot slot, std::span<const Colour> palette,
                                                const ViewMapping& view) {
    if (clipboard.empty()) return std::nullopt;
    Picture block = clipboard.bitmap;
    MapPasteColours(block, clipboard.slot, clipboard.palette, slot, palette);
    const PixelPoint at{
        std::max(0, std::min(clipboard.copiedAt.x, picture.width() - block.width())),
        std::max(0, std::min(clipboard.copiedAt.y, picture.height() - block.height()))};
    FloatingBlock floating(std::move(block), at, view.scaleX, view.scaleY);
    floating.keepInView(view);
    return floating;
}

std::optional<FloatingBlock> PasteImage(Picture image, Slot slot, std::span<const Colour> palette,
                                        const ViewMapping& view) {
    if (image.empty()) return std::nullopt;
    if (slot != Slot::Source) MapToNearestColours(image, palette);
    // The picture pixel under the view's top left corner, as the mouse would address it.
    const PixelPoint at{static_cast<int>(std::trunc(view.scrollX / view.zoom)) / view.scaleX,
                        static_cast<int>(std::trunc(view.scrollY / view.zoom)) / view.scaleY};
    FloatingBlock floating(std::move(image), at, view.scaleX, view.scaleY);
    floating.keepInView(view);
    return floating;
}

void FillSelection(Picture& picture, const PixelRect& selection, Colour fill) {
    const PixelRect r = OrderAndClamp(selection, picture.width(), picture.height());
    if (r.empty()) return;
    picture.draw(Picture(r.width(), r.height(), fill), r.left, r.top);
}

}  // namespace mozu
