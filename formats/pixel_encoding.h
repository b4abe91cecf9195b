#pragma once
// How pens are packed into bytes. The CPC modes put the pens' bits in an interleaved order
// (pixel 0 is the leftmost pixel of a byte):
//   mode 0, 2 pixels: bit 7..0 = p0b0 p1b0 p0b2 p1b2 p0b1 p1b1 p0b3 p1b3
//   mode 1, 4 pixels: bit 7..0 = p0b0 p1b0 p2b0 p3b0 p0b1 p1b1 p2b1 p3b1
//   mode 2, 8 pixels: bit 7..0 = p0 .. p7
// The sixteen-colour SymbOS graphics use plain nibbles: the high nibble is the left pixel.

#include <array>
#include <cstdint>

#include "platform/kernel_path.h"

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

// The instructions the packing and unpacking can use: plain C++; SSE2 for the nibbles'
// unpacking (DecodeBytes); SSSE3 as well for EncodeIndexPixels, 16 pixels at a time; AVX2 for
// it, 32 at a time. Both take the best the processor has unless a test or benchmark forces
// another (KernelPath<PixelPackingPath>); all paths give the same bytes.
enum class PixelPackingPath { Portable, Sse2, Ssse3, Avx2 };

template <>
struct KernelPathTraits<PixelPackingPath> {
    static constexpr std::array kAll = {PixelPackingPath::Portable, PixelPackingPath::Sse2,
                                        PixelPackingPath::Ssse3, PixelPackingPath::Avx2};
    static constexpr const char* Name(PixelPackingPath path) {
        constexpr const char* kNames[] = {"Portable", "Sse2", "Ssse3", "Avx2"};
        return kNames[static_cast<int>(path)];
    }
    static bool Has(PixelPackingPath path);
};

}  // namespace mozu
