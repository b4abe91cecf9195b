#include "formats/pixel_encoding.h"

#include <array>
#include <cstddef>
#include <cstring>

#include "platform/cpu_features.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace mozu {

namespace {

// Bit of the byte that holds bit b of the pen of pixel i.
constexpr int Mode0Bit(int i, int b) {
    constexpr int kPixel0[4] = {7, 3, 5, 1};  // pen bits 0, 1, 2, 3 of the left pixel
    return kPixel0[b] - i;
}
constexpr int Mode1Bit(int i, int b) {
    return (b == 0 ? 7 : 3) - i;
}

constexpr int Ppb(PixelEncoding e) {
    switch (e) {
        case PixelEncoding::Mode0:
            return 2;
        case PixelEncoding::Mode1:
            return 4;
        case PixelEncoding::Mode2:
            return 8;
        case PixelEncoding::Nibbles:
            return 2;
    }
    return 2;
}

constexpr std::uint8_t Encode(PixelEncoding e, const std::uint8_t* p) {
    int v = 0;
    switch (e) {
        case PixelEncoding::Mode0:
            for (int i = 0; i < 2; ++i)
                for (int b = 0; b < 4; ++b)
                    if (p[i] & (1 << b)) v |= 1 << Mode0Bit(i, b);
            break;
        case PixelEncoding::Mode1:
            for (int i = 0; i < 4; ++i)
                for (int b = 0; b < 2; ++b)
                    if (p[i] & (1 << b)) v |= 1 << Mode1Bit(i, b);
            break;
        case PixelEncoding::Mode2:
            for (int i = 0; i < 8; ++i)
                if (p[i] & 1) v |= 1 << (7 - i);
            break;
        case PixelEncoding::Nibbles:
            v = ((p[0] & 0x0F) << 4) | (p[1] & 0x0F);
            break;
    }
    return static_cast<std::uint8_t>(v);
}

// Pens of every byte value, 8 slots a byte (only PixelsPerByte are used).
using DecodeTable = std::array<std::array<std::uint8_t, 8>, 256>;
constexpr DecodeTable MakeDecodeTable(PixelEncoding e) {
    DecodeTable t{};
    for (int v = 0; v < 256; ++v) {
        for (int i = 0; i < Ppb(e); ++i) {
            int pen = 0;
            switch (e) {
                case PixelEncoding::Mode0:
                    for (int b = 0; b < 4; ++b)
                        if (v & (1 << Mode0Bit(i, b))) pen |= 1 << b;
                    break;
                case PixelEncoding::Mode1:
                    for (int b = 0; b < 2; ++b)
                        if (v & (1 << Mode1Bit(i, b))) pen |= 1 << b;
                    break;
                case PixelEncoding::Mode2:
                    pen = (v >> (7 - i)) & 1;
                    break;
                case PixelEncoding::Nibbles:
                    pen = i == 0 ? v >> 4 : v & 0x0F;
                    break;
            }
            t[static_cast<std::size_t>(v)][static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(pen);
        }
    }
    return t;
}

constexpr std::array<DecodeTable, 4> kDecode = {
    MakeDecodeTable(PixelEncoding::Mode0), MakeDecodeTable(PixelEncoding::Mode1),
    MakeDecodeTable(PixelEncoding::Mode2), MakeDecodeTable(PixelEncoding::Nibbles)};

// Mode 0 and the nibbles take a pair of pens: a 256-entry table indexed by p0 x 16 + p1.
using PairTable = std::array<std::uint8_t, 256>;
constexpr PairTable MakePairTable(PixelEncoding e) {
    PairTable t{};
    for (int a = 0; a < 16; ++a)
        for (int b = 0; b < 16; ++b) {
            const std::uint8_t p[2] = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
            t[static_cast<std::size_t>(a * 16 + b)] = Encode(e, p);
        }
    return t;
}
constexpr PairTable kMode0Pairs = MakePairTable(PixelEncoding::Mode0);

}  // namespace

PixelEncoding ModeEncoding(int mode) {
    return mode == 0   ? PixelEncoding::Mode0
           : mode == 1 ? PixelEncoding::Mode1
                       : PixelEncoding::Mode2;
}

int PixelsPerByte(PixelEncoding e) {
    return Ppb(e);
}

int PenCount(PixelEncoding e) {
    switch (e) {
        case PixelEncoding::Mode1:
            return 4;
        case PixelEncoding::Mode2:
            return 2;
        default:
            return 16;
    }
}

std::uint8_t EncodeByte(PixelEncoding e, const std::uint8_t* pens) {
    return Encode(e, pens);
}

void EncodePens(PixelEncoding e, const std::uint8_t* pens, int bytes, std::uint8_t* out) {
    switch (e) {
        case PixelEncoding::Mode0:
            for (int i = 0; i < bytes; ++i, pens += 2)
                out[i] =
                    kMode0Pairs[static_cast<std::size_t>((pens[0] & 15) * 16 + (pens[1] & 15))];
            return;
        case PixelEncoding::Mode1:
            for (int i = 0; i < bytes; ++i, pens += 4) {
                const int lo = ((pens[0] & 1) << 3) | ((pens[1] & 1) << 2) | ((pens[2] & 1) << 1) |
                               (pens[3] & 1);
                const int hi = ((pens[0] & 2) << 2) | ((pens[1] & 2) << 1) | (pens[2] & 2) |
                               ((pens[3] & 2) >> 1);
                out[i] = static_cast<std::uint8_t>((lo << 4) | hi);
            }
            return;
        case PixelEncoding::Mode2:
            for (int i = 0; i < bytes; ++i, pens += 8) {
                int v = 0;
                for (int k = 0; k < 8; ++k) v = (v << 1) | (pens[k] & 1);
                out[i] = static_cast<std::uint8_t>(v);
            }
            return;
        case PixelEncoding::Nibbles:
            for (int i = 0; i < bytes; ++i, pens += 2)
                out[i] = static_cast<std::uint8_t>(((pens[0] & 15) << 4) | (pens[1] & 15));
            return;
    }
}

namespace {
template <int kPixels>
void DecodeWith(const DecodeTable& table, const std::uint8_t* in, int bytes, std::uint8_t* pens) {
    for (int i = 0; i < bytes; ++i, pens += kPixels)
        std::memcpy(pens, table[in[i]].data(), kPixels);
}
}  // namespace

namespace {
#if defined(__x86_64__)
// Two pixels a byte, high nibble first: 16 bytes at a time split into nibbles and
// interleaved; returns how many bytes were done.
int DecodeNibbleBlocksSse2(const std::uint8_t* in, int bytes, std::uint8_t* pens) {
    int i = 0;
    const __m128i low = _mm_set1_epi8(0x0F);
    for (; i + 16 <= bytes; i += 16, pens += 32) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i left = _mm_and_si128(_mm_srli_epi16(v, 4), low);
        const __m128i right = _mm_and_si128(v, low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pens), _mm_unpacklo_epi8(left, right));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pens + 16), _mm_unpackhi_epi8(left, right));
    }
    return i;
}
#endif
}  // namespace

bool KernelPathTraits<PixelPackingPath>::Has(PixelPackingPath path) {
    const CpuFeatures& cpu = Cpu();
    switch (path) {
        case PixelPackingPath::Portable:
            return true;
        case PixelPackingPath::Sse2:
            return cpu.sse2;
        case PixelPackingPath::Ssse3:
            return cpu.sse2 && cpu.ssse3;
        case PixelPackingPath::Avx2:
            return cpu.sse2 && cpu.ssse3 && cpu.avx2;
    }
    return false;
}

void DecodeBytes(PixelEncoding e, const std::uint8_t* in, int bytes, std::uint8_t* pens) {
    const DecodeTable& table = kDecode[static_cast<std::size_t>(e)];
#if defined(__x86_64__)
    if (e == PixelEncoding::Nibbles &&
        KernelPath<PixelPackingPath>::Current() != PixelPackingPath::Portable) {
        const int done = DecodeNibbleBlocksSse2(in, bytes, pens);
        in += done;
        bytes -= done;
        pens += static_cast<std::ptrdiff_t>(done) * 2;
    }
#endif
    switch (Ppb(e)) {
        case 2:
            DecodeWith<2>(table, in, bytes, pens);
            return;
        case 4:
            DecodeWith<4>(table, in, bytes, pens);
            return;
        default:
            DecodeWith<8>(table, in, bytes, pens);
            return;
    }
}

}  // namespace mozu
