#include "colour/count_colors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mozu {

namespace {

// The set of present colours is 2^24 bits. Each channel is split into its top two, middle
// three and low three bits (r2 r3' r3 for red), and a colour's bit number is, from high to
// low,
//   r2 g2 b2 | r3' g3' b3' | r3 g3 b3
// so that
// - one 64-byte block of 512 bits (bit number >> 9) holds an 8 x 8 x 8 cube of colour space.
//   Neighbouring pixels of a photograph have close colours and mostly hit a block, and a
//   cache line, hit shortly before: the sample photograph touches about 3,500 blocks
//   (220 KiB) where rows of 256 blues per red-green pair touched 12,400 lines (780 KiB,
//   more than the level 2 cache keeps beside the picture);
// - one unit of 512 blocks (bit number >> 18, 32 KiB) holds a 64 x 64 x 64 cube. The 64
//   units in use are one 64-bit mask kept in registers while marking; the count and the
//   clearing afterwards look only at the blocks of used units. (A used byte per block,
//   stored with every mark, cost as much as the marks themselves.)
// Inside a block, byte r3 << 3 | g3 holds the eight blues b3 of one red-green pair.
constexpr std::size_t kBlocks = std::size_t{1} << 15;
constexpr std::size_t kBlockWords = 16;  // 32-bit words of a block
constexpr std::size_t kBlocksPerUnit = 512;

// The block of the colours whose channels' top five bits are r5, g5, b5.
constexpr std::size_t BlockOf(unsigned r5, unsigned g5, unsigned b5) {
    return (r5 >> 3) << 13 | (g5 >> 3) << 11 | (b5 >> 3) << 9 | (r5 & 7) << 6 | (g5 & 7) << 3 |
           (b5 & 7);
}

// The bit number of the colour red << 16 | green << 8 | blue.
constexpr std::uint32_t BitIndex(std::uint32_t v) {
    return (v & 0xC00007)           // r2 and b3 stay
           | ((v << 6) & 0x300E00)  // g2, b3'
           | ((v << 12) & 0xC0000)  // b2
           | ((v >> 4) & 0x38000)   // r3'
           | ((v << 1) & 0x7000)    // g3'
           | ((v >> 10) & 0x1C0)    // r3
           | ((v >> 5) & 0x38);     // g3
}
static_assert(BitIndex(0xFFFFFF) == 0xFFFFFF && BitIndex(0x010204) == 0x000054);
static_assert(BitIndex(0x000100) >> 9 == BlockOf(0, 0, 0) &&
              BitIndex(0x204080) >> 9 == BlockOf(4, 8, 16));

// Pixels are turned into bit numbers a chunk at a time, from two places of the picture
// at once (see MarkPicture), into buffers that stay in the level 1 cache.
constexpr std::size_t kChunk = 1024;
constexpr std::size_t kSlack = 16;  // a vector store may run this far past the last entry

struct alignas(64) ColourSet {
    std::uint32_t words[kBlocks * kBlockWords];  // 2 MiB
    std::uint32_t indexes[2][kChunk + kSlack];   // bit numbers of the current chunks
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The set is kept for the thread's next count (2 MiB that a fresh allocation would have to
// clear or fault in page by page) and is always left empty: a count clears only the units
// it used.
ColourSet& ThreadColourSet() {
    thread_local std::unique_ptr<ColourSet, FreeDeleter> set;
    if (!set) {
        void* p = std::aligned_alloc(alignof(ColourSet), sizeof(ColourSet));
        if (!p) throw std::bad_alloc();
        std::memset(p, 0, sizeof(ColourSet));
        set.reset(static_cast<ColourSet*>(p));
    }
    return *set;
}

[[gnu::always_inline]] inline void Mark(ColourSet& set, std::uint32_t index) {
    set.words[index >> 5] |= 1u << (index & 31);
}
constexpr std::uint64_t UnitBit(std::uint32_t index) {
    return std::uint64_t{1} << (index >> 18);
}

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
#if defined(__x86_64__)
[[gnu::target("bmi2")]]
#endif
void MarkBuffers(ColourSet& set, std::size_t countA, std::size_t countB) {
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
    std::uint64_t units = 0;
    const auto mark = [&](std::uint32_t index) {
        Mark(set, index);
        units |= UnitBit(index);
    };
    for (std::size_t i = 0; i < countA; ++i) {
        mark(PixelBitIndex(a + 3 * i));
        mark(PixelBitIndex(b + 3 * i));
    }
    if (count % 2 != 0) mark(PixelBitIndex(b + 3 * countA));
    return units;
}

#if defined(__x86_64__)
// x with the bits of `shifted` under `mask` added.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Field(__m256i x, __m256i shifted,
                                                                 std::int32_t mask) {
    return _mm256_or_si256(x, _mm256_and_si256(shifted, _mm256_set1_epi32(mask)));
}

// Eight pixels at a time; a load takes 32 bytes for the 24 of eight pixels, so the last
// pixels before `end` are converted one by one.
[[gnu::target("avx2")]] Written ConvertAvx2(const std::uint8_t* p, std::size_t count,
                                            std::uint32_t* indexes, const std::uint8_t* end) {
    // Pixels 0-3 into the low half, 4-7 into the high half; then each pixel's three bytes
    // into a 32-bit lane with a zero top byte.
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 0, 3, 4, 5, 0);
    const __m256i lanes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                           1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i thirtyTwo = _mm256_set1_epi32(32);
    // Lane-wise: the used units 0-31 and 32-63.
    __m256i unitsLow = _mm256_setzero_si256(), unitsHigh = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 8 <= count && p + 3 * i + 32 <= end; i += 8) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 3 * i));
        v = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(v, spread), lanes);
        __m256i x = _mm256_and_si256(v, _mm256_set1_epi32(0xC00007));
        x = Field(x, _mm256_slli_epi32(v, 6), 0x300E00);
        x = Field(x, _mm256_slli_epi32(v, 12), 0xC0000);
        x = Field(x, _mm256_srli_epi32(v, 4), 0x38000);
        x = Field(x, _mm256_slli_epi32(v, 1), 0x7000);
        x = Field(x, _mm256_srli_epi32(v, 10), 0x1C0);
        x = Field(x, _mm256_srli_epi32(v, 5), 0x38);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(indexes + i), x);
        // A shift by 32 or more gives 0, so each unit lands in one of the two.
        const __m256i unit = _mm256_srli_epi32(x, 18);
        unitsLow = _mm256_or_si256(unitsLow, _mm256_sllv_epi32(one, unit));
        unitsHigh =
            _mm256_or_si256(unitsHigh, _mm256_sllv_epi32(one, _mm256_sub_epi32(unit, thirtyTwo)));
    }
    alignas(32) std::uint32_t low[8], high[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(low), unitsLow);
    _mm256_store_si256(reinterpret_cast<__m256i*>(high), unitsHigh);
    Written written{count, 0};
    for (std::size_t k = 0; k < 8; ++k) written.units |= low[k] | std::uint64_t{high[k]} << 32;
    for (; i < count; ++i) {
        indexes[i] = BitIndex(Wide(p + 3 * i));
        written.units |= UnitBit(indexes[i]);
    }
    return written;
}

// GCC 12 takes the deliberately undefined pass-through value inside its own AVX-512
// intrinsics for an uninitialised variable.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"

#define MOZU_AVX512 gnu::target("avx512f,avx512bw,avx512vbmi,gfni")

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
[[MOZU_AVX512, gnu::always_inline]] inline __m512i ChannelPlanes(__m512i raw, __m512i plane,
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

    [[MOZU_AVX512]] explicit Avx512Converter(const std::uint8_t* spreadTable)
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
    [[MOZU_AVX512, gnu::always_inline]] inline __m512i Colours(__m512i raw) const {
        return _mm512_maskz_permutexvar_epi8(0x7777777777777777ull, spread, raw);
    }

    // The bit numbers of the 16 pixels whose bytes `raw` holds.
    [[MOZU_AVX512, gnu::always_inline]] inline __m512i BitIndexes(__m512i raw) const {
        constexpr int kXor3 = 0x96;  // the channels' bits never meet, so xor is or
        const __m512i planes = _mm512_ternarylogic_epi32(
            ChannelPlanes(raw, planeB, matrixB), ChannelPlanes(raw, planeG, matrixG),
            ChannelPlanes(raw, planeR, matrixR), kXor3);
        return _mm512_maskz_permutexvar_epi8(0x7777777777777777ull, lanes, planes);
    }

    // `raw` holds the pixels' bytes; `valid` says which lanes are pixels, `seen` which
    // pixels are known to repeat an earlier one.
    [[MOZU_AVX512, gnu::always_inline]] inline void Step(__m512i raw, __mmask16 valid,
                                                         __mmask16 seen, std::uint32_t* indexes) {
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

    [[MOZU_AVX512]] Written Result() const {
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
[[MOZU_AVX512]] Written ConvertAvx512(const std::uint8_t* p, std::size_t count,
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

#undef MOZU_AVX512
#pragma GCC diagnostic pop
#endif

// Multiplying eight bytes of 0 or 1 by this puts byte k's bit at bit 56 + k.
constexpr std::uint64_t kGather = 0x0102040810204080;

// One bit per byte of w, set where the byte is not zero.
inline unsigned NonzeroBytes(std::uint64_t w) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    const std::uint64_t top = (((w & kLow7) + kLow7) | w) & ~kLow7;
    return static_cast<unsigned>(((top >> 7) * kGather) >> 56);
}

inline const std::uint8_t* BlockBytes(const ColourSet& set, std::size_t block) {
    return reinterpret_cast<const std::uint8_t*>(set.words + block * kBlockWords);
}

inline bool InUsedUnit(std::uint64_t units, std::size_t block) {
    return units >> (block >> 9) & 1;
}

// The red-green pairs with top five bits r5, g5 that hold a colour, as bit r3 << 3 | g3: the
// bytes of their 32 blocks taken together.
std::uint64_t PairsOfCell(const ColourSet& set, std::uint64_t units, unsigned r5, unsigned g5) {
    std::uint64_t any[8] = {};
    for (unsigned b5 = 0; b5 < 32; ++b5) {
        const std::size_t block = BlockOf(r5, g5, b5);
        if (!InUsedUnit(units, block)) continue;
        std::uint64_t words[8];
        std::memcpy(words, BlockBytes(set, block), sizeof words);
        for (std::size_t k = 0; k < 8; ++k) any[k] |= words[k];
    }
    std::uint64_t pairs = 0;
    for (std::size_t k = 0; k < 8; ++k)
        pairs |= static_cast<std::uint64_t>(NonzeroBytes(any[k])) << (8 * k);
    return pairs;
}

// The first up to 16 colours in the order green (outer), red, blue (inner). The pairs of a
// cell (r5, g5) are gathered only when the walk reaches it, so a photograph's walk ends
// after a few cells.
void FindFirstColours(const ColourSet& set, std::uint64_t units, std::array<Colour, 16>& found) {
    std::array<std::uint64_t, 1024> pairs;  // by r5 << 5 | g5
    std::array<bool, 1024> known{};
    std::size_t n = 0;
    for (unsigned g = 0; g < 256; ++g) {
        const unsigned g5 = g >> 3, g3 = g & 7;
        for (unsigned r5 = 0; r5 < 32; ++r5) {
            const std::size_t cell = r5 << 5 | g5;
            if (!known[cell]) {
                pairs[cell] = PairsOfCell(set, units, r5, g5);
                known[cell] = true;
            }
            // The pairs of this green: bit 8 x r3 for each r3.
            for (std::uint64_t reds = (pairs[cell] >> g3) & 0x0101010101010101; reds != 0;
                 reds &= reds - 1) {
                const unsigned r3 = static_cast<unsigned>(std::countr_zero(reds)) >> 3;
                for (unsigned b5 = 0; b5 < 32; ++b5) {
                    const std::size_t block = BlockOf(r5, g5, b5);
                    if (!InUsedUnit(units, block)) continue;
                    for (unsigned blues = BlockBytes(set, block)[r3 << 3 | g3]; blues != 0;
                         blues &= blues - 1) {
                        const unsigned b = b5 << 3 | static_cast<unsigned>(std::countr_zero(blues));
                        found[n++] = MakeColour(static_cast<int>(r5 << 3 | r3), static_cast<int>(g),
                                                static_cast<int>(b));
                        if (n == found.size()) return;
                    }
                }
            }
        }
    }
}

// Counts the bits of every block of the used units and clears the blocks that hold any, so
// the set is empty for the next count.
[[gnu::always_inline]] inline std::int32_t CountAndClearBody(ColourSet& set, std::uint64_t units) {
    std::int32_t count = 0;
    for (; units != 0; units &= units - 1) {
        const std::size_t first =
            static_cast<std::size_t>(std::countr_zero(units)) * kBlocksPerUnit;
        for (std::size_t block = first; block < first + kBlocksPerUnit; ++block) {
            std::uint32_t* bits = set.words + block * kBlockWords;
            std::uint64_t words[8];
            std::memcpy(words, bits, sizeof words);
            if ((words[0] | words[1] | words[2] | words[3] | words[4] | words[5] | words[6] |
                 words[7]) == 0)
                continue;
            for (std::uint64_t w : words) count += std::popcount(w);
            std::memset(bits, 0, sizeof words);
        }
    }
    return count;
}

std::int32_t CountAndClear(ColourSet& set, std::uint64_t units) {
    return CountAndClearBody(set, units);
}

#if defined(__x86_64__) && !defined(__POPCNT__)
// The same, compiled for the processor's popcount instruction, which nearly every x86-64 has
// but the build does not require.
[[gnu::target("popcnt")]] std::int32_t CountAndClearPopcnt(ColourSet& set, std::uint64_t units) {
    return CountAndClearBody(set, units);
}
#endif

#if defined(__x86_64__)
#pragma GCC diagnostic push  // as for the conversion above
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
// Sixteen words at a time; a block that holds no bit is not written, so the untouched
// blocks of a used unit stay clean in the cache.
[[gnu::target("avx512f,avx512vpopcntdq")]] std::int32_t CountAndClearAvx512(ColourSet& set,
                                                                            std::uint64_t units) {
    const __m512i zero = _mm512_setzero_si512();
    __m512i count = zero;
    for (; units != 0; units &= units - 1) {
        std::uint32_t* bits = set.words + static_cast<std::size_t>(std::countr_zero(units)) *
                                              kBlocksPerUnit * kBlockWords;
        for (std::size_t k = 0; k < kBlocksPerUnit; ++k, bits += kBlockWords) {
            const __m512i words = _mm512_load_si512(bits);
            count = _mm512_add_epi64(count, _mm512_popcnt_epi64(words));
            _mm512_mask_storeu_epi64(bits, _mm512_test_epi64_mask(words, words), zero);
        }
    }
    return static_cast<std::int32_t>(_mm512_reduce_add_epi64(count));
}
#pragma GCC diagnostic pop
#endif

std::int32_t CountAndClearUnits(ColourSet& set, std::uint64_t units) {
#if defined(__x86_64__) && !defined(__POPCNT__)
    if (__builtin_cpu_supports("popcnt")) return CountAndClearPopcnt(set, units);
#endif
    return CountAndClear(set, units);
}

}  // namespace

namespace detail {

bool CountPathSupported(CountPath path) {
    switch (path) {
        case CountPath::Portable:
            return true;
#if defined(__x86_64__)
        case CountPath::Avx2:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");
        case CountPath::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("bmi2") &&
                   __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
                   __builtin_cpu_supports("avx512vpopcntdq") && __builtin_cpu_supports("gfni");
#endif
        default:
            return false;
    }
}

std::int32_t CountColorsOn(CountPath path, ConversionState& state, const Picture& picture) {
    state.foundColours.fill(0);
    if (picture.empty()) return 0;
    ColourSet& set = ThreadColourSet();
    std::uint64_t units;
    switch (path) {
#if defined(__x86_64__)
        case CountPath::Avx512:
            units = MarkPicture(
                set, picture,
                [stride = picture.stride()](const std::uint8_t* p, std::size_t count,
                                            std::uint32_t* indexes, std::size_t noAbove) {
                    return ConvertAvx512(p, count, indexes, stride, noAbove);
                });
            break;
        case CountPath::Avx2: {
            const std::uint8_t* end = picture.data() + picture.byteSize();
            units =
                MarkPicture(set, picture,
                            [end](const std::uint8_t* p, std::size_t count, std::uint32_t* indexes,
                                  std::size_t) { return ConvertAvx2(p, count, indexes, end); });
            break;
        }
#endif
        default:
            units = MarkPicturePortable(set, picture);
            break;
    }
    FindFirstColours(set, units, state.foundColours);
#if defined(__x86_64__)
    if (path == CountPath::Avx512) return CountAndClearAvx512(set, units);
#endif
    return CountAndClearUnits(set, units);
}

}  // namespace detail

std::int32_t CountColors(ConversionState& state, const Picture& picture) {
    using detail::CountPath;
    static const CountPath best = detail::CountPathSupported(CountPath::Avx512) ? CountPath::Avx512
                                  : detail::CountPathSupported(CountPath::Avx2)
                                      ? CountPath::Avx2
                                      : CountPath::Portable;
    return detail::CountColorsOn(best, state, picture);
}

}  // namespace mozu
