#include "colour/picture.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace mozu {

Picture::Picture(int width, int height, Colour fill) {
    reset(width, height, fill);
}

void Picture::reset(int width, int height, Colour fill) {
    if (width < 0 || height < 0) throw std::invalid_argument("negative picture size");
    if (width == 0 || height == 0) width = height = 0;
    width_ = width;
    height_ = height;
    // One pass over the bytes where the fill is grey (black above all), not a clear and a fill.
    data_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3,
                 static_cast<std::uint8_t>(Red(fill)));
    if (Green(fill) != Red(fill) || Blue(fill) != Red(fill)) this->fill(fill);
}

void Picture::fill(Colour c) {
    if (data_.empty()) return;
    const std::uint8_t b = static_cast<std::uint8_t>(Blue(c));
    const std::uint8_t g = static_cast<std::uint8_t>(Green(c));
    const std::uint8_t r = static_cast<std::uint8_t>(Red(c));
    if (b == g && g == r) {
        std::memset(data_.data(), b, data_.size());
        return;
    }
    for (std::size_t i = 0; i < data_.size(); i += 3) {
        data_[i] = b;
        data_[i + 1] = g;
        data_[i + 2] = r;
    }
}

void Picture::draw(const Picture& src, int x, int y) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(width_, x + src.width()), y1 = std::min(height_, y + src.height());
    if (x0 >= x1 || y0 >= y1) return;
    const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * 3;
    for (int ty = y0; ty < y1; ++ty)
        std::memcpy(row(ty) + static_cast<std::size_t>(x0) * 3,
                    src.row(ty - y) + static_cast<std::size_t>(x0 - x) * 3, bytes);
}

Picture Picture::crop(int x, int y, int w, int h) const {
    Picture out(std::max(0, w), std::max(0, h));
    out.draw(*this, -x, -y);
    return out;
}

}  // namespace mozu
