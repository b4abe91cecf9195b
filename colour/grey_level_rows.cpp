#include "colour/grey_level_rows.h"

#include "platform/cpu_features.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace mozu {

bool KernelPathTraits<GreyPath>::Has(GreyPath path) {
    switch (path) {
        case GreyPath::Portable:
            return true;
        case GreyPath::Sse2:
            return Cpu().sse2;
        case GreyPath::Ssse3:
            return Cpu().sse2 && Cpu().ssse3;
    }
    return false;
}

namespace grey {

namespace {

#if defined(__x86_64__)
// Sixteen levels at a time: per level, the matches as ones, added up by the sums of absolute
// differences (two 64-bit sums per vector). Returns the number of levels done.
std::size_t CountLevelsSse2(const std::uint8_t* levels, std::size_t n,
                            std::array<std::int64_t, 4>& count) {
    const __m128i one = _mm_set1_epi8(1), zero = _mm_setzero_si128();
    __m128i sums[4] = {zero, zero, zero, zero};
    std::size_t x = 0;
    for (; x + 16 <= n; x += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(levels + x));
        for (std::size_t level = 1; level < 4; ++level) {
            const __m128i match = _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(level)));
            sums[level] = _mm_add_epi64(sums[level], _mm_sad_epu8(_mm_and_si128(match, one), zero));
        }
    }
    std::int64_t counted = 0;
    for (std::size_t level = 1; level < 4; ++level) {
        alignas(16) std::int64_t halves[2];
        _mm_store_si128(reinterpret_cast<__m128i*>(halves), sums[level]);
        count[level] += halves[0] + halves[1];
        counted += halves[0] + halves[1];
    }
    count[0] += static_cast<std::int64_t>(x) - counted;
    return x;
}

// Sixteen levels at a time: their pens by one byte shuffle, then spread to the red byte of
// sixteen three-byte pixels by three more (green and blue 0). Returns the number of pixels
// done.
MOZU_TARGET_SSSE3 int LevelsToPensSsse3(const std::uint8_t* levels, int n,
                                        const std::array<std::uint8_t, 4>& pen, std::uint8_t* out) {
    const auto p = [&](std::size_t i) { return static_cast<char>(pen[i]); };
    const __m128i penOf = _mm_setr_epi8(p(0), p(1), p(2), p(3), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    // For each of the 48 output bytes, the pixel whose pen goes there (red bytes) or none (-1).
    const __m128i first = _mm_setr_epi8(-1, -1, 0, -1, -1, 1, -1, -1, 2, -1, -1, 3, -1, -1, 4, -1);
    const __m128i second = _mm_setr_epi8(-1, 5, -1, -1, 6, -1, -1, 7, -1, -1, 8, -1, -1, 9, -1, -1);
    const __m128i third =
        _mm_setr_epi8(10, -1, -1, 11, -1, -1, 12, -1, -1, 13, -1, -1, 14, -1, -1, 15);
    int x = 0;
    for (; x + 16 <= n; x += 16, out += 48) {
        const __m128i pens =
            _mm_shuffle_epi8(penOf, _mm_loadu_si128(reinterpret_cast<const __m128i*>(levels + x)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(pens, first));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_shuffle_epi8(pens, second));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32), _mm_shuffle_epi8(pens, third));
    }
    return x;
}
#endif

}  // namespace

void CountLevels(GreyPath path, const std::uint8_t* levels, std::size_t n,
                 std::array<std::int64_t, 4>& count) {
    std::size_t x = 0;
#if defined(__x86_64__)
    if (path != GreyPath::Portable) x = CountLevelsSse2(levels, n, count);
#else
    (void)path;
#endif
    for (; x < n; ++x) ++count[levels[x]];
}

void LevelsToPens(GreyPath path, const std::uint8_t* levels, int n,
                  const std::array<std::uint8_t, 4>& pen, std::uint8_t* out) {
    int x = 0;
#if defined(__x86_64__)
    if (path == GreyPath::Ssse3) x = LevelsToPensSsse3(levels, n, pen, out);
#else
    (void)path;
#endif
    for (; x < n; ++x) {
        out[static_cast<std::size_t>(x) * 3] = 0;
        out[static_cast<std::size_t>(x) * 3 + 1] = 0;
        out[static_cast<std::size_t>(x) * 3 + 2] = pen[levels[x]];
    }
}

}  // namespace grey
}  // namespace mozu
