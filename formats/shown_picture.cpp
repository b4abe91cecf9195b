#include "formats/shown_picture.h"

#include <algorithm>
#include <cstring>

#include "colour/slot_geometry.h"

namespace mozu {

PixelShape PixelShapeOf(FileType type) {
    if (!IsPictureFileType(type)) return {1, 1};
    const SlotGeometry g = GetSlotGeometry(SlotOfFileType(type));
    return {std::max(g.xf, 1), std::max(g.yf, 1)};
}

Picture AtPixelShape(const Picture& picture, PixelShape shape) {
    if (shape.xf == 1 && shape.yf == 1) return picture;
    Picture shown(picture.width() * shape.xf, picture.height() * shape.yf);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* in = picture.row(y);
        std::uint8_t* out = shown.row(y * shape.yf);
        for (int x = 0; x < picture.width(); ++x)
            for (int k = 0; k < shape.xf; ++k)
                std::memcpy(out + 3 * (x * shape.xf + k), in + 3 * x, 3);
        for (int k = 1; k < shape.yf; ++k)
            std::memcpy(shown.row(y * shape.yf + k), out, shown.stride());
    }
    return shown;
}

}  // namespace mozu
