#include "colour/oklab.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mozu {

namespace {

#if defined(__SSE2__)
// FastCbrt on four values, step by step the same operations, so the same results. The guess
// divides the bits by 3 as x * 0xAAAAAAAB >> 33, which is exact for every 32-bit x.
__m128 FastCbrt4(__m128 x) {
    const __m128i bits = _mm_castps_si128(x);
    const __m128i magic = _mm_set1_epi32(static_cast<int>(0xAAAAAAABu));
    const __m128i even = _mm_srli_epi64(_mm_mul_epu32(bits, magic), 33);
    const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(bits, 32), magic), 33);
    const __m128i third = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
    __m128 y = _mm_castsi128_ps(_mm_add_epi32(third, _mm_set1_epi32(709921077)));
    const __m128 two = _mm_set1_ps(2.0f), oneThird = _mm_set1_ps(1.0f / 3.0f);
    y = _mm_mul_ps(_mm_add_ps(_mm_mul_ps(two, y), _mm_div_ps(x, _mm_mul_ps(y, y))), oneThird);
    y = _mm_mul_ps(_mm_add_ps(_mm_mul_ps(two, y), _mm_div_ps(x, _mm_mul_ps(y, y))), oneThird);
    // x <= 0 (and so also -0) gives 0.
    return _mm_and_ps(y, _mm_cmpgt_ps(x, _mm_setzero_ps()));
}

// a * r + b * g + c * b, in that order.
inline __m128 Mix3(float a, __m128 r, float b, __m128 g, float c, __m128 bl) {
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(a), r), _mm_mul_ps(_mm_set1_ps(b), g)),
                      _mm_mul_ps(_mm_set1_ps(c), bl));
}
// a * l + b * m + c * s, the last term subtracted when c is given as its negation.
inline __m128 Mix3Minus(float a, __m128 l, float b, __m128 m, float c, __m128 s) {
    return _mm_sub_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(a), l), _mm_mul_ps(_mm_set1_ps(b), m)),
                      _mm_mul_ps(_mm_set1_ps(c), s));
}
inline __m128 Mix3MinusPlus(float a, __m128 l, float b, __m128 m, float c, __m128 s) {
    return _mm_add_ps(_mm_sub_ps(_mm_mul_ps(_mm_set1_ps(a), l), _mm_mul_ps(_mm_set1_ps(b), m)),
                      _mm_mul_ps(_mm_set1_ps(c), s));
}
#endif

}  // namespace

void BgrRowToOkLab(const std::uint8_t* bgr, int count, float* out) {
    int x = 0;
#if defined(__SSE2__)
    const std::array<float, 256>& lin = SrgbToLinearTable();
    for (; x + 4 <= count; x += 4, bgr += 12, out += 16) {
        const __m128 r = _mm_setr_ps(lin[bgr[2]], lin[bgr[5]], lin[bgr[8]], lin[bgr[11]]);
        const __m128 g = _mm_setr_ps(lin[bgr[1]], lin[bgr[4]], lin[bgr[7]], lin[bgr[10]]);
        const __m128 b = _mm_setr_ps(lin[bgr[0]], lin[bgr[3]], lin[bgr[6]], lin[bgr[9]]);
        const __m128 l = FastCbrt4(Mix3(0.4122214708f, r, 0.5363325363f, g, 0.0514459929f, b));
        const __m128 m = FastCbrt4(Mix3(0.2119034982f, r, 0.6806995451f, g, 0.1073969566f, b));
        const __m128 s = FastCbrt4(Mix3(0.0883024619f, r, 0.2817188376f, g, 0.6299787005f, b));
        __m128 L = Mix3Minus(0.2104542553f, l, 0.7936177850f, m, 0.0040720468f, s);
        __m128 A = Mix3MinusPlus(1.9779984951f, l, 2.4285922050f, m, 0.4505937099f, s);
        __m128 B = Mix3Minus(0.0259040371f, l, 0.7827717662f, m, 0.8086757660f, s);
        __m128 zero = _mm_setzero_ps();
        // Four pixels of L, a, b, 0 from the three channel vectors.
        _MM_TRANSPOSE4_PS(L, A, B, zero);
        _mm_storeu_ps(out, L);
        _mm_storeu_ps(out + 4, A);
        _mm_storeu_ps(out + 8, B);
        _mm_storeu_ps(out + 12, zero);
    }
#endif
    for (; x < count; ++x, bgr += 3, out += 4) {
        const OkLab lab = SrgbToOkLab(bgr[2], bgr[1], bgr[0]);
        out[0] = lab.L;
        out[1] = lab.a;
        out[2] = lab.b;
        out[3] = 0;
    }
}

}  // namespace mozu
