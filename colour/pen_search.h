#pragma once
// The searches of the non-classic reduction methods among up to sixteen pens in a working space
// (RGB 0-255 or OKLab): the nearest pen to a colour, and the mix of two pens that comes nearest
// to it. Both run for every pixel or colour cell, so the pens are kept channel by channel and
// compared side by side.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mozu {

// Up to sixteen pens in the working space, one array per channel, padded to sixteen with
// colours far from any pixel so that distances to all of them are worked out side by side.
struct PenColours {
    static constexpr int kMax = 16;
    alignas(16) float c0[kMax], c1[kMax], c2[kMax];
    alignas(16) float lanes[kMax][4];  // each pen's three channels and a zero
    int count = 0;

    // 1-16 pens (std::invalid_argument otherwise).
    explicit PenColours(std::span<const std::array<float, 3>> pens);

    // The squared distance from (v0, v1, v2) to pen k; every search below compares exactly
    // these values, so that they all agree.
    float distance(int k, float v0, float v1, float v2) const {
        const float a = v0 - c0[k], b = v1 - c1[k], c = v2 - c2[k];
        return a * a + b * b + c * c;
    }
    // The nearest pen, the lowest on equal distances: N = 4 when count <= 4, else 16.
    template <int N>
    int nearest(float v0, float v1, float v2) const {
        alignas(16) float d[N];
        for (int k = 0; k < N; ++k) d[k] = distance(k, v0, v1, v2);
#if defined(__SSE2__)
        // The smallest distance, then the first pen at it: no branch to guess wrong.
        __m128 m = _mm_load_ps(d);
        for (int k = 4; k < N; k += 4) m = _mm_min_ps(m, _mm_load_ps(d + k));
        m = _mm_min_ps(m, _mm_shuffle_ps(m, m, _MM_SHUFFLE(2, 3, 0, 1)));
        m = _mm_min_ps(m, _mm_shuffle_ps(m, m, _MM_SHUFFLE(1, 0, 3, 2)));
        unsigned at = 0;
        for (int k = 0; k < N; k += 4)
            at |= static_cast<unsigned>(_mm_movemask_ps(_mm_cmpeq_ps(_mm_load_ps(d + k), m))) << k;
        return __builtin_ctz(at);
#else
        int best = 0;
        for (int k = 1; k < N; ++k) best = d[k] < d[best] ? k : best;
        return best;
#endif
    }
};

// An ordered dither shows a colour as a mix of two pens: the one nearest to it and the one
// that, mixed with it, comes nearest (the point on the line between the two pens closest to
// the colour). Where the threshold of the pixel lies below the share of the second pen, the
// pixel takes that pen. A colour that is a pen is that pen everywhere; a colour between two
// pens keeps its mean exactly, in the working space.
struct PenMix {
    std::uint8_t first = 0, second = 0;
    float share = 0;  // of the second pen
};
PenMix BestMix(const PenColours& pens, float c0, float c1, float c2);

}  // namespace mozu
