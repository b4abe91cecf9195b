#include "formats/slot_pens.h"

#include <utility>

#include "platform/io_error.h"

namespace mozu {

SlotPenRows::SlotPenRows(const Picture& picture, int x, int y, int w, int h, PixelEncoding e,
                         std::string what)
    : picture_(picture), x_(x), y_(y), w_(w), h_(h), encoding_(e), what_(std::move(what)) {
    if (x < 0 || y < 0 || w < 0 || h < 0 || picture.width() < x + w || picture.height() < y + h)
        throw IoError(io::kInvalidData, what_ + ": the picture is " +
                                            std::to_string(picture.width()) + "x" +
                                            std::to_string(picture.height()) + ", too small for " +
                                            std::to_string(x + w) + "x" + std::to_string(y + h));
}

const std::uint8_t* SlotPenRows::at(int row, int column) const {
    return picture_.row(y_ + row) + static_cast<std::size_t>(x_ + column) * 3;
}

void SlotPenRows::pack(int row, int firstPixel, int bytes, std::uint8_t* out) const {
    if (!EncodeIndexPixels(encoding_, at(row, firstPixel), bytes, out)) refuse();
}

void SlotPenRows::check(int row, int firstPixel, int count) const {
    const int pens = PenCount(encoding_);
    const std::uint8_t* p = at(row, firstPixel);
    for (int i = 0; i < count; ++i, p += 3)
        if (p[0] != 0 || p[1] != 0 || p[2] >= pens) refuse();
}

void SlotPenRows::refuse() const {
    // The slow way, only on failure: the first pixel of the whole area that is no pen.
    const int pens = PenCount(encoding_);
    for (int row = 0; row < h_; ++row) {
        const std::uint8_t* p = at(row, 0);
        for (int col = 0; col < w_; ++col, p += 3)
            // Blue, green, red: a pen is red = pen, green = blue = 0.
            if (p[0] != 0 || p[1] != 0 || p[2] >= pens)
                throw IoError(io::kInvalidData, what_ + ": pixel (" + std::to_string(x_ + col) +
                                                    ", " + std::to_string(y_ + row) +
                                                    ") is no pen of the " + std::to_string(pens) +
                                                    "-pen palette");
    }
    throw IoError(io::kInvalidData,
                  what_ + ": a pixel is no pen of the " + std::to_string(pens) + "-pen palette");
}

}  // namespace mozu
