// TGA and PNM input through stb_image (Debian's libstb): small, and reads every common TGA kind
// (palette, grey, true colour, RLE, either row order) and binary PPM and PGM files.

#include <stb_image.h>

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

// A PNM file starts "P5" (grey) or "P6" (colour); the text variants are not read.
bool IsPnm(const std::vector<std::uint8_t>& b) {
    return b.size() >= 2 && b[0] == 'P' && (b[1] == '5' || b[1] == '6');
}

// TGA has no signature; stb_image checks the header's fields itself.
bool AnyBytes(const std::vector<std::uint8_t>&) {
    return true;
}

}  // namespace

void LoadTga(const std::string& path, Picture& image, Colour background) {
    LoadWithStb(path, image, background, "TGA", AnyBytes);
}

void LoadPnm(const std::string& path, Picture& image) {
    LoadWithStb(path, image, 0, "PNM", IsPnm);
}

}  // namespace mozu
