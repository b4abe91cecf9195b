#include "media/picture_limits.h"

#include "platform/io_error.h"

namespace mozu {

void CheckPictureSize(std::uint64_t width, std::uint64_t height, const std::string& path) {
    if (width == 0 || height == 0)
        throw IoError(io::kInvalidData, path + ": picture without pixels");
    // Each side is below 2^32, so the product cannot wrap.
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height > kMaxPicturePixels)
        throw IoError(io::kInvalidData, path + ": picture too large (" + std::to_string(width) +
                                            " x " + std::to_string(height) + " pixels, at most " +
                                            std::to_string(kMaxPicturePixels) + ")");
}

}  // namespace mozu
