#include "formats/slot_pens.h"

#include "platform/io_error.h"

namespace mozu {

std::vector<std::uint8_t> ReadSlotPens(const Picture& picture, int x, int y, int w, int h, int pens,
                                       const std::string& what) {
    if (x < 0 || y < 0 || w < 0 || h < 0 || picture.width() < x + w || picture.height() < y + h)
        throw IoError(io::kInvalidData, what + ": the picture is " +
                                            std::to_string(picture.width()) + "x" +
                                            std::to_string(picture.height()) + ", too small for " +
                                            std::to_string(x + w) + "x" + std::to_string(y + h));
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::uint8_t* o = out.data();
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* p = picture.row(y + row) + static_cast<std::size_t>(x) * 3;
        for (int col = 0; col < w; ++col, p += 3) {
            // Blue, green, red: a pen is red = pen, green = blue = 0.
            if (p[0] != 0 || p[1] != 0 || p[2] >= pens)
                throw IoError(io::kInvalidData, what + ": pixel (" + std::to_string(x + col) +
                                                    ", " + std::to_string(y + row) +
                                                    ") is no pen of the " + std::to_string(pens) +
                                                    "-pen palette");
            *o++ = p[2];
        }
    }
    return out;
}

}  // namespace mozu
