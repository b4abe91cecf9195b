// The pen arrays' memory: one block kept per thread for the next decode.

#include <gtest/gtest.h>

#include <thread>

#include "formats/picture_decoding.h"

namespace mozu {
namespace {

using Pens = decltype(PenPicture{}.pens);

TEST(PenBlock, TheLargerArrayIsKeptAndServesSmallerOnes) {
    const std::uint8_t* big = nullptr;
    {
        Pens a(1000), b(64000);
        big = b.data();
    }  // both given back: the 64000-byte block is the one kept
    Pens small(500);
    EXPECT_EQ(small.data(), big);  // served from the kept block
    Pens other(500);
    EXPECT_NE(other.data(), big);  // the block is in use: fresh memory
    // Values written through one array stay with it.
    for (std::size_t i = 0; i < small.size(); ++i) small[i] = static_cast<std::uint8_t>(i);
    other.assign(other.size(), 7);
    for (std::size_t i = 0; i < small.size(); ++i)
        ASSERT_EQ(small[i], static_cast<std::uint8_t>(i));
}

TEST(PenBlock, BlocksOverOneMebibyteAreNotKeptAndThreadsKeepTheirOwn) {
    { Pens a((std::size_t{1} << 20) + 1); }
    EXPECT_EQ(detail::TakePenBlock((std::size_t{1} << 20) + 1), nullptr);  // not kept
    // Another thread has its own block: what it keeps is not handed out here.
    const std::uint8_t* theirs = nullptr;
    std::thread([&] {
        {
            Pens t(300000);
            theirs = t.data();
        }
        Pens again(300000);
        EXPECT_EQ(again.data(), theirs);
    }).join();
    EXPECT_EQ(detail::TakePenBlock(300000), nullptr);
}

}  // namespace
}  // namespace mozu
