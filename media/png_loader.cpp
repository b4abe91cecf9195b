// PNG input through libpng's simplified reading interface: every PNG kind (palette, grey,
// 16-bit, interlaced) arrives as 8-bit red, green, blue, alpha and is laid over the background.

#include <png.h>

#include <algorithm>
#include <vector>

#include "media/alpha_blend.h"
#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// libpng takes a chunk's length as it stands and allocates that much (up to 2 GB) before it
// finds that the file ends first: a 100-byte file could take seconds and gigabytes. Every
// chunk up to IEND must fit in the file, its checksum included.
void CheckChunksFit(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    std::size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const std::uint64_t length = std::uint64_t{bytes[at]} << 24 | bytes[at + 1] << 16 |
                                     bytes[at + 2] << 8 | bytes[at + 3];
        if (length > bytes.size() - at - 8 || bytes.size() - at - 8 - length < 4)
            throw IoError(io::kReadPastEnd, path + ": PNG: a chunk runs past the end of the file");
        if (std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + 8), "IEND"))
            return;
        at += 12 + static_cast<std::size_t>(length);
    }
    // What is left is too short for a chunk: libpng says what is missing.
}

}  // namespace

void LoadPng(const std::string& path, Picture& image, Colour background) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) throw IoError(io::kReadPastEnd, path + ": empty file");
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        throw IoError(io::kInvalidData, path + ": not a PNG file");
    CheckChunksFit(bytes, path);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    struct Free {
        png_image* png;
        ~Free() { png_image_free(png); }
    } free{&png};
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        throw IoError(io::kInvalidData, path + ": PNG: " + png.message);
    CheckPictureSize(png.width, png.height, path);
    png.format = PNG_FORMAT_RGBA;
    // The one full-size working copy: four bytes a pixel.
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
        const std::string message = png.message;
        const bool shortFile = message.find("end") != std::string::npos ||
                               message.find("Not enough") != std::string::npos ||
                               message.find("Read Error") != std::string::npos;
        throw IoError(shortFile ? io::kReadPastEnd : io::kInvalidData, path + ": PNG: " + message);
    }
    // The file's bytes go before the picture is made, once libpng has let go of them.
    png_image_free(&png);
    std::vector<std::uint8_t>().swap(bytes);
    Picture picture(static_cast<int>(png.width), static_cast<int>(png.height));
    const std::size_t rowBytes = std::size_t{png.width} * 4;
    for (int y = 0; y < picture.height(); ++y)
        BlendRgbaRow(rgba.data() + rowBytes * static_cast<std::size_t>(y), picture.row(y),
                     picture.width(), background);
    image = std::move(picture);
}

}  // namespace mozu
