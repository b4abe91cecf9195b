#include "tests/support/bmp_file.h"

#include <algorithm>
#include <cstddef>

#include "tests/support/file_bytes.h"

namespace mozu::test {

namespace {
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
}  // namespace

Bytes MakeBmp(const BmpRecipe& s) {
    Bytes info(s.infoSize, 0);
    Put32(info, 0, s.infoSize);
    if (s.infoSize == 12) {
        Put16(info, 4, static_cast<std::uint32_t>(s.width));
        Put16(info, 6, static_cast<std::uint32_t>(s.height));
        Put16(info, 8, 1);
        Put16(info, 10, s.bits);
    } else {
        Put32(info, 4, static_cast<std::uint32_t>(s.width));
        Put32(info, 8, static_cast<std::uint32_t>(s.height));
        Put16(info, 12, 1);
        Put16(info, 14, s.bits);
        Put32(info, 16, s.compression);
        Put32(info, 20, static_cast<std::uint32_t>(s.pixels.size()));
        Put32(info, 24, 2835);  // 72 dpi
        Put32(info, 28, 2835);
        Put32(info, 32, s.coloursUsed);
        if (s.infoSize >= 108) {
            for (std::size_t i = 0; i < s.masks.size(); ++i) Put32(info, 40 + 4 * i, s.masks[i]);
            Put32(info, 56, 0x73524742);  // 'sRGB'
        }
    }
    Bytes extra;
    if (s.infoSize == 40)
        for (std::uint32_t m : s.masks)
            for (int i = 0; i < 4; ++i) extra.push_back(static_cast<std::uint8_t>(m >> (8 * i)));
    for (const auto& c : s.palette) {
        extra.insert(extra.end(), {c[2], c[1], c[0]});
        if (s.infoSize != 12) extra.push_back(0);
    }
    // The whole file at once and the parts copied into place (GCC 12 at -O3 misreads inserts
    // at the end of the 14-byte header as out of bounds, -Warray-bounds).
    const std::size_t offset = 14 + info.size() + extra.size();
    Bytes file(offset + s.pixels.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    Put32(file, 10, static_cast<std::uint32_t>(offset));
    std::copy(info.begin(), info.end(), file.begin() + 14);
    std::copy(extra.begin(), extra.end(),
              file.begin() + 14 + static_cast<std::ptrdiff_t>(info.size()));
    std::copy(s.pixels.begin(), s.pixels.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    return file;
}

Bytes Bmp24Of(const Picture& picture) {
    BmpRecipe recipe{.width = picture.width(), .height = picture.height()};
    const std::size_t rowBytes = (picture.stride() + 3) / 4 * 4;
    recipe.pixels.reserve(rowBytes * static_cast<std::size_t>(picture.height()));
    for (int y = picture.height() - 1; y >= 0; --y) {
        recipe.pixels.insert(recipe.pixels.end(), picture.row(y),
                             picture.row(y) + picture.stride());
        recipe.pixels.resize(recipe.pixels.size() + rowBytes - picture.stride(), 0);
    }
    return MakeBmp(recipe);
}

void WriteBmp24(const std::string& path, const Picture& picture) {
    WriteBytes(path, Bmp24Of(picture));
}

}  // namespace mozu::test
