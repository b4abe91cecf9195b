#include "editing/crop.h"

namespace mozu {

bool CropKeepsSize(Slot slot) {
    return slot != Slot::SgxCpcFree && slot != Slot::SgxMsxFree && slot != Slot::Source;
}

std::optional<PixelRect> CropToSelection(Picture& picture, const PixelRect& selection,
                                         bool keepSize, Colour fill) {
    const PixelRect area = OrderAndClamp(selection, picture.width(), picture.height());
    if (area.empty()) return std::nullopt;
    const int w = area.width(), h = area.height();
    Picture content = picture.crop(area.left, area.top, w, h);
    if (!keepSize) {
        picture = std::move(content);
        return PixelRect{0, 0, w, h};
    }
    const int x = (picture.width() - w) / 2, y = (picture.height() - h) / 2;
    picture.fill(fill);
    picture.draw(content, x, y);
    return PixelRect{x, y, x + w, y + h};
}

}  // namespace mozu
