#include "tests/support/screen_dump_file.h"

#include <random>
#include <stdexcept>

namespace mozu::test {

namespace {

int WidthOf(int mode) {
    return 160 << mode;
}

// The byte of `count` pixels (2, 4 or 8) starting at `p`, leftmost pixel first. Mode 0 keeps a
// pixel's pen bits 0, 2, 1, 3 at bits 7, 5, 3, 1 (left pixel) and 6, 4, 2, 0 (right pixel);
// mode 1 bits 0, 1 at 7, 3 and 6, 2 and 5, 1 and 4, 0; mode 2 one bit a pixel.
std::uint8_t Encode(int mode, const std::uint8_t* p) {
    int b = 0;
    if (mode == 0) {
        for (int i = 0; i < 2; ++i) {
            const int pen = p[i], s = 1 - i;
            b |= ((pen >> 0) & 1) << (6 + s) | ((pen >> 2) & 1) << (4 + s) |
                 ((pen >> 1) & 1) << (2 + s) | ((pen >> 3) & 1) << s;
        }
    } else if (mode == 1) {
        for (int i = 0; i < 4; ++i) {
            const int pen = p[i], s = 3 - i;
            b |= (pen & 1) << (4 + s) | ((pen >> 1) & 1) << s;
        }
    } else {
        for (int i = 0; i < 8; ++i) b |= (p[i] & 1) << (7 - i);
    }
    return static_cast<std::uint8_t>(b);
}

}  // namespace

std::vector<std::uint8_t> DumpPens(int mode, unsigned seed) {
    const int pens = mode == 0 ? 16 : mode == 1 ? 4 : 2;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pen(0, pens - 1);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(WidthOf(mode)) * 200);
    for (auto& p : out) p = static_cast<std::uint8_t>(pen(rng));
    for (int k = 0; k < pens; ++k) out[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(k);
    return out;
}

std::vector<std::uint8_t> ScreenDumpBytes(int mode, const std::vector<std::uint8_t>& pens,
                                          std::uint8_t gapFill) {
    const int width = WidthOf(mode);
    if (pens.size() != static_cast<std::size_t>(width) * 200)
        throw std::invalid_argument("ScreenDumpBytes: wrong number of pens");
    std::vector<std::uint8_t> screen(16384, gapFill);
    const int perByte = 2 << mode;
    for (int y = 0; y < 200; ++y) {
        const std::size_t line =
            static_cast<std::size_t>(y % 8) * 2048 + static_cast<std::size_t>(y / 8) * 80;
        for (int c = 0; c < 80; ++c)
            screen[line + static_cast<std::size_t>(c)] =
                Encode(mode, pens.data() + static_cast<std::size_t>(y) * width +
                                 static_cast<std::size_t>(c * perByte));
    }
    return screen;
}

std::vector<std::uint8_t> WithAmsdosHeader(const std::vector<std::uint8_t>& screen,
                                           std::uint16_t entry, bool breakChecksum) {
    std::vector<std::uint8_t> file(128, 0);
    const char name[] = "PICTURE SCR";  // 8 + 3 characters
    for (int i = 0; i < 11; ++i)
        file[static_cast<std::size_t>(1 + i)] = static_cast<std::uint8_t>(name[i]);
    file[18] = 2;     // binary
    file[21] = 0x00;  // load &C000
    file[22] = 0xC0;
    file[24] = 0x00;  // 16 KB
    file[25] = 0x40;
    file[26] = static_cast<std::uint8_t>(entry);
    file[27] = static_cast<std::uint8_t>(entry >> 8);
    file[64] = 0x00;  // real length &004000
    file[65] = 0x40;
    unsigned sum = 0;
    for (int i = 0; i <= 66; ++i) sum += file[static_cast<std::size_t>(i)];
    if (breakChecksum) ++sum;
    file[67] = static_cast<std::uint8_t>(sum);
    file[68] = static_cast<std::uint8_t>(sum >> 8);
    file.insert(file.end(), screen.begin(), screen.end());
    return file;
}

std::vector<std::uint8_t> ArtPaletteFile(int mode, const std::array<std::uint8_t, 16>& hardware) {
    std::vector<std::uint8_t> pal(239, 0);
    pal[0] = static_cast<std::uint8_t>(mode);
    for (int pen = 0; pen < 17; ++pen)
        for (int f = 0; f < 12; ++f)
            pal[static_cast<std::size_t>(3 + pen * 12 + f)] =
                pen < 16 ? hardware[static_cast<std::size_t>(pen)] : 0x54;
    return pal;
}

}  // namespace mozu::test
