#pragma once
// The text box's characters are single bytes of the Windows Western set (the fonts are asked
// for it): 32-126 as ASCII, 160-255 as Latin-1, and 128-159 as the set's own punctuation and
// letters (the euro sign, curly quotes, the dagger, Š, Œ, Ž, ...). The keyboard gives Unicode,
// the fonts draw Unicode, the store keeps bytes: these two turn one into the other.

#include <optional>

namespace mozu {

// The Unicode character a byte stands for; 0 for the five bytes of 128-159 the set leaves
// unused.
char32_t WesternToUnicode(unsigned char byte);
// The byte that stands for a Unicode character, or none when the set has no byte for it.
std::optional<unsigned char> UnicodeToWestern(char32_t character);

}  // namespace mozu
