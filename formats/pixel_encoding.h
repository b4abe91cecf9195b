#pragma once
// How pens are packed into bytes. The CPC modes put the pens' bits in an interleaved order
// (pixel 0 is the leftmost pixel of a byte):
//   mode 0, 2 pixels: bit 7..0 = p0b0 p1b0 p0b2 p1b2 p0b1 p1b1 p0b3 p1b3
//   mode 1, 4 pixels: bit 7..0 = p0b0 p1b0 p2b0 p3b0 p0b1 p1b1 p2b1 p3b1
//   mode 2, 8 pixels: bit 7..0 = p0 .. p7
// The sixteen-colour SymbOS graphics use plain nibbles: the high nibble is the left pixel.

#include <cstdint>

namespace mozu {

enum class PixelEncoding { Mode0, Mode1, Mode2, Nibbles };

// The encoding of CPC screen mode 0, 1 or 2.
PixelEncoding ModeEncoding(int mode);
int PixelsPerByte(PixelEncoding encoding);  // 2, 4, 8, 2
int PenCount(PixelEncoding encoding);       // 16, 4, 2, 16

// One byte from PixelsPerByte(e) pens, leftmost first. Pens must be below PenCount(e).
std::uint8_t EncodeByte(PixelEncoding e, const std::uint8_t* pens);
// `bytes` bytes from bytes x PixelsPerByte(e) pens.
void EncodePens(PixelEncoding e, const std::uint8_t* pens, int bytes, std::uint8_t* out);
// The pens of `bytes` bytes: bytes x PixelsPerByte(e) of them.
void DecodeBytes(PixelEncoding e, const std::uint8_t* in, int bytes, std::uint8_t* pens);

// `bytes` bytes straight from bytes x PixelsPerByte(e) pixels of an index picture (three bytes
// a pixel, blue, green, red: the pen in red, blue and green zero). False when a pixel is no
// pen below PenCount(e); `out` then holds nothing useful.
bool EncodeIndexPixels(PixelEncoding e, const std::uint8_t* bgr, int bytes, std::uint8_t* out);

// The instructions EncodeIndexPixels can use; it takes the best the processor has. The others
// are there so that every path can be checked against the rest.
enum class IndexPixelPath { Portable, Ssse3, Avx2 };
bool HasIndexPixelPath(IndexPixelPath path);
// EncodeIndexPixels on `path` (the portable one when the processor lacks it).
bool EncodeIndexPixelsOn(IndexPixelPath path, PixelEncoding e, const std::uint8_t* bgr, int bytes,
                         std::uint8_t* out);

}  // namespace mozu
