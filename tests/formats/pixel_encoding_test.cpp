// Byte packing of modes 0, 1, 2 and the nibbles, against the bit tables written out here.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "common/kernel_path_test.h"
#include "formats/pixel_encoding.h"
#include "formats/screen_layout.h"

namespace mozu {
namespace {

// (pixel, pen bit) held by byte bits 7 down to 0.
using BitTable = std::vector<std::pair<int, int>>;
const BitTable kMode0 = {{0, 0}, {1, 0}, {0, 2}, {1, 2}, {0, 1}, {1, 1}, {0, 3}, {1, 3}};
const BitTable kMode1 = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}};
const BitTable kMode2 = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}};

std::uint8_t Reference(const BitTable& t, const std::uint8_t* pens) {
    int v = 0;
    for (int i = 0; i < 8; ++i)
        if (pens[t[static_cast<std::size_t>(i)].first] &
            (1 << t[static_cast<std::size_t>(i)].second))
            v |= 1 << (7 - i);
    return static_cast<std::uint8_t>(v);
}

TEST(PixelEncoding, ExamplesOfTheThreeModes) {
    const std::uint8_t m0[] = {5, 10};
    EXPECT_EQ(EncodeByte(PixelEncoding::Mode0, m0), 0xA5);
    const std::uint8_t m1[] = {1, 2, 3, 0};
    EXPECT_EQ(EncodeByte(PixelEncoding::Mode1, m1), 0xA6);
    const std::uint8_t m2[] = {1, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(EncodeByte(PixelEncoding::Mode2, m2), 0x81);
    const std::uint8_t nib[] = {1, 15};
    EXPECT_EQ(EncodeByte(PixelEncoding::Nibbles, nib), 0x1F);
}

TEST(PixelEncoding, EveryByteDecodesToPensThatEncodeBackAsTheBitTableSays) {
    const std::pair<PixelEncoding, const BitTable*> modes[] = {{PixelEncoding::Mode0, &kMode0},
                                                               {PixelEncoding::Mode1, &kMode1},
                                                               {PixelEncoding::Mode2, &kMode2}};
    for (const auto& [e, table] : modes) {
        for (int v = 0; v < 256; ++v) {
            const std::uint8_t byte = static_cast<std::uint8_t>(v);
            std::uint8_t pens[8] = {};
            DecodeBytes(e, &byte, 1, pens);
            for (int i = 0; i < PixelsPerByte(e); ++i) ASSERT_LT(pens[i], PenCount(e));
            EXPECT_EQ(Reference(*table, pens), byte) << "byte " << v;
            std::uint8_t out = 0;
            EncodePens(e, pens, 1, &out);
            EXPECT_EQ(out, byte);
            EXPECT_EQ(EncodeByte(e, pens), byte);
        }
    }
}

TEST(PixelEncoding, LinesOfRandomPensMatchTheBitTables) {
    std::mt19937 rng(7);
    const std::pair<PixelEncoding, const BitTable*> modes[] = {{PixelEncoding::Mode0, &kMode0},
                                                               {PixelEncoding::Mode1, &kMode1},
                                                               {PixelEncoding::Mode2, &kMode2}};
    for (const auto& [e, table] : modes) {
        const int ppb = PixelsPerByte(e);
        std::vector<std::uint8_t> pens(static_cast<std::size_t>(80 * ppb));
        std::uniform_int_distribution<int> pen(0, PenCount(e) - 1);
        for (auto& p : pens) p = static_cast<std::uint8_t>(pen(rng));
        std::vector<std::uint8_t> bytes(80);
        EncodePens(e, pens.data(), 80, bytes.data());
        for (int i = 0; i < 80; ++i)
            ASSERT_EQ(bytes[static_cast<std::size_t>(i)],
                      Reference(*table, pens.data() + static_cast<std::size_t>(i * ppb)));
        std::vector<std::uint8_t> back(pens.size());
        DecodeBytes(e, bytes.data(), 80, back.data());
        EXPECT_EQ(back, pens);
    }
}

TEST(PixelEncoding, NibblesHoldTheLeftPixelHigh) {
    for (int v = 0; v < 256; ++v) {
        const std::uint8_t byte = static_cast<std::uint8_t>(v);
        std::uint8_t pens[2];
        DecodeBytes(PixelEncoding::Nibbles, &byte, 1, pens);
        EXPECT_EQ(pens[0], v >> 4);
        EXPECT_EQ(pens[1], v & 15);
    }
}

// ---- packing straight from index pixels and unpacking nibbles, on every instruction path the
// processor has (each test runs once per path, the path forced)

class IndexPixels : public KernelPathTest<PixelPackingPath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(IndexPixels, PixelPackingPath);
class NibbleRows : public KernelPathTest<PixelPackingPath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(NibbleRows, PixelPackingPath);

TEST_P(NibbleRows, RowsOfEveryLengthUnpackLeftPixelHigh) {
    // Lengths around the 16-byte step, and a whole SymbOS line; a spare pen on each side shows
    // a write outside the row.
    std::mt19937 rng(5);
    for (int bytes : {1, 2, 15, 16, 17, 31, 32, 33, 47, 48, 49, 80, 256}) {
        std::vector<std::uint8_t> in(static_cast<std::size_t>(bytes));
        for (auto& b : in) b = static_cast<std::uint8_t>(rng());
        std::vector<std::uint8_t> pens(static_cast<std::size_t>(bytes) * 2 + 2, 0xEE);
        DecodeBytes(PixelEncoding::Nibbles, in.data(), bytes, pens.data() + 1);
        EXPECT_EQ(pens.front(), 0xEE);
        EXPECT_EQ(pens.back(), 0xEE);
        for (std::size_t i = 0; i < in.size(); ++i) {
            ASSERT_EQ(pens[2 * i + 1], in[i] >> 4) << "bytes " << bytes << " byte " << i;
            ASSERT_EQ(pens[2 * i + 2], in[i] & 15) << "bytes " << bytes << " byte " << i;
        }
    }
}

const BitTable* TableOf(PixelEncoding e) {
    return e == PixelEncoding::Mode0 ? &kMode0 : e == PixelEncoding::Mode1 ? &kMode1 : &kMode2;
}

// The reference byte: the bit tables for the modes, high nibble first for the nibbles.
std::uint8_t ReferenceByte(PixelEncoding e, const std::uint8_t* pens) {
    if (e == PixelEncoding::Nibbles) return static_cast<std::uint8_t>(pens[0] << 4 | pens[1]);
    return Reference(*TableOf(e), pens);
}

constexpr PixelEncoding kAll[] = {PixelEncoding::Mode0, PixelEncoding::Mode1, PixelEncoding::Mode2,
                                  PixelEncoding::Nibbles};

TEST_P(IndexPixels, RowsOfEveryLengthPackAsTheBitTablesSay) {
    std::mt19937 rng(11);
    for (PixelEncoding e : kAll) {
        const int ppb = PixelsPerByte(e);
        std::uniform_int_distribution<int> pen(0, PenCount(e) - 1);
        // Lengths around the 16- and 32-pixel steps, and whole lines of the writers.
        for (int bytes : {1, 2, 3, 7, 8, 9, 15, 16, 17, 23, 24, 25, 31, 33, 80, 92, 128}) {
            const std::size_t pixels = static_cast<std::size_t>(bytes * ppb);
            std::vector<std::uint8_t> pens(pixels), bgr(pixels * 3, 0);
            for (std::size_t i = 0; i < pixels; ++i)
                bgr[i * 3 + 2] = pens[i] = static_cast<std::uint8_t>(pen(rng));
            // One spare byte on each side shows a write outside the row.
            std::vector<std::uint8_t> out(static_cast<std::size_t>(bytes) + 2, 0xEE);
            ASSERT_TRUE(EncodeIndexPixels(e, bgr.data(), bytes, out.data() + 1));
            EXPECT_EQ(out.front(), 0xEE);
            EXPECT_EQ(out.back(), 0xEE);
            for (int b = 0; b < bytes; ++b)
                ASSERT_EQ(out[static_cast<std::size_t>(b) + 1],
                          ReferenceByte(e, pens.data() + static_cast<std::size_t>(b * ppb)))
                    << "encoding " << static_cast<int>(e) << " bytes " << bytes << " byte " << b;
        }
    }
}

TEST_P(IndexPixels, EveryPenOfEveryEncodingIsAccepted) {
    // All pens side by side, so that the top pen meets every lane.
    for (PixelEncoding e : kAll) {
        const int ppb = PixelsPerByte(e);
        const int bytes = 64 / ppb * 3;
        std::vector<std::uint8_t> bgr(static_cast<std::size_t>(bytes * ppb) * 3, 0);
        for (std::size_t i = 0; i < bgr.size() / 3; ++i)
            bgr[i * 3 + 2] = static_cast<std::uint8_t>(PenCount(e) - 1 - i % PenCount(e));
        std::vector<std::uint8_t> out(static_cast<std::size_t>(bytes));
        EXPECT_TRUE(EncodeIndexPixels(e, bgr.data(), bytes, out.data()));
    }
}

TEST_P(IndexPixels, APixelThatIsNoPenIsCaughtAtEveryPosition) {
    // A blue, a green or a red at the pen count, in each pixel of a row that has a full
    // two-chunk step, a single chunk and a tail.
    for (PixelEncoding e : kAll) {
        const int ppb = PixelsPerByte(e);
        const int bytes = (16 * 3 + 16 - ppb) / ppb + 1;  // 3 chunks and a tail
        const std::size_t pixels = static_cast<std::size_t>(bytes * ppb);
        std::vector<std::uint8_t> bgr(pixels * 3, 0);
        std::vector<std::uint8_t> out(static_cast<std::size_t>(bytes));
        for (std::size_t i = 0; i < pixels; ++i)
            for (int channel = 0; channel < 3; ++channel) {
                const std::uint8_t value =
                    channel == 2 ? static_cast<std::uint8_t>(PenCount(e)) : 1;
                bgr[i * 3 + static_cast<std::size_t>(channel)] = value;
                EXPECT_FALSE(EncodeIndexPixels(e, bgr.data(), bytes, out.data()))
                    << "encoding " << static_cast<int>(e) << " pixel " << i << " channel "
                    << channel;
                bgr[i * 3 + static_cast<std::size_t>(channel)] = 0;
            }
        // And 255 in red, the largest the shuffles see.
        bgr[(pixels - 1) * 3 + 2] = 255;
        EXPECT_FALSE(EncodeIndexPixels(e, bgr.data(), bytes, out.data()));
    }
}

TEST(ScreenLayout, LinesFollowTheEightPhases) {
    EXPECT_EQ(screen::LineOffset(0), 0u);
    EXPECT_EQ(screen::LineOffset(1), 2048u);
    EXPECT_EQ(screen::LineOffset(8), 80u);
    EXPECT_EQ(screen::LineOffset(9), 2128u);  // 2048 + 80
    EXPECT_EQ(screen::LineOffset(199), 7u * 2048 + 24 * 80);
    EXPECT_EQ(screen::GapOffset(0), 2000u);
    EXPECT_EQ(screen::GapOffset(7), 7u * 2048 + 2000);
    // Every picture byte has exactly one line and column, and no line reaches a gap.
    std::vector<int> owner(screen::kImageBytes, 0);
    for (int y = 0; y < 200; ++y)
        for (int c = 0; c < 80; ++c) ++owner[screen::LineOffset(y) + static_cast<std::size_t>(c)];
    for (std::size_t i = 0; i < owner.size(); ++i)
        EXPECT_EQ(owner[i], i % 2048 < 2000 ? 1 : 0) << i;
}

}  // namespace
}  // namespace mozu
