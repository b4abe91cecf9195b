#pragma once
// Decoding the picture files back into pens (and the palette where the file has one). Every
// decoder reads only the bytes it is given: a file that ends before the bytes its type needs
// raises IoError io::kReadPastEnd ("Read error:End of file"); a SymbOS graphic whose header is
// nonsense or whose strips leave the 4096 x 4096 canvas raises IoError io::kInvalidData.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mozu {

struct PenPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pens;  // row by row
};

struct DecodedPicture {
    PenPicture picture;
    bool hasPalette = false;
    std::array<std::uint8_t, 16> firmware{};  // firmware colour numbers of pens 0-15
};

// Bytes a screen file (modes 0-2) must hold: the header and the picture bytes of all 8 blocks
// (the last block's gap is not needed).
constexpr std::size_t kScreenFileBytesNeeded = 128 + 7 * 2048 + 2000;
// Bytes an overscan file must hold: everything up to the end of its picture.
constexpr std::size_t kOverscanFileBytesNeeded = 361 + 264 * 92;
// The working canvas of a SymbOS graphic.
constexpr int kSgxCanvasSize = 4096;

// `file` from its first byte; `name` names it in errors.
DecodedPicture DecodeScreenFile(std::span<const std::uint8_t> file, int mode,
                                const std::string& name);
DecodedPicture DecodeOverscanFile(std::span<const std::uint8_t> file, int mode,
                                  const std::string& name);
DecodedPicture DecodeSgxFile(std::span<const std::uint8_t> file, bool sixteenColours,
                             const std::string& name);

}  // namespace mozu
