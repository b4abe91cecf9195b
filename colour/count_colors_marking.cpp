// Marking the pixels of a picture in the colour set of CountColors: the plain form, and
// vector forms that turn many pixels into bit numbers at once.

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "colour/count_colors_set.h"
#include "platform/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mozu::count_colors {

namespace {

#if defined(__x86_64__)
// The pixel's B, G, R bytes as red << 16 | green << 8 | blue. The wide form reads a fourth
// byte, so it is kept for pixels that are not the last of the picture.
inline std::uint32_t Wide(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0xFFFFFF;  // little-endian: blue in the low byte
}
inline std::uint32_t Narrow(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

// What the conversion of a chunk wrote: the number of bit numbers, and the units they fall
// in.
struct Written {
    std::size_t indexes = 0;
    std::uint64_t units = 0;
};

// Neighbouring pixels often have colours of one 32-bit word, so a mark may wait for the
// mark before it. The two buffers come from two distant places of the picture and are
// marked in turn, so two unrelated chains overlap. Only the vector conversions fill the
// buffers, and every processor that has them has BMI2, whose shifts save a third of the
// instructions of a mark.
MOZU_TARGET_BMI2 void MarkBuffers(ColourSet& set, std::size_t countA, std::size_t countB) {
    const std::uint32_t* a = set.indexes[0];
    const std::uint32_t* b = set.indexes[1];
    const std::size_t both = std::min(countA, countB);
    for (std::size_t i = 0; i < both; ++i) {
        Mark(set, a[i]);
        Mark(set, b[i]);
    }
    for (std::size_t i = both; i < countA; ++i) Mark(set, a[i]);
    for (std::size_t i = both; i < countB; ++i) Mark(set, b[i]);
}

// Marks every pixel and returns the units used. The last pixel of the picture is read
// narrow, all others wide; the others are split into two halves whose chunks are turned
// into bit numbers by `convert` and marked side by side.
template <typename Convert>
std::uint64_t MarkPicture(ColourSet& set, const Picture& picture, Convert convert) {
    const std::uint8_t* data = picture.data();
    const std::size_t wide =
        static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height()) - 1;
    const std::size_t countA = wide / 2;
    const std::size_t countB = wide - countA;  // never fewer than countA
    const std::uint8_t* a = data;
    const std::uint8_t* b = data + 3 * countA;
    // How many of the `count` pixels from pixel `first` on lie in the top row.
    const auto width = static_cast<std::size_t>(picture.width());
    const auto NoAbove = [width](std::size_t first, std::size_t count) {
        return first < width ? std::min(count, width - first) : 0;
    };
    const std::uint32_t last = BitIndex(Narrow(data + 3 * wide));
    Mark(set, last);
    std::uint64_t units = UnitBit(last);
    for (std::size_t done = 0; done < countB; done += kChunk) {
        const std::size_t chunkA = done < countA ? std::min(kChunk, countA - done) : 0;
        const std::size_t chunkB = std::min(kChunk, countB - done);
        const Written writtenA =
            convert(a + 3 * done, chunkA, set.indexes[0], NoAbove(done, chunkA));
        const Written writtenB =
            convert(b + 3 * done, chunkB, set.indexes[1], NoAbove(countA + done, chunkB));
        MarkBuffers(set, writtenA.indexes, writtenB.indexes);
        units |= writtenA.units | writtenB.units;
    }
    return units;
}

// x with the bits of `shifted` under `mask` added.
MOZU_TARGET_AVX2 [[gnu::always_inline]] inline __m256i Field(__m256i x, __m256i shifted,
                                                             std::int32_t mask) {
    return _mm256_or_si256(x, _mm256_and_si256(shifted, _mm256_set1_epi32(mask)));
}

// For each 8-bit mask of lanes to keep, the kept lanes' numbers in order (the rest 0):
// AVX2 has no compress instruction, so a permutation takes them to the front.
constexpr auto kKeepLanes = [] {
    std::array<std::array<std::uint8_t, 8>, 256> t{};
    for (std::size_t keep = 0; keep < 256; ++keep) {
        std::size_t n = 0;
        for (std::uint8_t lane = 0; lane < 8; ++lane)
            if (keep >> lane & 1) t[keep][n++] = lane;
    }
    return t;
}();

// The colours of eight pixels from 32 bytes (24 used) as red << 16 | green << 8 | blue.
MOZU_TARGET_AVX2 [[gnu::always_inline]] inline __m256i Colours8(const std::uint8_t* p) {
    // Pixels 0-3 into the low half, 4-7 into the high half; then each pixel's three bytes
    // into a 32-bit lane with a zero top byte.
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 0, 3, 4, 5, 0);
    const __m256i lanes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                           1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(v, spread), lanes);
}

// Eight pixels at a time; a load takes 32 bytes for the 24 of eight pixels, so the last
// pixels before `end` are converted one by one. As with AVX-512, a pixel of the colour of
// the pixel before it or above it (`stride` bytes back; the first `noAbove` pixels have
// none) is left out.
MOZU_TARGET_AVX2 Written ConvertAvx2(const std::uint8_t* p, std::size_t count,
                                     std::uint32_t* indexes, const std::uint8_t* end,
                                     std::size_t stride, std::size_t noAbove) {
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i thirtyTwo = _mm256_set1_epi32(32);
    const __m256i rotate = _mm256_setr_epi32(7, 0, 1, 2, 3, 4, 5, 6);
    // Lane-wise: the used units 0-31 and 32-63.
    __m256i unitsLow = _mm256_setzero_si256(), unitsHigh = _mm256_setzero_si256();
    __m256i previous = _mm256_set1_epi32(-1);  // no bit number: the first pixel is kept
    Written written;
    std::size_t i = 0;
    for (; i + 8 <= count && p + 3 * i + 32 <= end; i += 8) {
        const __m256i v = Colours8(p + 3 * i);
        __m256i x = _mm256_and_si256(v, _mm256_set1_epi32(0xC00007));
        x = Field(x, _mm256_slli_epi32(v, 6), 0x300E00);
        x = Field(x, _mm256_slli_epi32(v, 12), 0xC0000);
        x = Field(x, _mm256_srli_epi32(v, 4), 0x38000);
        x = Field(x, _mm256_slli_epi32(v, 1), 0x7000);
        x = Field(x, _mm256_srli_epi32(v, 10), 0x1C0);
        x = Field(x, _mm256_srli_epi32(v, 5), 0x38);
        // Lane k against lane k - 1, lane 0 against the last lane of the vector before.
        const __m256i before = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(x, rotate),
                                                  _mm256_permutevar8x32_epi32(previous, rotate), 1);
        __m256i seen = _mm256_cmpeq_epi32(x, before);
        if (i >= noAbove)
            seen = _mm256_or_si256(seen, _mm256_cmpeq_epi32(v, Colours8(p + 3 * i - stride)));
        const unsigned keep =
            ~static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(seen))) & 0xFF;
        const __m256i order = _mm256_cvtepu8_epi32(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kKeepLanes[keep].data())));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(indexes + written.indexes),
                            _mm256_permutevar8x32_epi32(x, order));
        written.indexes += static_cast<std::size_t>(std::popcount(keep));
        previous = x;
        // A shift by 32 or more gives 0, so each unit lands in one of the two.
        const __m256i unit = _mm256_srli_epi32(x, 18);
        unitsLow = _mm256_or_si256(unitsLow, _mm256_sllv_epi32(one, unit));
        unitsHigh =
            _mm256_or_si256(unitsHigh, _mm256_sllv_epi32(one, _mm256_sub_epi32(unit, thirtyTwo)));
    }
    alignas(32) std::uint32_t low[8], high[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(low), unitsLow);
    _mm256_store_si256(reinterpret_cast<__m256i*>(high), unitsHigh);
    for (std::size_t k = 0; k < 8; ++k) written.units |= low[k] | std::uint64_t{high[k]} << 32;
    for (; i < count; ++i) {
        const std::uint32_t index = BitIndex(Wide(p + 3 * i));
        indexes[written.indexes++] = index;
        written.units |= UnitBit(index);
    }
    return written;
}

// GCC 12 takes the deliberately undefined pass-through value inside its own AVX-512
// intrinsics for an uninitialised variable.
#pragma GCC diagnostic push
#if !defined(__clang__)  // a GCC-only warning; clang names it nowhere
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#pragma GCC diagnostic ignored "-Wuninitialized"

// The bit number moves every bit of a channel to a place of its own, a linear map over GF(2)
// that GF2P8AFFINEQB applies to eight bytes with one 8 x 8 bit matrix. The pixels' channel
// bytes are laid out in three planes, one for each byte of the bit numbers (16 pixels, two
// 64-bit lanes, a plane), each plane with its own matrices; the three channels' results are
// combined and the planes put back together into one bit number per 32-bit lane.
struct GfniTables {
    alignas(64) std::array<std::uint8_t, 64> planes[3];    // by channel: blue, green, red
    alignas(64) std::array<std::uint64_t, 8> matrices[3];  // by channel, two lanes a plane
    alignas(64) std::array<std::uint8_t, 64> lanes;        // planes back to 32-bit lanes
};
constexpr GfniTables kGfni = [] {
    GfniTables t{};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        // Byte q takes channel byte of pixel q mod 16 (the raw bytes are B, G, R per pixel).
        for (std::size_t q = 0; q < 48; ++q)
            t.planes[channel][q] = static_cast<std::uint8_t>(3 * (q % 16) + channel);
        // Output bit i of a byte is the parity of the matrix's byte 7 - i and'ed with the
        // input byte: one input bit per output bit here.
        for (unsigned bit = 0; bit < 8; ++bit) {
            const auto to =
                static_cast<unsigned>(std::countr_zero(BitIndex(1u << (8 * channel + bit))));
            const unsigned plane = to / 8, place = to % 8;
            for (unsigned lane = 2 * plane; lane < 2 * plane + 2; ++lane)
                t.matrices[channel][lane] |= std::uint64_t{1} << bit << (8 * (7 - place));
        }
    }
    for (std::size_t pixel = 0; pixel < 16; ++pixel)
        for (std::size_t plane = 0; plane < 3; ++plane)
            t.lanes[4 * pixel + plane] = static_cast<std::uint8_t>(16 * plane + pixel);
    return t;
}();

// One channel's share of the bit numbers, in planes.
MOZU_TARGET_AVX512_GFNI [[gnu::always_inline]] inline __m512i ChannelPlanes(__m512i raw,
                                                                            __m512i plane,
                                                                            __m512i matrix) {
    return _mm512_gf2p8affine_epi64_epi8(_mm512_permutexvar_epi8(plane, raw), matrix, 0);
}

// Sixteen pixels at a time. A pixel of the same colour as the pixel before it is left out:
// its mark would change nothing, and it is the mark most likely to wait for the one before.
struct Avx512Converter {
    const __m512i spread, one, thirtyTwo;
    const __m512i planeB, planeG, planeR, matrixB, matrixG, matrixR, lanes;
    __m512i previous;             // the bit numbers of the vector before
    __m512i unitsLow, unitsHigh;  // lane-wise: the used units 0-31 and 32-63
    std::size_t written = 0;

    MOZU_TARGET_AVX512_GFNI explicit Avx512Converter(const std::uint8_t* spreadTable)
        : spread(_mm512_load_si512(spreadTable)),
          one(_mm512_set1_epi32(1)),
          thirtyTwo(_mm512_set1_epi32(32)),
          planeB(_mm512_load_si512(kGfni.planes[0].data())),
          planeG(_mm512_load_si512(kGfni.planes[1].data())),
          planeR(_mm512_load_si512(kGfni.planes[2].data())),
          matrixB(_mm512_load_si512(kGfni.matrices[0].data())),
          matrixG(_mm512_load_si512(kGfni.matrices[1].data())),
          matrixR(_mm512_load_si512(kGfni.matrices[2].data())),
          lanes(_mm512_load_si512(kGfni.lanes.data())),
          previous(_mm512_set1_epi32(-1)),  // no bit number: the first pixel is kept
          unitsLow(_mm512_setzero_si512()),
          unitsHigh(_mm512_setzero_si512()) {}

    // The pixels' colours as red << 16 | green << 8 | blue, from 48 bytes.
    MOZU_TARGET_AVX512_GFNI [[gnu::always_inline]] inline __m512i Colours(__m512i raw) const {
        return _mm512_maskz_permutexvar_epi8(0x7777777777777777ull, spread, raw);
    }

    // The bit numbers of the 16 pixels whose bytes `raw` holds.
    MOZU_TARGET_AVX512_GFNI [[gnu::always_inline]] inline __m512i BitIndexes(__m512i raw) const {
        constexpr int kXor3 = 0x96;  // the channels' bits never meet, so xor is or
        const __m512i planes = _mm512_ternarylogic_epi32(
            ChannelPlanes(raw, planeB, matrixB), ChannelPlanes(raw, planeG, matrixG),
            ChannelPlanes(raw, planeR, matrixR), kXor3);
        return _mm512_maskz_permutexvar_epi8(0x7777777777777777ull, lanes, planes);
    }

    // `raw` holds the pixels' bytes; `valid` says which lanes are pixels, `seen` which
    // pixels are known to repeat an earlier one.
    MOZU_TARGET_AVX512_GFNI [[gnu::always_inline]] inline void Step(__m512i raw, __mmask16 valid,
                                                                    __mmask16 seen,
                                                                    std::uint32_t* indexes) {
        const __m512i x = BitIndexes(raw);
        // Lane k against lane k - 1, lane 0 against the last lane of the vector before.
        const __m512i before = _mm512_alignr_epi32(x, previous, 15);
        const __mmask16 fresh =
            _mm512_mask_cmpneq_epi32_mask(static_cast<__mmask16>(valid & ~seen), x, before);
        _mm512_storeu_si512(indexes + written, _mm512_maskz_compress_epi32(fresh, x));
        written += static_cast<std::size_t>(std::popcount(static_cast<unsigned>(fresh)));
        previous = x;
        // A shift by 32 or more gives 0, so each unit lands in one of the two.
        const __m512i unit = _mm512_srli_epi32(x, 18);
        unitsLow = _mm512_mask_or_epi32(unitsLow, valid, unitsLow, _mm512_sllv_epi32(one, unit));
        unitsHigh = _mm512_mask_or_epi32(unitsHigh, valid, unitsHigh,
                                         _mm512_sllv_epi32(one, _mm512_sub_epi32(unit, thirtyTwo)));
    }

    MOZU_TARGET_AVX512_GFNI Written Result() const {
        alignas(64) std::uint32_t low[16], high[16];
        _mm512_store_si512(low, unitsLow);
        _mm512_store_si512(high, unitsHigh);
        Written result{written, 0};
        for (std::size_t k = 0; k < 16; ++k) result.units |= low[k] | std::uint64_t{high[k]} << 32;
        return result;
    }
};

// `stride` is the picture's row length in bytes; the first `noAbove` pixels have no row
// above them. A pixel of the same colour as the pixel above it is left out too.
MOZU_TARGET_AVX512_GFNI Written ConvertAvx512(const std::uint8_t* p, std::size_t count,
                                              std::uint32_t* indexes, std::size_t stride,
                                              std::size_t noAbove) {
    // Lane k takes bytes 3k, 3k + 1, 3k + 2 and a zero.
    alignas(64) static constexpr std::array<std::uint8_t, 64> kSpread = [] {
        std::array<std::uint8_t, 64> t{};
        for (std::size_t lane = 0; lane < 16; ++lane)
            for (std::size_t k = 0; k < 3; ++k)
                t[lane * 4 + k] = static_cast<std::uint8_t>(lane * 3 + k);
        return t;
    }();
    Avx512Converter converter(kSpread.data());
    // Masked loads of 48 bytes: nothing is read past the chunk.
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        constexpr __mmask64 k48 = 0xFFFFFFFFFFFF;
        const __m512i raw = _mm512_maskz_loadu_epi8(k48, p + 3 * i);
        __mmask16 seen = 0;
        if (i >= noAbove)
            seen = _mm512_cmpeq_epi32_mask(
                converter.Colours(raw),
                converter.Colours(_mm512_maskz_loadu_epi8(k48, p + 3 * i - stride)));
        converter.Step(raw, 0xFFFF, seen, indexes);
    }
    if (i < count) {
        const std::size_t n = count - i;
        converter.Step(_mm512_maskz_loadu_epi8((std::uint64_t{1} << (3 * n)) - 1, p + 3 * i),
                       static_cast<__mmask16>((1u << n) - 1), 0, indexes);
    }
    return converter.Result();
}

#pragma GCC diagnostic pop
#endif

}  // namespace

// The bit number of each channel value on its own; a colour's bit number is the three
// or'ed together (fewer instructions than moving the fields one by one).
struct ChannelBits {
    std::array<std::uint32_t, 256> red, green, blue;
};
constexpr ChannelBits kChannelBits = [] {
    ChannelBits t{};
    for (std::uint32_t c = 0; c < 256; ++c) {
        t.red[c] = BitIndex(c << 16);
        t.green[c] = BitIndex(c << 8);
        t.blue[c] = BitIndex(c);
    }
    return t;
}();

inline std::uint32_t PixelBitIndex(const std::uint8_t* p) {
    return kChannelBits.blue[p[0]] | kChannelBits.green[p[1]] | kChannelBits.red[p[2]];
}

// Without vector instructions the pixels are marked as they are read, the two halves in
// turn.
std::uint64_t MarkPicturePortable(ColourSet& set, const Picture& picture) {
    const std::uint8_t* data = picture.data();
    const std::size_t count =
        static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height());
    const std::size_t countA = count / 2;
    const std::uint8_t* a = data;
    const std::uint8_t* b = data + 3 * countA;
    // A byte per unit: a plain store per pixel costs less than a variable shift.
    std::array<std::uint8_t, 64> used{};
    const auto mark = [&](std::uint32_t index) {
        Mark(set, index);
        used[index >> 18] = 1;
    };
    for (std::size_t i = 0; i < countA; ++i) {
        mark(PixelBitIndex(a + 3 * i));
        mark(PixelBitIndex(b + 3 * i));
    }
    if (count % 2 != 0) mark(PixelBitIndex(b + 3 * countA));
    std::uint64_t units = 0;
    for (std::size_t unit = 0; unit < used.size(); ++unit)
        units |= static_cast<std::uint64_t>(used[unit]) << unit;
    return units;
}

#if defined(__x86_64__)
std::uint64_t MarkPictureAvx2(ColourSet& set, const Picture& picture) {
    const std::uint8_t* end = picture.data() + picture.byteSize();
    return MarkPicture(
        set, picture,
        [end, stride = picture.stride()](const std::uint8_t* p, std::size_t count,
                                         std::uint32_t* indexes, std::size_t noAbove) {
            return ConvertAvx2(p, count, indexes, end, stride, noAbove);
        });
}

std::uint64_t MarkPictureAvx512(ColourSet& set, const Picture& picture) {
    return MarkPicture(set, picture,
                       [stride = picture.stride()](const std::uint8_t* p, std::size_t count,
                                                   std::uint32_t* indexes, std::size_t noAbove) {
                           return ConvertAvx512(p, count, indexes, stride, noAbove);
                       });
}
#endif

}  // namespace mozu::count_colors
