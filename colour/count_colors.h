#pragma once
// Counting the distinct colours of a picture.

#include <array>
#include <cstdint>

#include "colour/conversion_state.h"
#include "colour/picture.h"
#include "platform/kernel_path.h"

namespace mozu {

// Returns the number of distinct colours (not limited to 16). state.foundColours is cleared to
// black and then holds the first up to 16 colours in the order green (outer), red, blue
// (inner), ascending. The caller stores the count where the flow needs it.
std::int32_t CountColors(ConversionState& state, const Picture& picture);

// The ways the count can run: plain C++; the same with the popcount instruction; AVX2 (with
// BMI2 and popcount); AVX-512 (BW, VBMI and VPOPCNTDQ, with GFNI and BMI2). CountColors takes
// the fastest the processor has unless a test or benchmark forces another
// (KernelPath<CountPath>). All give the same result.
enum class CountPath { Portable, Popcnt, Avx2, Avx512 };

template <>
struct KernelPathTraits<CountPath> {
    static constexpr std::array kAll = {CountPath::Portable, CountPath::Popcnt, CountPath::Avx2,
                                        CountPath::Avx512};
    static constexpr const char* Name(CountPath path) {
        constexpr const char* kNames[] = {"Portable", "Popcnt", "Avx2", "Avx512"};
        return kNames[static_cast<int>(path)];
    }
    static bool Has(CountPath path);
};

}  // namespace mozu
