#include "editing/block_paste.h"

#include <algorithm>
#include <cstring>

namespace mozu {

Transparency ToggleTransparency(const Transparency& mode, Colour fill) {
    if (mode.on) return {};
    return {true, fill};
}

void PutDownBlock(Picture& picture, const Picture& block, int x, int y, const Transparency& mode) {
    if (!mode.on) {
        picture.draw(block, x, y);  // clipped to the picture
        return;
    }
    PutDownStretched(picture, block, {x, y, x + block.width(), y + block.height()}, mode);
}

void PutDownStretched(Picture& picture, const Picture& block, const PixelRect& target,
                      const Transparency& mode) {
    const int tw = target.width(), th = target.height();
    if (block.empty() || tw <= 0 || th <= 0) return;
    const int x0 = std::max(0, target.left), x1 = std::min(picture.width(), target.right);
    const int y0 = std::max(0, target.top), y1 = std::min(picture.height(), target.bottom);
    const std::uint8_t key[3] = {static_cast<std::uint8_t>(Blue(mode.colour)),
                                 static_cast<std::uint8_t>(Green(mode.colour)),
                                 static_cast<std::uint8_t>(Red(mode.colour))};
    for (int y = y0; y < y1; ++y) {
        // 64-bit products: a block and a target of a few thousand pixels each stay exact.
        const int by =
            static_cast<int>(static_cast<long long>(y - target.top) * block.height() / th);
        const std::uint8_t* from = block.row(by);
        std::uint8_t* to = picture.row(y);
        for (int x = x0; x < x1; ++x) {
            const int bx =
                static_cast<int>(static_cast<long long>(x - target.left) * block.width() / tw);
            const std::uint8_t* p = from + static_cast<std::size_t>(bx) * 3;
            if (mode.on && std::memcmp(p, key, 3) == 0) continue;
            std::memcpy(to + static_cast<std::size_t>(x) * 3, p, 3);
        }
    }
}

}  // namespace mozu
