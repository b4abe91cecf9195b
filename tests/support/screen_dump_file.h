#pragma once
// Screens as other CPC tools leave them, made by the tests without Mozu's writers: the 16 KB
// screen memory (8 blocks of 2 KB, block k holding every line y with y mod 8 = k, 80 bytes a
// line), an AMSDOS header of another tool's kind, and art programs' palette files.

#include <array>
#include <cstdint>
#include <vector>

namespace mozu::test {

// Pens of a 160, 320 or 640 x 200 picture of `mode`, row by row, from a fixed seed; every pen
// of the mode occurs.
std::vector<std::uint8_t> DumpPens(int mode, unsigned seed);

// The 16384 screen bytes showing `pens` (row by row, 160, 320 or 640 a row) in `mode`; the gaps
// between the blocks hold `gapFill`.
std::vector<std::uint8_t> ScreenDumpBytes(int mode, const std::vector<std::uint8_t>& pens,
                                          std::uint8_t gapFill = 0xE5);

// `screen` behind a 128-byte AMSDOS header: binary, loaded at &C000, 16 KB, entered at `entry`,
// with a correct checksum (the sum of bytes 0-66 at 67-68) unless `breakChecksum`.
std::vector<std::uint8_t> WithAmsdosHeader(const std::vector<std::uint8_t>& screen,
                                           std::uint16_t entry = 0xC000,
                                           bool breakChecksum = false);

// An art program's 239-byte palette file: the mode, no colour animation, then 12 colours for
// each of pens 0-15 and the border (the same hardware colour in all 12), then 32 zero bytes.
std::vector<std::uint8_t> ArtPaletteFile(int mode, const std::array<std::uint8_t, 16>& hardware);

}  // namespace mozu::test
