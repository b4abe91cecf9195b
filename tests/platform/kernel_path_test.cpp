// The run-time choice of a kernel's path, on made-up kernels whose "processor" the test sets.

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "platform/kernel_path.h"

namespace mozu {

enum class FakePath { Portable, Fast, Faster };
enum class PortableOnlyPath { Portable, Vector };

// What the made-up processor has: set before a kernel's first Best(), which is kept.
bool gHasFaster = false;

template <>
struct KernelPathTraits<FakePath> {
    static constexpr std::array kAll = {FakePath::Portable, FakePath::Fast, FakePath::Faster};
    static constexpr const char* Name(FakePath p) {
        return p == FakePath::Portable ? "Portable" : p == FakePath::Fast ? "Fast" : "Faster";
    }
    static bool Has(FakePath p) { return p != FakePath::Faster || gHasFaster; }
};

template <>
struct KernelPathTraits<PortableOnlyPath> {
    static constexpr std::array kAll = {PortableOnlyPath::Portable, PortableOnlyPath::Vector};
    static constexpr const char* Name(PortableOnlyPath p) {
        return p == PortableOnlyPath::Portable ? "Portable" : "Vector";
    }
    static bool Has(PortableOnlyPath p) { return p == PortableOnlyPath::Portable; }
};

namespace {

using Fake = KernelPath<FakePath>;

TEST(KernelPath, TheBestIsTheLastPathTheProcessorHas) {
    EXPECT_EQ(Fake::Best(), FakePath::Fast);
    EXPECT_EQ(Fake::Current(), FakePath::Fast);
    EXPECT_FALSE(Fake::Forced().has_value());
    // Found once: a processor that gains a path later does not change it.
    gHasFaster = true;
    EXPECT_EQ(Fake::Best(), FakePath::Fast);
    gHasFaster = false;
    EXPECT_EQ(KernelPath<PortableOnlyPath>::Best(), PortableOnlyPath::Portable);
}

TEST(KernelPath, ForcingTakesEffectAndIsGivenBack) {
    EXPECT_TRUE(Fake::Force(FakePath::Portable));
    EXPECT_EQ(Fake::Current(), FakePath::Portable);
    EXPECT_EQ(Fake::Forced(), FakePath::Portable);
    EXPECT_TRUE(Fake::Force(std::nullopt));
    EXPECT_EQ(Fake::Current(), FakePath::Fast);
    EXPECT_FALSE(Fake::Forced().has_value());
}

TEST(KernelPath, APathTheProcessorLacksIsRefused) {
    ASSERT_TRUE(Fake::Force(FakePath::Portable));
    EXPECT_FALSE(Fake::Force(FakePath::Faster));
    EXPECT_EQ(Fake::Current(), FakePath::Portable);  // unchanged
    EXPECT_FALSE(KernelPath<PortableOnlyPath>::Force(PortableOnlyPath::Vector));
    EXPECT_EQ(KernelPath<PortableOnlyPath>::Current(), PortableOnlyPath::Portable);
    Fake::Force(std::nullopt);
}

TEST(KernelPath, ScopedOverridesNestAndRestore) {
    {
        ScopedKernelPath<FakePath> outer(FakePath::Portable);
        EXPECT_TRUE(outer.forced());
        {
            ScopedKernelPath<FakePath> inner(FakePath::Fast);
            EXPECT_EQ(Fake::Current(), FakePath::Fast);
            EXPECT_EQ(Fake::Forced(), FakePath::Fast);
            ScopedKernelPath<FakePath> refused(FakePath::Faster);
            EXPECT_FALSE(refused.forced());
            EXPECT_EQ(Fake::Current(), FakePath::Fast);
        }
        EXPECT_EQ(Fake::Current(), FakePath::Portable);
    }
    EXPECT_FALSE(Fake::Forced().has_value());
    EXPECT_EQ(Fake::Current(), FakePath::Fast);
}

TEST(KernelPath, AForcedPathIsSeenByOtherThreads) {
    ScopedKernelPath<FakePath> forced(FakePath::Portable);
    FakePath seen = FakePath::Fast;
    std::thread([&] { seen = Fake::Current(); }).join();
    EXPECT_EQ(seen, FakePath::Portable);
}

}  // namespace
}  // namespace mozu
