#pragma once
// SymbOS graphics files (".sgx"): one or more vertical strips side by side, each an 8-byte
// header (0x40, type 0 or 5, width in bytes, width in pixels, height; 16 bits little-endian)
// and its rows, then three zero bytes. No palette: the pens are stored as they are.
//   4 colours ("C.sgx" slot 8, "1.sgx" slot 9): the CPC mode 1 encoding, 4 pixels a byte;
//   16 colours ("7.sgx" slot 10, "M.sgx" slot 11): a nibble a pixel, the left one high.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "platform/asker.h"

namespace mozu {

struct SgxStrip {
    int firstPixel;  // column of the strip's leftmost pixel
    int bytes;       // width in bytes
};

// The strips of a picture `width` pixels wide: n = width div 254, less one when above 1; n full
// strips of (width div (n + 1)) div 4 bytes (4 colours) or twice that (16 colours), then one
// strip of the whole bytes that are left. Pixels beyond the last whole byte are not written.
std::vector<SgxStrip> SgxStripDivision(int width, bool sixteenColours);

// Slot 8 ("C.sgx") or 9 ("1.sgx"); slot 10 ("7.sgx") or 11 ("M.sgx"). The slot holds an index
// picture of any size; after CheckFileName the file is written and the saved flag set.
void MakeSGXCPC(ConversionState& state, Asker& asker, const std::string& baseName, Slot slot);
void MakeSGXMSX(ConversionState& state, Asker& asker, const std::string& baseName, Slot slot);

// The whole file from width x height pens, row by row.
std::vector<std::uint8_t> BuildSgxFile(std::span<const std::uint8_t> pens, int width, int height,
                                       bool sixteenColours);

}  // namespace mozu
