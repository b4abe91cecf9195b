#include "colour/pen_search.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace mozu {

PenColours::PenColours(std::span<const std::array<float, 3>> pens)
    : count(static_cast<int>(pens.size())) {
    if (pens.empty() || pens.size() > static_cast<std::size_t>(kMax))
        throw std::invalid_argument("1-16 pens expected");
    for (int k = 0; k < kMax; ++k) {
        const bool real = k < count;
        c0[k] = real ? pens[static_cast<std::size_t>(k)][0] : 1e6f;
        c1[k] = real ? pens[static_cast<std::size_t>(k)][1] : 1e6f;
        c2[k] = real ? pens[static_cast<std::size_t>(k)][2] : 1e6f;
        lanes[k][0] = c0[k];
        lanes[k][1] = c1[k];
        lanes[k][2] = c2[k];
        lanes[k][3] = 0;
    }
}

PenMix BestMix(const PenColours& pens, float c0, float c1, float c2) {
    PenMix mix;
    const int p = pens.count <= 4 ? pens.nearest<4>(c0, c1, c2) : pens.nearest<16>(c0, c1, c2);
    mix.first = mix.second = static_cast<std::uint8_t>(p);
    const float p0 = pens.c0[p], p1 = pens.c1[p], p2 = pens.c2[p];
    const float best = (c0 - p0) * (c0 - p0) + (c1 - p1) * (c1 - p1) + (c2 - p2) * (c2 - p2);
    // The error of the best mix with each other pen, side by side; pens that are no pen (the
    // padding, the first pen itself, a pen of the same colour) are left out.
    alignas(16) float err[PenColours::kMax], share[PenColours::kMax];
    for (int k = 0; k < PenColours::kMax; ++k) {
        const float q0 = pens.c0[k] - p0, q1 = pens.c1[k] - p1, q2 = pens.c2[k] - p2;
        const float dd = q0 * q0 + q1 * q1 + q2 * q2;
        const float dot = (c0 - p0) * q0 + (c1 - p1) * q1 + (c2 - p2) * q2;
        const float t = std::clamp(dot / dd, 0.0f, 1.0f);
        const float m0 = p0 + t * q0 - c0, m1 = p1 + t * q1 - c1, m2 = p2 + t * q2 - c2;
        err[k] = m0 * m0 + m1 * m1 + m2 * m2;
        share[k] = t;
        if (k >= pens.count || k == p || !(dd > 0)) err[k] = INFINITY;
    }
    float lowest = best;
    for (int k = 0; k < PenColours::kMax; ++k)
        if (err[k] < lowest) {
            lowest = err[k];
            mix.second = static_cast<std::uint8_t>(k);
            mix.share = share[k];
        }
    return mix;
}

}  // namespace mozu
