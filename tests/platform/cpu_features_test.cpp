// The processor's features against the kernel's own list in /proc/cpuinfo, which is read
// apart from the compiler's detection.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/cpu_features.h"

namespace mozu {
namespace {

// The words of the first "flags" line of /proc/cpuinfo; empty where there is none.
std::set<std::string> KernelFlags() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("flags", 0) != 0) continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        std::set<std::string> flags;
        for (std::string w; words >> w;) flags.insert(w);
        return flags;
    }
    return {};
}

TEST(CpuFeatures, DetectedOnceAndKept) {
    const CpuFeatures& first = Cpu();
    EXPECT_EQ(&first, &Cpu());
}

#if defined(__x86_64__)
TEST(CpuFeatures, AgreeWithTheKernelsList) {
    const std::set<std::string> flags = KernelFlags();
    if (flags.empty()) GTEST_SKIP() << "no flags line in /proc/cpuinfo";
    const CpuFeatures& cpu = Cpu();
    const std::pair<bool, const char*> features[] = {
        {cpu.sse2, "sse2"},
        {cpu.ssse3, "ssse3"},
        {cpu.sse41, "sse4_1"},
        {cpu.popcnt, "popcnt"},
        {cpu.avx2, "avx2"},
        {cpu.bmi2, "bmi2"},
        {cpu.avx512f, "avx512f"},
        {cpu.avx512bw, "avx512bw"},
        {cpu.avx512vbmi, "avx512vbmi"},
        {cpu.avx512vpopcntdq, "avx512_vpopcntdq"},
        {cpu.gfni, "gfni"},
    };
    for (const auto& [has, flag] : features) EXPECT_EQ(has, flags.count(flag) == 1) << flag;
}

TEST(CpuFeatures, TheBaselineAndItsOrder) {
    const CpuFeatures& cpu = Cpu();
    EXPECT_TRUE(cpu.sse2);  // every x86-64 has it
    if (cpu.avx2) {
        EXPECT_TRUE(cpu.ssse3);
        EXPECT_TRUE(cpu.sse41);
    }
    if (cpu.avx512bw) {
        EXPECT_TRUE(cpu.avx512f);
    }
}
#endif

}  // namespace
}  // namespace mozu
