#pragma once
// Counting the distinct colours of a picture.

#include <cstdint>

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

// Returns the number of distinct colours (not limited to 16). state.foundColours is cleared to
// black and then holds the first up to 16 colours in the order green (outer), red, blue
// (inner), ascending. The caller stores the count where the flow needs it.
std::int32_t CountColors(ConversionState& state, const Picture& picture);

namespace detail {

// The ways the count can run on this processor; CountColors takes the fastest one the
// processor has. All give the same result; the tests run each one.
enum class CountPath { Portable, Avx2, Avx512 };
bool CountPathSupported(CountPath path);
std::int32_t CountColorsOn(CountPath path, ConversionState& state, const Picture& picture);

}  // namespace detail

}  // namespace mozu
