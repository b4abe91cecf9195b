#pragma once
// The largest picture Mozu loads. A header may claim any size; a picture above the limit is
// refused before anything of its size is allocated.
//
// 64 megapixels (8192 x 8192): the picture takes 192 MB at three bytes a pixel; with the file
// held in memory (a 32-bit BMP of that size is 256 MB), one full-size working copy while it is
// decoded and the copy a conversion scales, a load stays well under 1 GB.

#include <cstdint>
#include <string>

namespace mozu {

inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;

// IoError io::kInvalidData naming `path` for a picture without pixels or above the limit
// ("picture too large (65535 x 65535 pixels, at most 67108864)").
void CheckPictureSize(std::uint64_t width, std::uint64_t height, const std::string& path);

}  // namespace mozu
