// Zeroed tables from the system: zero throughout, writable to the last byte, aligned so that
// a huge page can back them, and given back when dropped.

#include "platform/zeroed_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mozu {
namespace {

bool AllZero(const std::uint8_t* p, std::size_t n) {
    return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

TEST(ZeroedPages, LargeTablesAreZeroWritableAndAlignedForHugePages) {
    constexpr std::size_t kBytes = (std::size_t{2} << 20) + 8320;  // the colour set's size
    for (int round = 0; round < 3; ++round) {
        const ZeroedPages pages = AllocateZeroedPages(kBytes);
        ASSERT_NE(pages.get(), nullptr);
        auto* bytes = static_cast<std::uint8_t*>(pages.get());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % (std::size_t{2} << 20), 0u);
        EXPECT_TRUE(AllZero(bytes, kBytes)) << "round " << round;
        // Dirty it all: the next round's table must be zero again.
        std::memset(bytes, 0xA5, kBytes);
        EXPECT_EQ(bytes[kBytes - 1], 0xA5);
    }
}

TEST(ZeroedPages, SmallTablesArePageAligned) {
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{5000}}) {
        const ZeroedPages pages = AllocateZeroedPages(n);
        ASSERT_NE(pages.get(), nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pages.get()) % 4096, 0u);
        EXPECT_TRUE(
            AllZero(static_cast<const std::uint8_t*>(pages.get()), std::max<std::size_t>(n, 1)));
        static_cast<std::uint8_t*>(pages.get())[std::max<std::size_t>(n, 1) - 1] = 1;
    }
}

TEST(ZeroedPages, ARequestTheSystemCannotMeetIsBadAlloc) {
    EXPECT_THROW(AllocateZeroedPages(std::size_t{1} << 60), std::bad_alloc);
    EXPECT_THROW(AllocateZeroedPages(SIZE_MAX), std::bad_alloc);
}

}  // namespace
}  // namespace mozu
