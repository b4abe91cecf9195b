#pragma once
// BMP files made byte by byte for the picture loader's tests and as input pictures of the
// command-line tests.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu::test {

// A BMP file around pixel data given as stored (rows bottom-up unless the height is negative).
struct BmpRecipe {
    std::uint32_t infoSize = 40;  // 12 (core), 40, 108 (V4) or 124 (V5)
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;  // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks = {};                  // red, green, blue (, alpha)
    std::vector<std::array<std::uint8_t, 3>> palette = {};  // red, green, blue
    std::vector<std::uint8_t> pixels = {};
};

std::vector<std::uint8_t> MakeBmp(const BmpRecipe& recipe);

// The picture as an uncompressed 24-bit BMP file (bottom-up rows padded to 4 bytes).
std::vector<std::uint8_t> Bmp24Of(const Picture& picture);
// The same written to `path`.
void WriteBmp24(const std::string& path, const Picture& picture);

}  // namespace mozu::test
