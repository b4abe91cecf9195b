#include <algorithm>
#include <string>

#include "platform/io_error.h"
#include "video_test_support.h"

namespace mozu::test {

void PaintFrameNumber(int n, Picture& picture) {
    const int w = picture.width(), h = picture.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Colour c;
            if (y < h / 2) {
                const int bit = (n >> (7 - x * 8 / w)) & 1;
                c = bit ? MakeColour(255, 255, 255) : MakeColour(0, 0, 0);
            } else {
                const int v = x * 255 / (w - 1);
                c = MakeColour(v, 255 - v, (y * 255) / h);
            }
            picture.setPixel(x, y, c);
        }
}

namespace {
template <typename Sample>
int ReadNumber(int w, int h, Sample sample) {
    int n = 0;
    for (int b = 0; b < 8; ++b) {
        const int x = (2 * b + 1) * w / 16;
        n = n * 2 + (sample(x, h / 4) >= 128 ? 1 : 0);
    }
    return n;
}
}  // namespace

int ReadFrameNumber(const Picture& picture) {
    return ReadNumber(picture.width(), picture.height(),
                      [&](int x, int y) { return Green(picture.pixel(x, y)); });
}

int ReadFrameNumber(const std::vector<std::uint8_t>& bottomUp, int width, int height) {
    return ReadNumber(width, height, [&](int x, int y) {
        const std::size_t row = static_cast<std::size_t>(height - 1 - y);
        return static_cast<int>(bottomUp[(row * width + x) * 3 + 1]);
    });
}

void FakeFrameSource::decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) {
    asked.push_back(index);
    if (index < 0 || index >= info_.frameCount || index == failAt)
        throw IoError(io::kReadPastEnd, "no frame " + std::to_string(index));
    Picture picture(info_.width, info_.height);
    PaintFrameNumber(index % 256, picture);
    for (int y = 0; y < info_.height; ++y)
        std::copy_n(
            picture.row(y), picture.stride(),
            buffer.data() + static_cast<std::size_t>(info_.height - 1 - y) * picture.stride());
}

}  // namespace mozu::test
