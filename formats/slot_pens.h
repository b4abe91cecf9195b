#pragma once
// The pens the writers store, taken from a slot while it holds an index picture (pen number in
// the red channel, green and blue zero), and the same rows from pens already in memory.

#include <cstdint>
#include <span>
#include <string>

#include "colour/picture.h"
#include "formats/pixel_encoding.h"

namespace mozu {

// A w x h area of an index picture whose top left corner is (x, y), packed a row at a time.
// An area the picture does not cover, or a pixel that is no pen below PenCount(e) (a colour,
// or a pen the palette does not have), raises IoError io::kInvalidData naming `what` and the
// area's first such pixel row by row, whichever part was being packed: the file is never
// written with a byte that does not hold the picture.
class SlotPenRows {
  public:
    SlotPenRows(const Picture& picture, int x, int y, int w, int h, PixelEncoding e,
                std::string what);
    // `bytes` bytes from the area's row `row`, starting at its pixel `firstPixel`.
    void pack(int row, int firstPixel, int bytes, std::uint8_t* out) const;
    // Checks `count` pixels of row `row` from `firstPixel` that are not stored.
    void check(int row, int firstPixel, int count) const;

  private:
    [[noreturn]] void refuse() const;
    const std::uint8_t* at(int row, int column) const;
    const Picture& picture_;
    int x_, y_, w_, h_;
    PixelEncoding encoding_;
    std::string what_;
};

// The same interface over w pens a row in memory (pens above PenCount(e) lose their high bits).
class PenRows {
  public:
    PenRows(std::span<const std::uint8_t> pens, int width, PixelEncoding e)
        : pens_(pens), width_(static_cast<std::size_t>(width)), encoding_(e) {}
    void pack(int row, int firstPixel, int bytes, std::uint8_t* out) const {
        EncodePens(encoding_,
                   pens_.data() + static_cast<std::size_t>(row) * width_ +
                       static_cast<std::size_t>(firstPixel),
                   bytes, out);
    }
    void check(int, int, int) const {}

  private:
    std::span<const std::uint8_t> pens_;
    std::size_t width_;
    PixelEncoding encoding_;
};

}  // namespace mozu
