#include "editing/western_charset.h"

#include <array>

namespace mozu {
namespace {

// Bytes 128-159; 0 where the set has no character.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

char32_t WesternToUnicode(unsigned char byte) {
    if (byte >= 128 && byte < 160) return kHighControls[byte - 128];
    return byte;
}

std::optional<unsigned char> UnicodeToWestern(char32_t character) {
    if (character == 0) return std::nullopt;
    if (character < 128 || (character >= 160 && character < 256))
        return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == character) return static_cast<unsigned char>(128 + i);
    return std::nullopt;
}

}  // namespace mozu
