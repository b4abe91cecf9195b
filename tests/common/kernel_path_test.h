#pragma once
// Tests that run once on every path of a vector kernel. A suite derives from
// KernelPathTest<Path>, writes TEST_P tests and is instantiated with
//   MOZU_INSTANTIATE_FOR_EVERY_PATH(Suite, CountPath);
// Each test then runs with its path forced (so the kernel's ordinary entry takes it), or is
// skipped, naming the path, where the processor lacks it.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "platform/kernel_path.h"

namespace mozu {

template <typename Path>
class KernelPathTest : public testing::TestWithParam<Path> {
  protected:
    using Traits = KernelPathTraits<Path>;

    void SetUp() override {
        if (!Traits::Has(path())) GTEST_SKIP() << "this processor lacks the " << name() << " path";
        forced_.emplace(path());
        ASSERT_TRUE(forced_->forced()) << name();
        ASSERT_EQ(KernelPath<Path>::Current(), path()) << name();
    }
    void TearDown() override { forced_.reset(); }

    Path path() const { return this->GetParam(); }
    std::string name() const { return Traits::Name(path()); }

  private:
    std::optional<ScopedKernelPath<Path>> forced_;
};

// A path in gtest's messages by its name rather than its bytes.
template <typename Path>
requires requires {
    KernelPathTraits<Path>::kAll;
}
void PrintTo(const Path& path, std::ostream* os) {
    *os << KernelPathTraits<Path>::Name(path);
}

template <typename Path>
std::string KernelPathParamName(const testing::TestParamInfo<Path>& info) {
    return KernelPathTraits<Path>::Name(info.param);
}

}  // namespace mozu

#define MOZU_INSTANTIATE_FOR_EVERY_PATH(Suite, PathType)                                  \
    INSTANTIATE_TEST_SUITE_P(EveryPath, Suite,                                            \
                             testing::ValuesIn(::mozu::KernelPathTraits<PathType>::kAll), \
                             ::mozu::KernelPathParamName<PathType>)
