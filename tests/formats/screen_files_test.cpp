// The byte layout of the mode 0, 1 and 2 screen files.
#include <gtest/gtest.h>

#include <random>

#include "colour/colour_ops.h"
#include "formats/amsdos_header.h"
#include "formats/formats_test_helpers.h"
#include "formats/pixel_encoding.h"
#include "formats/screen_files.h"

namespace mozu {
namespace {

using test::ReadBytes;
using test::ScriptedAsker;
using test::TempDir;

// The routine's bytes 0-31 as listed for the CPC, mode and border zero.
const std::uint8_t kRoutineCode[32] = {
    0x3E, 0x00, 0xCD, 0x1C, 0xBD, 0x21, 0xF0, 0xC7, 0x3E, 0x0F, 0x46, 0x4E, 0xF5, 0xE5, 0xCD, 0x32,
    0xBC, 0xE1, 0xF1, 0x23, 0x3D, 0xF2, 0xDA, 0xC7, 0x01, 0x00, 0x00, 0xCD, 0x38, 0xBC, 0xC9, 0x00};

ConversionState StateWith(Slot slot, const Picture& index,
                          const std::array<std::uint8_t, 16>& palette) {
    ConversionState s;
    s.slots[slot] = index;
    std::copy(palette.begin(), palette.end(), s.palettes[slot].begin());
    s.saved[slot] = 0;
    return s;
}

// Colour indexes 0-15 in reverse: firmware numbers follow from the colour table.
const std::array<std::uint8_t, 16> kPalette = {15, 14, 13, 12, 11, 10, 9, 8,
                                               7,  6,  5,  4,  3,  2,  1, 0};

TEST(ScreenFiles, AllPenZeroHasOnlyTheGapsOfBlocksZeroAndOne) {
    const int widths[] = {160, 320, 640};
    for (int mode = 0; mode < 3; ++mode) {
        TempDir dir;
        ConversionState s = StateWith(ScreenSlot(mode), Picture(widths[mode], 200), kPalette);
        ScriptedAsker asker;
        void (*writers[])(ConversionState&, Asker&, const std::string&) = {MakeMode0, MakeMode1,
                                                                           MakeMode2};
        writers[mode](s, asker, dir / "PIC");
        EXPECT_EQ(s.saved[ScreenSlot(mode)], 1);
        const std::string name = "PIC" + std::to_string(mode) + ".rim";
        EXPECT_EQ(dir.files(), std::vector<std::string>{name});
        const auto f = ReadBytes(dir / name);
        ASSERT_EQ(f.size(), 16512u);

        // Header: the AMS name is "PIC0" etc.
        const auto header = MakeAmsdosHeader("PIC" + std::to_string(mode), kScreenFileHeader);
        EXPECT_TRUE(std::equal(header.begin(), header.end(), f.begin()));
        EXPECT_EQ(f[1], 'P');
        EXPECT_EQ(f[4], '0' + mode);

        std::array<std::uint8_t, 16> firmware{};
        for (std::size_t i = 0; i < 16; ++i) firmware[i] = ColourToFirmware[kPalette[i]];
        // Start-up routine at 2128 with the patched mode, border and ink table.
        for (std::size_t i = 0; i < 32; ++i) {
            std::uint8_t expected = kRoutineCode[i];
            if (i == 1) expected = static_cast<std::uint8_t>(mode);
            const int borderPen = mode == 0 ? 15 : mode == 1 ? 3 : 0;
            if (i == 25 || i == 26) expected = firmware[static_cast<std::size_t>(borderPen)];
            EXPECT_EQ(f[2128 + i], expected) << "routine byte " << i;
        }
        for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f[2128 + 32 + i], firmware[15 - i]);
        // Second gap: the palette pen 0 first in modes 0 and 1, zeros in mode 2.
        for (std::size_t i = 0; i < 48; ++i) {
            const std::uint8_t expected = mode != 2 && i < 16 ? firmware[i] : 0;
            EXPECT_EQ(f[128 + 2048 + 2000 + i], expected) << "gap 1 byte " << i;
        }
        // Everything else is zero.
        for (std::size_t i = 128; i < f.size(); ++i) {
            const std::size_t at = i - 128;
            const bool gap0 = at >= 2000 && at < 2048;
            const bool gap1 = at >= 2048 + 2000 && at < 4096;
            if (!gap0 && !gap1) {
                ASSERT_EQ(f[i], 0) << "offset " << i;
            }
        }
    }
}

TEST(ScreenFiles, LinesLandInTheirPhaseAndRow) {
    std::mt19937 rng(11);
    const int widths[] = {160, 320, 640};
    const int pens[] = {16, 4, 2};
    for (int mode = 0; mode < 3; ++mode) {
        const Picture index = test::RandomIndexPicture(rng, widths[mode], 200, pens[mode]);
        const auto allPens = test::PensOf(index);
        const auto f = BuildScreenFile(mode, allPens, {}, "X");
        ASSERT_EQ(f.size(), 16512u);
        const PixelEncoding e = ModeEncoding(mode);
        const int ppb = PixelsPerByte(e);
        for (int y = 0; y < 200; ++y) {
            const std::size_t at =
                128 + static_cast<std::size_t>(y % 8) * 2048 + static_cast<std::size_t>(y / 8) * 80;
            for (int c = 0; c < 80; ++c)
                ASSERT_EQ(f[at + static_cast<std::size_t>(c)],
                          EncodeByte(e, allPens.data() +
                                            static_cast<std::size_t>(y * widths[mode] + c * ppb)))
                    << "mode " << mode << " line " << y << " column " << c;
        }
    }
}

TEST(ScreenFiles, LineNineStartsAtFileOffset2256) {
    Picture index(160, 200);
    index.setPixel(0, 9, MakeColour(5, 0, 0));
    index.setPixel(1, 9, MakeColour(10, 0, 0));
    const auto f = BuildScreenFile(0, test::PensOf(index), {}, "X");
    EXPECT_EQ(f[2256], 0xA5);
    Picture one(320, 200);
    one.setPixel(0, 9, MakeColour(1, 0, 0));
    one.setPixel(1, 9, MakeColour(2, 0, 0));
    one.setPixel(2, 9, MakeColour(3, 0, 0));
    EXPECT_EQ(BuildScreenFile(1, test::PensOf(one), {}, "X")[2256], 0xA6);
    Picture two(640, 200);
    two.setPixel(0, 9, MakeColour(1, 0, 0));
    two.setPixel(7, 9, MakeColour(1, 0, 0));
    EXPECT_EQ(BuildScreenFile(2, test::PensOf(two), {}, "X")[2256], 0x81);
}

TEST(ScreenFiles, ASevenCharacterBaseLeavesTheModeDigitOutOfTheHeader) {
    TempDir dir;
    ConversionState s = StateWith(Slot::Mode1, Picture(320, 200), kPalette);
    ScriptedAsker asker;
    MakeMode1(s, asker, dir / "holiday");
    const auto f = ReadBytes(dir / "holiday1.rim");
    EXPECT_EQ(std::string(f.begin() + 1, f.begin() + 9), std::string("holiday\0", 8));
}

}  // namespace
}  // namespace mozu

namespace mozu {
namespace {

TEST(ScreenFiles, ANewNameLeavesTheExistingFileAndNamesTheHeader) {
    TempDir dir;
    const std::vector<std::uint8_t> old(10, 7);
    test::WriteBytes(dir / "pic0.rim", old);
    ConversionState s = StateWith(Slot::Mode0, Picture(160, 200), kPalette);
    s.saved[Slot::Mode0] = 0;
    ScriptedAsker asker;
    asker.yesNo = {false};
    asker.names = {std::string("other")};
    MakeMode0(s, asker, dir / "pic");
    EXPECT_EQ(ReadBytes(dir / "pic0.rim"), old);
    const auto f = ReadBytes(dir / "other0.rim");
    ASSERT_EQ(f.size(), 16512u);
    EXPECT_EQ(std::string(f.begin() + 1, f.begin() + 9), std::string("other0\0\0", 8));
    EXPECT_EQ(s.saved[Slot::Mode0], 1);
}

}  // namespace
}  // namespace mozu
