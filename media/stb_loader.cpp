// TGA and PNM input through stb_image (Debian's libstb): small, and reads every common TGA kind
// (palette, grey, true colour, RLE, either row order) and binary PPM and PGM files.

#include <stb_image.h>

#include <cctype>
#include <memory>
#include <vector>

#include "media/alpha_blend.h"
#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

void LoadWithStb(const std::string& path, Picture& image, Colour background, const char* kind,
                 bool (*isKind)(const std::vector<std::uint8_t>&)) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) throw IoError(io::kReadPastEnd, path + ": empty file");
    if (!isKind(bytes))
        throw IoError(io::kInvalidData, path + ": not a " + std::string(kind) + " file");
    const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), size, &width, &height, &channels))
        throw IoError(io::kInvalidData,
                      path + ": " + kind + ": " +
                          (stbi_failure_reason() ? stbi_failure_reason() : "unreadable"));
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), path);
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, 4), stbi_image_free);
    if (!rgba)
        throw IoError(io::kInvalidData,
                      path + ": " + kind + ": " +
                          (stbi_failure_reason() ? stbi_failure_reason() : "unreadable"));
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        BlendRgbaRow(rgba.get() + std::size_t{4} * static_cast<std::size_t>(width) * y,
                     picture.row(y), width, background);
    image = std::move(picture);
}

// stb_image reads missing bytes as zeros; these checks make a file that ends before its pixels
// do an error rather than a picture with a black end.

// A PNM file starts "P5" (grey) or "P6" (colour); the text variants are not read. Its header
// (numbers between white space and comments) is followed by width x height samples.
bool CompletePnm(const std::vector<std::uint8_t>& b) {
    if (b.size() < 2 || b[0] != 'P' || (b[1] != '5' && b[1] != '6')) return false;
    std::size_t pos = 2;
    std::uint64_t numbers[3] = {};
    for (std::uint64_t& n : numbers) {
        for (;;) {  // white space and comments
            if (pos >= b.size()) return false;
            if (b[pos] == '#') {
                while (pos < b.size() && b[pos] != '\n') ++pos;
            } else if (std::isspace(b[pos])) {
                ++pos;
            } else {
                break;
            }
        }
        if (!std::isdigit(b[pos])) return false;
        while (pos < b.size() && std::isdigit(b[pos]) && n < 1'000'000)
            n = n * 10 + (b[pos++] - '0');
    }
    ++pos;  // the one white space character before the samples
    const std::uint64_t sample = numbers[2] > 255 ? 2 : 1;
    const std::uint64_t channels = b[1] == '6' ? 3 : 1;
    return pos + numbers[0] * numbers[1] * channels * sample <= b.size();
}

// TGA has no signature: stb_image checks the header's fields; here the pixel data is walked,
// packet by packet for the RLE kinds.
bool CompleteTga(const std::vector<std::uint8_t>& b) {
    if (b.size() < 18) return false;
    const int type = b[2];
    const std::uint64_t width = b[12] | (b[13] << 8), height = b[14] | (b[15] << 8);
    const std::uint64_t bytesPerPixel = (b[16] + 7u) / 8;
    const std::uint64_t mapLength = b[5] | (b[6] << 8), mapEntry = (b[7] + 7u) / 8;
    std::uint64_t pos = 18 + b[0] + (b[1] ? mapLength * mapEntry : 0);
    const std::uint64_t pixels = width * height;
    if (type < 8) return pos + pixels * bytesPerPixel <= b.size();
    for (std::uint64_t done = 0; done < pixels;) {
        if (pos >= b.size()) return false;
        const std::uint8_t packet = b[static_cast<std::size_t>(pos++)];
        const std::uint64_t count = (packet & 0x7Fu) + 1;
        pos += packet & 0x80 ? bytesPerPixel : count * bytesPerPixel;
        done += count;
    }
    return pos <= b.size();
}

}  // namespace

void LoadTga(const std::string& path, Picture& image, Colour background) {
    LoadWithStb(path, image, background, "TGA", CompleteTga);
}

void LoadPnm(const std::string& path, Picture& image) {
    LoadWithStb(path, image, 0, "PNM", CompletePnm);
}

}  // namespace mozu
