#include "colour/count_colors.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "colour/count_colors_set.h"
#include "platform/cpu_features.h"
#include "platform/zeroed_pages.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mozu {

namespace {

using count_colors::BlockOf;
using count_colors::ColourSet;
using count_colors::kBlocksPerUnit;
using count_colors::kBlockWords;

// The set is kept for the thread's next count and is always left empty: a count clears only
// the units it used. It comes zeroed from the system on huge pages where the kernel has them
// (platform/zeroed_pages.h): clearing or faulting in 2 MiB page by page cost more than a
// 640 x 480 picture's whole count.
ColourSet& ThreadColourSet() {
    thread_local ZeroedPages set;
    if (!set) set = AllocateZeroedPages(sizeof(ColourSet));
    return *static_cast<ColourSet*>(set.get());
}

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

#if defined(__x86_64__)
// The same, compiled for the processor's popcount instruction, which nearly every x86-64 has
// but the build does not require.
MOZU_TARGET_POPCNT std::int32_t CountAndClearPopcnt(ColourSet& set, std::uint64_t units) {
    return CountAndClearBody(set, units);
}

// The same for the AVX2 path, whose processors all have popcount; the test of a block for
// zero takes two 32-byte loads.
MOZU_TARGET_AVX2_POPCNT std::int32_t CountAndClearAvx2(ColourSet& set, std::uint64_t units) {
    std::int32_t count = 0;
    for (; units != 0; units &= units - 1) {
        std::uint32_t* bits = set.words + static_cast<std::size_t>(std::countr_zero(units)) *
                                              kBlocksPerUnit * kBlockWords;
        for (std::size_t k = 0; k < kBlocksPerUnit; ++k, bits += kBlockWords) {
            const __m256i low = _mm256_load_si256(reinterpret_cast<const __m256i*>(bits));
            const __m256i high = _mm256_load_si256(reinterpret_cast<const __m256i*>(bits + 8));
            const __m256i any = _mm256_or_si256(low, high);
            if (_mm256_testz_si256(any, any)) continue;
            std::uint64_t words[8];
            std::memcpy(words, bits, sizeof words);
            for (std::uint64_t w : words) count += std::popcount(w);
            _mm256_store_si256(reinterpret_cast<__m256i*>(bits), _mm256_setzero_si256());
            _mm256_store_si256(reinterpret_cast<__m256i*>(bits + 8), _mm256_setzero_si256());
        }
    }
    return count;
}

#pragma GCC diagnostic push  // as for the conversion of the marking
#if !defined(__clang__)      // a GCC-only warning; clang names it nowhere
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#pragma GCC diagnostic ignored "-Wuninitialized"
// Sixteen words at a time; a block that holds no bit is not written, so the untouched
// blocks of a used unit stay clean in the cache.
MOZU_TARGET_AVX512_POPCNT std::int32_t CountAndClearAvx512(ColourSet& set, std::uint64_t units) {
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

}  // namespace

bool KernelPathTraits<CountPath>::Has(CountPath path) {
    const CpuFeatures& cpu = Cpu();
    switch (path) {
        case CountPath::Portable:
            return true;
        case CountPath::Popcnt:
            return cpu.popcnt;
        case CountPath::Avx2:
            return cpu.avx2 && cpu.bmi2 && cpu.popcnt;
        case CountPath::Avx512:
            return cpu.avx512f && cpu.avx512bw && cpu.avx512vbmi && cpu.avx512vpopcntdq &&
                   cpu.gfni && cpu.bmi2;
    }
    return false;
}

std::int32_t CountColors(ConversionState& state, const Picture& picture) {
    state.foundColours.fill(0);
    if (picture.empty()) return 0;
    const CountPath path = KernelPath<CountPath>::Current();
    ColourSet& set = ThreadColourSet();
    std::uint64_t units = 0;
    switch (path) {
        case CountPath::Portable:
        case CountPath::Popcnt:
            units = count_colors::MarkPicturePortable(set, picture);
            break;
#if defined(__x86_64__)
        case CountPath::Avx2:
            units = count_colors::MarkPictureAvx2(set, picture);
            break;
        case CountPath::Avx512:
            units = count_colors::MarkPictureAvx512(set, picture);
            break;
#else
        default:
            break;  // never chosen: the processor has no such path
#endif
    }
    FindFirstColours(set, units, state.foundColours);
    switch (path) {
#if defined(__x86_64__)
        case CountPath::Popcnt:
            return CountAndClearPopcnt(set, units);
        case CountPath::Avx2:
            return CountAndClearAvx2(set, units);
        case CountPath::Avx512:
            return CountAndClearAvx512(set, units);
#endif
        default:
            return CountAndClear(set, units);
    }
}

}  // namespace mozu
