#pragma once
// BMP decoding without a windowing library, pixel for pixel as Qt's BMP reader (which Mozu used
// before) gives them: 1, 4, 8, 16, 24 and 32 bits, RLE4 and RLE8, bit fields, bottom-up and
// top-down rows, core (12-byte) and Windows 3 to 5 headers.
//
// Written here because no Debian library reads RLE BMP files with those results (stb_image has
// no RLE; the others bring a whole toolkit).

#include <cstdint>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu {

// Decodes a whole BMP file held in `bytes`. IoError naming `path`: io::kReadPastEnd for a file
// that ends before its pixels do, io::kInvalidData for anything that is no BMP Mozu reads and
// for pictures above the size limit (checked before any allocation).
Picture DecodeBmp(const std::vector<std::uint8_t>& bytes, const std::string& path);

}  // namespace mozu
