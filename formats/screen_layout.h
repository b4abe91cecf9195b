#pragma once
// The CPC's 16 KB screen memory: 200 lines of 80 bytes kept in 8 blocks of 2048 bytes. Block k
// holds every line y with y mod 8 = k, character row y div 8 at 80 bytes a row; the last 48
// bytes of each block (the gap) hold no picture.

#include <cstddef>

namespace mozu::screen {

constexpr int kLines = 200;
constexpr int kLineBytes = 80;
constexpr int kBlocks = 8;
constexpr int kRows = 25;  // character rows, 8 lines each
constexpr std::size_t kBlockBytes = 2048;
constexpr std::size_t kBlockPictureBytes = 2000;  // 25 lines of 80 bytes
constexpr std::size_t kGapBytes = 48;
constexpr std::size_t kImageBytes = kBlocks * kBlockBytes;  // 16384, &C000-&FFFF

// Offset in the screen image of the first byte of line y.
constexpr std::size_t LineOffset(int y) {
    return static_cast<std::size_t>(y % 8) * kBlockBytes +
           static_cast<std::size_t>(y / 8) * kLineBytes;
}

// Offset in the screen image of the gap of block k.
constexpr std::size_t GapOffset(int block) {
    return static_cast<std::size_t>(block) * kBlockBytes + kBlockPictureBytes;
}

}  // namespace mozu::screen
