#pragma once
// The colour set behind CountColors, shared by its marking (count_colors_marking.cpp) and its
// counting (count_colors.cpp). Not for use elsewhere.

#include <cstddef>
#include <cstdint>

#include "colour/picture.h"

namespace mozu::count_colors {

// The set of present colours is 2^24 bits. Each channel is split into its top two, middle
// three and low three bits (r2 r3' r3 for red), and a colour's bit number is, from high to
// low,
//   r2 g2 b2 | r3' g3' b3' | r3 g3 b3
// so that
// - one 64-byte block of 512 bits (bit number >> 9) holds an 8 x 8 x 8 cube of colour space.
//   Neighbouring pixels of a photograph have close colours and mostly hit a block, and a
//   cache line, hit shortly before: the sample photograph touches about 3,500 blocks
//   (220 KiB) where rows of 256 blues per red-green pair touched 12,400 lines (780 KiB,
//   more than the level 2 cache keeps beside the picture);
// - one unit of 512 blocks (bit number >> 18, 32 KiB) holds a 64 x 64 x 64 cube. The 64
//   units in use are one 64-bit mask kept in registers while marking; the count and the
//   clearing afterwards look only at the blocks of used units. (A used byte per block,
//   stored with every mark, cost as much as the marks themselves.)
// Inside a block, byte r3 << 3 | g3 holds the eight blues b3 of one red-green pair.
constexpr std::size_t kBlocks = std::size_t{1} << 15;
constexpr std::size_t kBlockWords = 16;  // 32-bit words of a block
constexpr std::size_t kBlocksPerUnit = 512;

// The block of the colours whose channels' top five bits are r5, g5, b5.
constexpr std::size_t BlockOf(unsigned r5, unsigned g5, unsigned b5) {
    return (r5 >> 3) << 13 | (g5 >> 3) << 11 | (b5 >> 3) << 9 | (r5 & 7) << 6 | (g5 & 7) << 3 |
           (b5 & 7);
}

// The bit number of the colour red << 16 | green << 8 | blue.
constexpr std::uint32_t BitIndex(std::uint32_t v) {
    return (v & 0xC00007)           // r2 and b3 stay
           | ((v << 6) & 0x300E00)  // g2, b3'
           | ((v << 12) & 0xC0000)  // b2
           | ((v >> 4) & 0x38000)   // r3'
           | ((v << 1) & 0x7000)    // g3'
           | ((v >> 10) & 0x1C0)    // r3
           | ((v >> 5) & 0x38);     // g3
}
static_assert(BitIndex(0xFFFFFF) == 0xFFFFFF && BitIndex(0x010204) == 0x000054);
static_assert(BitIndex(0x000100) >> 9 == BlockOf(0, 0, 0) &&
              BitIndex(0x204080) >> 9 == BlockOf(4, 8, 16));

// Pixels are turned into bit numbers a chunk at a time, from two places of the picture
// at once (see MarkPicture), into buffers that stay in the level 1 cache.
constexpr std::size_t kChunk = 1024;
constexpr std::size_t kSlack = 16;  // a vector store may run this far past the last entry

struct alignas(64) ColourSet {
    std::uint32_t words[kBlocks * kBlockWords];  // 2 MiB
    std::uint32_t indexes[2][kChunk + kSlack];   // bit numbers of the current chunks
};

[[gnu::always_inline]] inline void Mark(ColourSet& set, std::uint32_t index) {
    set.words[index >> 5] |= 1u << (index & 31);
}
constexpr std::uint64_t UnitBit(std::uint32_t index) {
    return std::uint64_t{1} << (index >> 18);
}

// Mark every pixel of a non-empty picture in the set and return the units used (bit u for
// unit u). The vector forms exist on x86-64 only; the caller checks the processor.
std::uint64_t MarkPicturePortable(ColourSet& set, const Picture& picture);
std::uint64_t MarkPictureAvx2(ColourSet& set, const Picture& picture);
std::uint64_t MarkPictureAvx512(ColourSet& set, const Picture& picture);

}  // namespace mozu::count_colors
