#pragma once
// The paths of the ditherers' vector kernels. Each ditherer takes the fastest path the
// processor has unless a test or benchmark forces another (KernelPath<...>); all paths give
// the same result.

#include <array>

#include "platform/kernel_path.h"

namespace mozu {

// The popularity ditherer (DitheringCPCPalette2): its bin counts and, in its error diffusion
// (DiffuseToBinTargets), the loading of rows and the shares passed down from the row above.
enum class PopularityPath { Portable, Sse2 };

template <>
struct KernelPathTraits<PopularityPath> {
    static constexpr std::array kAll = {PopularityPath::Portable, PopularityPath::Sse2};
    static constexpr const char* Name(PopularityPath path) {
        return path == PopularityPath::Portable ? "Portable" : "Sse2";
    }
    static bool Has(PopularityPath path);
};

// The grey-level ditherer (DitheringCPCPalette): the count of each level's pixels (SSE2) and
// the spreading of the levels' pens onto the index picture (SSSE3).
enum class GreyPath { Portable, Sse2, Ssse3 };

template <>
struct KernelPathTraits<GreyPath> {
    static constexpr std::array kAll = {GreyPath::Portable, GreyPath::Sse2, GreyPath::Ssse3};
    static constexpr const char* Name(GreyPath path) {
        constexpr const char* kNames[] = {"Portable", "Sse2", "Ssse3"};
        return kNames[static_cast<int>(path)];
    }
    static bool Has(GreyPath path);
};

}  // namespace mozu
