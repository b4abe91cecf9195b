#pragma once
// A 24-bit picture of our own: rows top to bottom, each pixel three bytes in the order
// blue, green, red. Colours passed in and out are 0x00BBGGRR (red in the low byte).

#include <cstdint>
#include <vector>

namespace mozu {

using Colour = std::uint32_t;  // 0x00BBGGRR

constexpr Colour MakeColour(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
           (static_cast<Colour>(b & 0xFF) << 16);
}
constexpr int Red(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int Green(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int Blue(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

class Picture {
  public:
    Picture() = default;
    Picture(int width, int height, Colour fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * 3; }

    // Row y: width() pixels of blue, green, red.
    std::uint8_t* row(int y) { return data_.data() + static_cast<std::size_t>(y) * stride(); }
    const std::uint8_t* row(int y) const {
        return data_.data() + static_cast<std::size_t>(y) * stride();
    }
    std::uint8_t* data() { return data_.data(); }
    const std::uint8_t* data() const { return data_.data(); }
    std::size_t byteSize() const { return data_.size(); }

    Colour pixel(int x, int y) const {
        const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
        return MakeColour(p[2], p[1], p[0]);
    }
    void setPixel(int x, int y, Colour c) {
        std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
        p[0] = static_cast<std::uint8_t>(Blue(c));
        p[1] = static_cast<std::uint8_t>(Green(c));
        p[2] = static_cast<std::uint8_t>(Red(c));
    }

    // New size; every pixel becomes `fill` (what was there is dropped).
    void reset(int width, int height, Colour fill = 0);
    void fill(Colour c);
    // Copies src with its top left corner at (x, y), clipped to this picture.
    void draw(const Picture& src, int x, int y);
    // The w x h area with its top left corner at (x, y), clipped to this picture.
    Picture crop(int x, int y, int w, int h) const;

    bool operator==(const Picture&) const = default;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> data_;
};

}  // namespace mozu
