#pragma once
// What the processor can run, found once, and the one spelling of the target attributes that
// let a function use instructions the build does not assume.
//
// The build assumes plain x86-64, whose baseline includes SSE2: SSE2 code needs no attribute
// but is still a path of its own, chosen at run time like the others, so that the plain C++
// path beside it stays compiled and can be chosen too. Every other instruction set is used
// only inside functions marked with the macro of its set below, and only after the kernel's
// path choice (platform/kernel_path.h) has checked these features.

namespace mozu {

struct CpuFeatures {
    bool sse2 = false;             // the x86-64 baseline
    bool ssse3 = false;            // byte shuffles (pshufb)
    bool sse41 = false;            // blends, ptest
    bool popcnt = false;           // the popcount instruction
    bool avx2 = false;             // 256-bit integer vectors
    bool bmi2 = false;             // shifts without flags (shlx, shrx)
    bool avx512f = false;          // 512-bit vectors
    bool avx512bw = false;         // 512-bit byte and word operations
    bool avx512vbmi = false;       // byte permutations across the vector
    bool avx512vpopcntdq = false;  // popcount of 32- and 64-bit lanes
    bool gfni = false;             // Galois field affine transforms of bytes
};

// The features of this processor, detected on the first call and kept; all false off x86-64.
const CpuFeatures& Cpu();

}  // namespace mozu

#if defined(__x86_64__)
// A function marked with one of these may use the instructions named, and must only run where
// Cpu() reports all of them.
#define MOZU_TARGET_SSSE3 [[gnu::target("ssse3")]]
#define MOZU_TARGET_POPCNT [[gnu::target("popcnt")]]
#define MOZU_TARGET_BMI2 [[gnu::target("bmi2")]]
#define MOZU_TARGET_AVX2 [[gnu::target("avx2")]]
#define MOZU_TARGET_AVX2_POPCNT [[gnu::target("avx2,popcnt")]]
#define MOZU_TARGET_AVX512_POPCNT [[gnu::target("avx512f,avx512vpopcntdq")]]
#define MOZU_TARGET_AVX512_GFNI [[gnu::target("avx512f,avx512bw,avx512vbmi,gfni")]]
#endif
