#pragma once
// The row kernels of the grey-level ditherer (colour/dithering_grey.cpp): counting the pixels
// of each level, and turning levels into the pens of the index picture. Each runs on the path
// it is given (see colour/dithering_paths.h), which the processor must have.

#include <array>
#include <cstddef>
#include <cstdint>

#include "colour/dithering_paths.h"

namespace mozu::grey {

// Adds the pixels of each level among `n` levels (each 0-3) to the counts.
void CountLevels(GreyPath path, const std::uint8_t* levels, std::size_t n,
                 std::array<std::int64_t, 4>& count);

// `n` pixels of an index picture row (B, G, R bytes: 0, 0, pen) from their levels.
void LevelsToPens(GreyPath path, const std::uint8_t* levels, int n,
                  const std::array<std::uint8_t, 4>& pen, std::uint8_t* out);

}  // namespace mozu::grey
