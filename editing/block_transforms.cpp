#include "editing/block_transforms.h"

#include <cstring>

namespace mozu {
namespace {

// Copies one 3-byte pixel.
inline void CopyPixel(std::uint8_t* to, const std::uint8_t* from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

}  // namespace

Picture MirrorLeftRight(const Picture& block) {
    Picture out(block.width(), block.height());
    const int w = block.width();
    for (int y = 0; y < block.height(); ++y) {
        const std::uint8_t* from = block.row(y);
        std::uint8_t* to = out.row(y);
        for (int x = 0; x < w; ++x)
            CopyPixel(to + static_cast<std::size_t>(w - 1 - x) * 3,
                      from + static_cast<std::size_t>(x) * 3);
    }
    return out;
}

Picture MirrorTopBottom(const Picture& block) {
    Picture out(block.width(), block.height());
    for (int y = 0; y < block.height(); ++y)
        std::memcpy(out.row(block.height() - 1 - y), block.row(y), block.stride());
    return out;
}

Picture TurnLeft(const Picture& block) {
    const int w = block.width(), h = block.height();
    Picture out(h, w);
    for (int y = 0; y < w; ++y) {
        std::uint8_t* to = out.row(y);
        const std::size_t fromX = static_cast<std::size_t>(w - 1 - y) * 3;
        for (int x = 0; x < h; ++x)
            CopyPixel(to + static_cast<std::size_t>(x) * 3, block.row(x) + fromX);
    }
    return out;
}

Picture TurnRight(const Picture& block) {
    const int w = block.width(), h = block.height();
    Picture out(h, w);
    for (int y = 0; y < w; ++y) {
        std::uint8_t* to = out.row(y);
        const std::size_t fromX = static_cast<std::size_t>(y) * 3;
        for (int x = 0; x < h; ++x)
            CopyPixel(to + static_cast<std::size_t>(x) * 3, block.row(h - 1 - x) + fromX);
    }
    return out;
}

}  // namespace mozu
