#include "platform/cpu_features.h"

namespace mozu {

namespace {

CpuFeatures Detect() {
    CpuFeatures f;
#if defined(__x86_64__)
    // The detection normally runs before any constructor; a first call from a static
    // initialiser elsewhere could come earlier, so it is asked for here.
    __builtin_cpu_init();
    f.sse2 = __builtin_cpu_supports("sse2");
    f.ssse3 = __builtin_cpu_supports("ssse3");
    f.sse41 = __builtin_cpu_supports("sse4.1");
    f.popcnt = __builtin_cpu_supports("popcnt");
    f.avx2 = __builtin_cpu_supports("avx2");
    f.bmi2 = __builtin_cpu_supports("bmi2");
    f.avx512f = __builtin_cpu_supports("avx512f");
    f.avx512bw = __builtin_cpu_supports("avx512bw");
    f.avx512vbmi = __builtin_cpu_supports("avx512vbmi");
    f.avx512vpopcntdq = __builtin_cpu_supports("avx512vpopcntdq");
    f.gfni = __builtin_cpu_supports("gfni");
#endif
    return f;
}

}  // namespace

const CpuFeatures& Cpu() {
    static const CpuFeatures features = Detect();
    return features;
}

}  // namespace mozu
