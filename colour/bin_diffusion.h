#pragma once
// The error diffusion of the popularity ditherer: every pixel takes the target colour of its
// colour cube bin, and its error goes to the neighbours (7, 5, 3, 1 over 32).

#include <array>
#include <cstdint>

#include "colour/picture.h"

namespace mozu {

// Target colour of each colour cube bin as B, G, R bytes.
using BinTargets = std::array<std::array<std::uint8_t, 3>, 64>;

// Diffuses over the rows 0..h and columns 0..w of `src` (w x h), the last row and column
// being a white margin, and draws the dithered w x h area onto `out` with its top left pixel
// at (ox, oy); what falls outside `out` is cut off, the rest of `out` is left as it is.
void DiffuseToBinTargets(const Picture& src, const BinTargets& target, Picture& out, int ox,
                         int oy);

}  // namespace mozu
