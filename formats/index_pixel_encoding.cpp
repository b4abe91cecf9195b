// Packing bytes straight from index pixels (B, G, R with the pen in red), checking every pixel
// on the way. The writers run this over whole pictures (128000 pixels for mode 2), so it works
// 16 pixels at a time: three 16-byte loads, the reds gathered with byte shuffles into the lane
// order each encoding wants, blue, green and too-large pens gathered into one "bad" vector that
// is tested once a call. With AVX2 two such chunks go side by side, one in each 128-bit half.
// Shuffles need SSSE3; on the portable and SSE2 paths (and off x86-64) the pixels go through a
// small pen buffer and EncodePens.
#include <array>
#include <cstddef>
#include <cstring>

#include "formats/pixel_encoding.h"
#include "platform/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mozu {

namespace {

constexpr int kChunkPixels = 16;
constexpr int PixelsIn(PixelEncoding e) {
    return e == PixelEncoding::Mode1 ? 4 : e == PixelEncoding::Mode2 ? 8 : 2;
}
constexpr int kChunkBytes = 3 * kChunkPixels;

// Scalar path: pens gathered and checked into a buffer, then packed. Pixel counts are whole
// bytes' worth (a multiple of PixelsPerByte), so chunks of 64 pixels split into whole bytes.
bool EncodeScalar(PixelEncoding e, const std::uint8_t* bgr, int bytes, std::uint8_t* out) {
    const int ppb = PixelsPerByte(e);
    const int pens = PenCount(e);
    std::uint8_t buffer[64];
    int bad = 0;
    while (bytes > 0) {
        const int n = bytes < 64 / ppb ? bytes : 64 / ppb;
        for (int i = 0; i < n * ppb; ++i, bgr += 3) {
            bad |= bgr[0] | bgr[1] | (bgr[2] >= pens ? 1 : 0);
            buffer[i] = bgr[2];
        }
        EncodePens(e, buffer, n, out);
        out += n;
        bytes -= n;
    }
    return bad == 0;
}

#if defined(__x86_64__)

// Lane order of the gathered pens: lane L holds the red of pixel LanePixel(e, L). Mode 2 takes
// its pixels reversed within a byte, so that a byte's leftmost pixel lands in its top bit when
// the lanes' bits are collected with movemask.
constexpr int LanePixel(PixelEncoding e, int lane) {
    return e == PixelEncoding::Mode2 ? lane / 8 * 8 + 7 - lane % 8 : lane;
}

// Shuffle k takes from load k (bytes 16k .. 16k+15 of the chunk) the reds that fall in it.
struct Gather {
    std::array<std::array<std::uint8_t, 16>, 3> shuffle;
    std::array<std::array<std::uint8_t, 16>, 3> notRed;  // 0xFF on blue and green bytes
};

constexpr Gather MakeGather(PixelEncoding e) {
    Gather g{};
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 16; ++j) {
            g.shuffle[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] = 0x80;
            g.notRed[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] =
                (16 * k + j) % 3 == 2 ? 0x00 : 0xFF;
        }
    for (int lane = 0; lane < 16; ++lane) {
        const int at = 3 * LanePixel(e, lane) + 2;
        g.shuffle[static_cast<std::size_t>(at / 16)][static_cast<std::size_t>(lane)] =
            static_cast<std::uint8_t>(at % 16);
    }
    return g;
}

constexpr std::array<Gather, 4> kGather = {
    MakeGather(PixelEncoding::Mode0), MakeGather(PixelEncoding::Mode1),
    MakeGather(PixelEncoding::Mode2), MakeGather(PixelEncoding::Nibbles)};

// Mode 0's left pixel: pen bits 0-3 at byte bits 7, 3, 5, 1; the right pixel one bit lower.
constexpr std::array<std::uint8_t, 16> MakeMode0Left() {
    std::array<std::uint8_t, 16> t{};
    for (int p = 0; p < 16; ++p)
        t[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(((p & 1) << 7) | ((p & 2) << 2) |
                                                                   ((p & 4) << 3) | ((p & 8) >> 2));
    return t;
}
constexpr std::array<std::uint8_t, 16> kMode0Left = MakeMode0Left();

// Mode 1: pixel k of a byte (k = 0 leftmost) puts pen bit 0 at bit 7-k and pen bit 1 at bit 3-k,
// that is share(pen) x 2^(3-k), where share(pen) has pen bit 0 at bit 4 and pen bit 1 at bit 0.
// The four pixels' terms never meet in a bit, so a byte is the sum
// 8 share(p0) + 4 share(p1) + 2 share(p2) + share(p3): one multiply-add of bytes and one of
// 16-bit pairs.
constexpr std::array<std::uint8_t, 16> MakeMode1Share() {
    std::array<std::uint8_t, 16> t{};
    for (int p = 0; p < 16; ++p)
        t[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(((p & 1) << 4) | ((p & 2) >> 1));
    return t;
}
constexpr std::array<std::uint8_t, 16> kMode1Share = MakeMode1Share();
constexpr std::int32_t kMode1Weights = 0x01020408;  // bytes 8, 4, 2, 1
// The low byte of each 32-bit lane, to the front.
constexpr std::array<std::uint8_t, 16> kLowBytesOfDwords = {
    0, 4, 8, 12, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

MOZU_TARGET_SSSE3 inline __m128i Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

template <PixelEncoding E>
MOZU_TARGET_SSSE3 bool EncodeChunks(const std::uint8_t* bgr, int chunks, std::uint8_t* out) {
    const Gather& g = kGather[static_cast<std::size_t>(E)];
    const __m128i s0 = Load(g.shuffle[0].data());
    const __m128i s1 = Load(g.shuffle[1].data());
    const __m128i s2 = Load(g.shuffle[2].data());
    const __m128i m0 = Load(g.notRed[0].data());
    const __m128i m1 = Load(g.notRed[1].data());
    const __m128i m2 = Load(g.notRed[2].data());
    const __m128i limit = _mm_set1_epi8(static_cast<char>(PenCount(E) - 1));
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i mode0Left = Load(kMode0Left.data());
    const __m128i mode1Share = Load(kMode1Share.data());
    const __m128i mode1Weights = _mm_set1_epi32(kMode1Weights);
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i lowBytesOfDwords = Load(kLowBytesOfDwords.data());
    __m128i bad = _mm_setzero_si128();
    for (int c = 0; c < chunks; ++c, bgr += kChunkBytes) {
        const __m128i a = Load(bgr);
        const __m128i b = Load(bgr + 16);
        const __m128i d = Load(bgr + 32);
        const __m128i pens =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, s0), _mm_shuffle_epi8(b, s1)),
                         _mm_shuffle_epi8(d, s2));
        const __m128i others = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(a, m0), _mm_and_si128(b, m1)), _mm_and_si128(d, m2));
        bad = _mm_or_si128(bad, _mm_or_si128(others, _mm_subs_epu8(pens, limit)));
        if constexpr (E == PixelEncoding::Mode2) {
            // Pens 0/1: bit 0 of each lane to bit 7, collected; lanes run right to left.
            const auto bits =
                static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_slli_epi16(pens, 7)));
            std::memcpy(out, &bits, 2);
            out += 2;
        } else if constexpr (E == PixelEncoding::Mode1) {
            const __m128i sums = _mm_madd_epi16(
                _mm_maddubs_epi16(_mm_shuffle_epi8(mode1Share, pens), mode1Weights), ones);
            const auto bytes4 = static_cast<std::uint32_t>(
                _mm_cvtsi128_si32(_mm_shuffle_epi8(sums, lowBytesOfDwords)));
            std::memcpy(out, &bytes4, 4);
            out += 4;
        } else {
            __m128i pairs;  // one 16-bit lane per output byte
            if constexpr (E == PixelEncoding::Mode0) {
                const __m128i left = _mm_shuffle_epi8(mode0Left, pens);
                pairs = _mm_or_si128(_mm_and_si128(left, lowBytes), _mm_srli_epi16(left, 9));
            } else {
                pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(pens, lowBytes), 4),
                                     _mm_srli_epi16(pens, 8));
            }
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(pairs, pairs));
            out += 8;
        }
    }
    return _mm_movemask_epi8(_mm_cmpeq_epi8(bad, _mm_setzero_si128())) == 0xFFFF;
}

// The same 16 bytes in both halves.
MOZU_TARGET_AVX2 inline __m256i Both(const std::array<std::uint8_t, 16>& v) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v.data())));
}

// Bytes `first` .. +15 in the low half, the same bytes of the next chunk in the high half.
MOZU_TARGET_AVX2 inline __m256i LoadPair(const std::uint8_t* first) {
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(first + kChunkBytes),
                               reinterpret_cast<const __m128i*>(first));
}

// The same with two chunks a step, one in each half of the 256-bit registers (AVX2 shuffles
// stay within a half, so both halves use the same shuffles). Returns false on a bad pixel.
template <PixelEncoding E>
MOZU_TARGET_AVX2 bool EncodeChunkPairs(const std::uint8_t* bgr, int pairs, std::uint8_t* out) {
    const Gather& g = kGather[static_cast<std::size_t>(E)];
    const __m256i s0 = Both(g.shuffle[0]), s1 = Both(g.shuffle[1]), s2 = Both(g.shuffle[2]);
    const __m256i m0 = Both(g.notRed[0]), m1 = Both(g.notRed[1]), m2 = Both(g.notRed[2]);
    const __m256i limit = _mm256_set1_epi8(static_cast<char>(PenCount(E) - 1));
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m256i mode0Left = Both(kMode0Left);
    const __m256i mode1Share = Both(kMode1Share);
    const __m256i mode1Weights = _mm256_set1_epi32(kMode1Weights);
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i lowBytesOfDwords = Both(kLowBytesOfDwords);
    const __m256i halvesTogether = _mm256_setr_epi32(0, 4, 0, 0, 0, 0, 0, 0);
    __m256i bad = _mm256_setzero_si256();
    for (int c = 0; c < pairs; ++c, bgr += 2 * kChunkBytes) {
        const __m256i a = LoadPair(bgr);
        const __m256i b = LoadPair(bgr + 16);
        const __m256i d = LoadPair(bgr + 32);
        const __m256i pens =
            _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(a, s0), _mm256_shuffle_epi8(b, s1)),
                            _mm256_shuffle_epi8(d, s2));
        const __m256i others =
            _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(a, m0), _mm256_and_si256(b, m1)),
                            _mm256_and_si256(d, m2));
        bad = _mm256_or_si256(bad, _mm256_or_si256(others, _mm256_subs_epu8(pens, limit)));
        if constexpr (E == PixelEncoding::Mode2) {
            const auto bits =
                static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_slli_epi16(pens, 7)));
            std::memcpy(out, &bits, 4);
            out += 4;
        } else if constexpr (E == PixelEncoding::Mode1) {
            // Four bytes at the front of each half, then the halves' fronts side by side.
            const __m256i sums = _mm256_madd_epi16(
                _mm256_maddubs_epi16(_mm256_shuffle_epi8(mode1Share, pens), mode1Weights), ones);
            const __m256i fronts = _mm256_permutevar8x32_epi32(
                _mm256_shuffle_epi8(sums, lowBytesOfDwords), halvesTogether);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(fronts));
            out += 8;
        } else {
            __m256i pairs16;
            if constexpr (E == PixelEncoding::Mode0) {
                const __m256i left = _mm256_shuffle_epi8(mode0Left, pens);
                pairs16 =
                    _mm256_or_si256(_mm256_and_si256(left, lowBytes), _mm256_srli_epi16(left, 9));
            } else {
                pairs16 = _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(pens, lowBytes), 4),
                                          _mm256_srli_epi16(pens, 8));
            }
            // Each half packs to 8 bytes in its low quarter; quarters 0 and 2 are the output.
            const __m256i packed = _mm256_packus_epi16(pairs16, pairs16);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                             _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08)));
            out += 16;
        }
    }
    return _mm256_testz_si256(bad, bad) != 0;
}

template <PixelEncoding E>
MOZU_TARGET_AVX2 bool EncodeChunksAvx2(const std::uint8_t* bgr, int chunks, std::uint8_t* out) {
    const int pairs = chunks / 2;
    if (!EncodeChunkPairs<E>(bgr, pairs, out)) return false;
    if (chunks % 2 == 0) return true;
    constexpr int kChunkOut = kChunkPixels / PixelsIn(E);
    return EncodeChunks<E>(bgr + static_cast<std::ptrdiff_t>(pairs) * 2 * kChunkBytes, 1,
                           out + static_cast<std::ptrdiff_t>(pairs) * 2 * kChunkOut);
}

template <PixelEncoding E>
bool EncodeChunksOn(PixelPackingPath path, const std::uint8_t* bgr, int chunks, std::uint8_t* out) {
    return path == PixelPackingPath::Avx2 ? EncodeChunksAvx2<E>(bgr, chunks, out)
                                          : EncodeChunks<E>(bgr, chunks, out);
}

bool EncodeChunksFor(PixelPackingPath path, PixelEncoding e, const std::uint8_t* bgr, int chunks,
                     std::uint8_t* out) {
    switch (e) {
        case PixelEncoding::Mode0:
            return EncodeChunksOn<PixelEncoding::Mode0>(path, bgr, chunks, out);
        case PixelEncoding::Mode1:
            return EncodeChunksOn<PixelEncoding::Mode1>(path, bgr, chunks, out);
        case PixelEncoding::Mode2:
            return EncodeChunksOn<PixelEncoding::Mode2>(path, bgr, chunks, out);
        case PixelEncoding::Nibbles:
            return EncodeChunksOn<PixelEncoding::Nibbles>(path, bgr, chunks, out);
    }
    return false;
}

#endif

}  // namespace

bool EncodeIndexPixels(PixelEncoding e, const std::uint8_t* bgr, int bytes, std::uint8_t* out) {
    if (bytes <= 0) return true;
#if defined(__x86_64__)
    const PixelPackingPath path = KernelPath<PixelPackingPath>::Current();
    if (path == PixelPackingPath::Ssse3 || path == PixelPackingPath::Avx2) {
        const int ppb = PixelsPerByte(e);
        const int chunks = bytes * ppb / kChunkPixels;
        const int done = chunks * kChunkPixels / ppb;  // bytes
        return EncodeChunksFor(path, e, bgr, chunks, out) &&
               EncodeScalar(e, bgr + static_cast<std::ptrdiff_t>(chunks) * kChunkBytes,
                            bytes - done, out + done);
    }
#endif
    return EncodeScalar(e, bgr, bytes, out);
}

}  // namespace mozu
