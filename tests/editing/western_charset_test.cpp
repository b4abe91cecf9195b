// The text box's single-byte characters and the Unicode the keyboard and the fonts speak.

#include <gtest/gtest.h>

#include "editing/text_store.h"
#include "editing/western_charset.h"

namespace mozu {
namespace {

TEST(WesternCharset, EveryTypableByteGoesThereAndBack) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const char32_t u = WesternToUnicode(byte);
        if (!IsTypableCharacter(byte)) continue;
        if (u == 0) {  // 141, 143, 144, 157: no character in the set
            EXPECT_TRUE(b == 141 || b == 143 || b == 144 || b == 157) << b;
            continue;
        }
        ASSERT_EQ(UnicodeToWestern(u), byte) << b;
    }
    EXPECT_EQ(WesternToUnicode(0x80), U'\u20AC');          // the euro sign
    EXPECT_EQ(WesternToUnicode(0x9F), U'\u0178');          // Ÿ
    EXPECT_EQ(WesternToUnicode(0xE9), U'\u00E9');          // é, as in Latin-1
    EXPECT_EQ(UnicodeToWestern(U'\u201C'), 0x93);          // the left double quote
    EXPECT_EQ(UnicodeToWestern(U'\u0080'), std::nullopt);  // a C1 control is no character
    EXPECT_EQ(UnicodeToWestern(U'\u4E2D'), std::nullopt);  // outside the set
    EXPECT_EQ(UnicodeToWestern(U'\U0001F600'), std::nullopt);
    EXPECT_EQ(UnicodeToWestern(0), std::nullopt);
}

}  // namespace
}  // namespace mozu
