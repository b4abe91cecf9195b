#include "colour/count_colors.h"

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace mozu {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The set of present colours is kept in blocks of 8 x 8 x 8 colours (the top five bits of
// green, red and blue pick the block; one 64-byte block per cache line). Neighbouring pixels
// of a photograph have near colours, so they land in the same few lines; a flat layout in
// counting order would scatter them over 2 MB. Inside a block, byte (g mod 8) x 8 + (r mod 8)
// holds the eight blue bits of one green-red pair.
constexpr std::size_t kBlocks = 32 * 32 * 32;
constexpr std::size_t kBlockBytes = 64;

inline std::size_t Block(unsigned g, unsigned r, unsigned b) {
    return (g >> 3) << 10 | (r >> 3) << 5 | (b >> 3);
}

}  // namespace

std::int32_t CountColors(ConversionState& state, const Picture& picture) {
    state.foundColours.fill(0);
    if (picture.empty()) return 0;

    // One allocation: the blocks, then one "block is used" byte per block. calloc leaves
    // untouched pages unmapped.
    std::unique_ptr<std::uint8_t[], FreeDeleter> memory(
        static_cast<std::uint8_t*>(std::calloc(kBlocks * kBlockBytes + kBlocks, 1)));
    if (!memory) throw std::bad_alloc();
    std::uint8_t* const bits = memory.get();
    std::uint8_t* const used = bits + kBlocks * kBlockBytes;

    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* p = picture.row(y);
        const std::uint8_t* const end = p + picture.stride();
        for (; p != end; p += 3) {
            const unsigned b = p[0], g = p[1], r = p[2];
            const std::size_t block = Block(g, r, b);
            bits[block * kBlockBytes + ((g & 7) << 3 | (r & 7))] |=
                static_cast<std::uint8_t>(1u << (b & 7));
            used[block] = 1;  // a plain store: no chain of read-modify-writes on one word
        }
    }

    // The count: every bit of every used block. Meanwhile, for each column of blocks (one
    // top-five-bits green and red), a mask of its used blue blocks.
    std::int32_t count = 0;
    std::array<std::uint32_t, 1024> columnBlocks{};
    for (std::size_t block = 0; block < kBlocks; ++block) {
        if (!used[block]) continue;
        columnBlocks[block >> 5] |= 1u << (block & 31);
        std::uint64_t words[kBlockBytes / 8];
        std::memcpy(words, bits + block * kBlockBytes, kBlockBytes);
        for (std::uint64_t w : words) count += std::popcount(w);
    }

    // The found colours: the first 16 in the order green (outer), red, blue (inner). Only the
    // used blocks of each column are visited, and the walk ends at the sixteenth colour.
    int found = 0;
    for (unsigned g = 0; g < 256 && found < 16; ++g) {
        for (unsigned r = 0; r < 256 && found < 16; ++r) {
            const std::size_t column = (g >> 3) << 5 | (r >> 3);
            const std::size_t inBlock = (g & 7) << 3 | (r & 7);
            for (std::uint32_t blocks = columnBlocks[column]; blocks != 0 && found < 16;
                 blocks &= blocks - 1) {
                const unsigned bh = static_cast<unsigned>(std::countr_zero(blocks));
                unsigned blue = bits[(column << 5 | bh) * kBlockBytes + inBlock];
                for (; blue != 0 && found < 16; blue &= blue - 1) {
                    const unsigned b = bh << 3 | static_cast<unsigned>(std::countr_zero(blue));
                    state.foundColours[static_cast<std::size_t>(found++)] =
                        MakeColour(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
                }
            }
        }
    }
    return count;
}

}  // namespace mozu
