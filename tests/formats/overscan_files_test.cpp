// The byte layout of overscan and level files.
#include <gtest/gtest.h>

#include <random>

#include "colour/colour_ops.h"
#include "formats/amsdos_header.h"
#include "formats/formats_test_helpers.h"
#include "formats/overscan_files.h"
#include "formats/pixel_encoding.h"

namespace mozu {
namespace {

using test::ReadBytes;
using test::ScriptedAsker;
using test::TempDir;

const std::uint8_t kStub[16] = {0x21, 0x80, 0x06, 0x11, 0xCF, 0x7F, 0x01, 0xFF,
                                0x00, 0xED, 0xB0, 0xC3, 0xCF, 0x7F, 0x00, 0x00};
// The loader routine's rows at offsets 0, 16, 176 and 192 as listed.
const std::uint8_t kRow0[16] = {0x21, 0x49, 0x07, 0x11, 0x80, 0x06, 0x01, 0x98,
                                0x5F, 0xED, 0xB0, 0x3A, 0x60, 0x06, 0xCD, 0x1C};
const std::uint8_t kRow16[16] = {0xBD, 0x21, 0x61, 0x06, 0x3E, 0x0F, 0x46, 0x4E,
                                 0xF5, 0xE5, 0xCD, 0x32, 0xBC, 0xE1, 0xF1, 0x23};
const std::uint8_t kRow176[16] = {0x01, 0x2E, 0x02, 0x31, 0x06, 0x21, 0x07, 0x22,
                                  0x0C, 0x0C, 0x0D, 0x68, 0x01, 0x28, 0x02, 0x2E};
const std::uint8_t kRow192[8] = {0x06, 0x19, 0x07, 0x1E, 0x0C, 0x30, 0x0D, 0x00};

std::array<std::uint8_t, 16> Firmware(const PaletteSlot& p) {
    std::array<std::uint8_t, 16> f{};
    for (std::size_t i = 0; i < 16; ++i) f[i] = ColourToFirmware[p[i]];
    return f;
}

int Word(const std::vector<std::uint8_t>& f, std::size_t at) {
    return f[at] | (f[at + 1] << 8);
}

TEST(OverscanFiles, LayoutOfAllThreeModes) {
    std::mt19937 rng(21);
    const int widths[] = {184, 368, 736};
    const int pens[] = {16, 4, 2};
    void (*writers[])(ConversionState&, Asker&, const std::string&) = {
        MakeOverscanedMode0, MakeOverscanedMode1, MakeOverscanedMode2};
    for (int mode = 0; mode < 3; ++mode) {
        TempDir dir;
        ConversionState s;
        const Slot slot = OverscanSlot(mode);
        s.slots[slot] = test::RandomIndexPicture(rng, widths[mode], 264, pens[mode]);
        test::RandomPalette(rng, s.palettes[slot]);
        s.saved[slot] = 0;
        ScriptedAsker asker;
        writers[mode](s, asker, dir / "ovr");
        EXPECT_EQ(s.saved[slot], 1);
        const auto f = ReadBytes(dir / ("ovr" + std::to_string(mode) + ".sca"));
        ASSERT_EQ(f.size(), 24834u);
        // Header: name, load &0660, logical length &6080, entry &0671 (the stub), real length.
        EXPECT_EQ(std::string(f.begin() + 1, f.begin() + 5), "ovr" + std::to_string(mode));
        EXPECT_EQ(f[18], 2);
        EXPECT_EQ(Word(f, 21), 0x0660);
        EXPECT_EQ(Word(f, 24), 0x6080);
        EXPECT_EQ(Word(f, 26), 0x0671);
        EXPECT_EQ(f[64], 0x80);
        EXPECT_EQ(f[65], 0x60);
        EXPECT_EQ(f[66], 0x00);
        EXPECT_EQ(Word(f, 67), AmsdosChecksum(f));
        EXPECT_EQ(f[128], mode);
        const auto firmware = Firmware(s.palettes[slot]);
        for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f[129 + i], firmware[15 - i]);
        EXPECT_TRUE(std::equal(std::begin(kStub), std::end(kStub), f.begin() + 145));
        EXPECT_TRUE(std::equal(std::begin(kRow0), std::end(kRow0), f.begin() + 161));
        EXPECT_TRUE(std::equal(std::begin(kRow16), std::end(kRow16), f.begin() + 161 + 16));
        EXPECT_TRUE(std::equal(std::begin(kRow176), std::end(kRow176), f.begin() + 161 + 176));
        EXPECT_TRUE(std::equal(std::begin(kRow192), std::end(kRow192), f.begin() + 161 + 192));
        // The picture: lines one after the other from offset 361.
        const auto all = test::PensOf(s.slots[slot]);
        const PixelEncoding e = ModeEncoding(mode);
        for (int y = 0; y < 264; ++y)
            for (int c = 0; c < 92; ++c)
                ASSERT_EQ(f[361 + static_cast<std::size_t>(y * 92 + c)],
                          EncodeByte(e, all.data() + static_cast<std::size_t>(
                                                         y * widths[mode] + c * PixelsPerByte(e))));
        for (std::size_t i = 24649; i < f.size(); ++i) EXPECT_EQ(f[i], 0);
    }
}

TEST(OverscanFiles, ModeOneTopLeftPenOne) {
    Picture index(368, 264);
    index.setPixel(0, 0, MakeColour(1, 0, 0));
    const auto f = BuildOverscanFile(1, test::PensOf(index), {}, "X");
    EXPECT_EQ(f[361], 0x80);
    EXPECT_EQ(f[360], 0x00);  // the routine's last byte
}

TEST(LevelFiles, LayoutOfModesZeroAndOne) {
    std::mt19937 rng(31);
    for (int mode = 0; mode < 2; ++mode) {
        TempDir dir;
        ConversionState s;
        const Slot paletteSlot = OverscanSlot(mode);
        test::RandomPalette(rng, s.palettes[paletteSlot]);
        Picture background, extra;
        int extraX;
        if (mode == 0) {
            s.slots[Slot::Level0] = test::RandomIndexPicture(rng, 232, 264, 16);
            background = s.slots[Slot::Level0];
            extra = s.slots[Slot::Level0];
            extraX = 184;
        } else {
            s.slots[Slot::Overscan1] = test::RandomIndexPicture(rng, 368, 264, 4);
            s.slots[Slot::Level1] = test::RandomIndexPicture(rng, 464, 264, 4);
            background = s.slots[Slot::Overscan1];
            extra = s.slots[Slot::Level1];
            extraX = 368;
        }
        s.saved[paletteSlot] = 0;
        // An existing level file is replaced without a question.
        test::WriteBytes(dir / ("lv" + std::to_string(mode) + ".lvl"), {1, 2, 3});
        ScriptedAsker asker;
        (mode == 0 ? MakeLevelMode0 : MakeLevelMode1)(s, asker, dir / "lv");
        EXPECT_TRUE(asker.questions.empty());
        EXPECT_EQ(s.saved[paletteSlot], 1);
        const auto f = ReadBytes(dir / ("lv" + std::to_string(mode) + ".lvl"));
        ASSERT_EQ(f.size(), 26752u);
        EXPECT_EQ(Word(f, 21), 0x0660);
        EXPECT_EQ(Word(f, 24), 0x6080);
        EXPECT_EQ(Word(f, 26), 0x0670);  // data for another program: kept as it is
        EXPECT_EQ(f[64], 0x00);
        EXPECT_EQ(f[65], 0x68);
        EXPECT_EQ(f[66], 0x00);
        EXPECT_EQ(Word(f, 67), AmsdosChecksum(f));
        EXPECT_EQ(f[128], mode);
        const auto firmware = Firmware(s.palettes[paletteSlot]);
        for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f[129 + i], firmware[15 - i]);
        for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(f[145 + i], firmware[15 - i]);
        const PixelEncoding e = ModeEncoding(mode);
        const int ppb = PixelsPerByte(e);
        std::vector<std::uint8_t> line(8);
        for (int y = 0; y < 264; ++y)
            for (int c = 0; c < 92; ++c) {
                for (int k = 0; k < ppb; ++k)
                    line[static_cast<std::size_t>(k)] =
                        static_cast<std::uint8_t>(Red(background.pixel(c * ppb + k, y)));
                ASSERT_EQ(f[160 + static_cast<std::size_t>(y * 92 + c)],
                          EncodeByte(e, line.data()));
            }
        for (int y = 0; y < 96; ++y)
            for (int c = 0; c < 24; ++c) {
                for (int k = 0; k < ppb; ++k)
                    line[static_cast<std::size_t>(k)] =
                        static_cast<std::uint8_t>(Red(extra.pixel(extraX + c * ppb + k, y)));
                ASSERT_EQ(f[24448 + static_cast<std::size_t>(y * 24 + c)],
                          EncodeByte(e, line.data()));
            }
    }
}

}  // namespace
}  // namespace mozu
