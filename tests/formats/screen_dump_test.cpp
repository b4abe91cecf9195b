// Other tools' CPC screens: how they are told from Mozu's own screen files, the palette files
// beside them, and the pens and colours they read back to.
#include <gtest/gtest.h>

#include <set>

#include "formats/file_type.h"
#include "formats/formats_test_helpers.h"
#include "formats/screen_dump.h"
#include "formats/screen_files.h"
#include "platform/io_error.h"
#include "tests/support/screen_dump_file.h"

namespace mozu {
namespace {

using test::ArtPaletteFile;
using test::DumpPens;
using test::ScreenDumpBytes;
using test::TempDir;
using test::WithAmsdosHeader;
using test::WriteBytes;

std::vector<std::uint8_t> Pens(const DecodedPicture& d) {
    return {d.picture.pens.begin(), d.picture.pens.end()};
}

// Sixteen hardware colours, all different in firmware terms, and what the firmware calls them.
constexpr std::array<std::uint8_t, 16> kHardware = {0x54, 0x44, 0x55, 0x5C, 0x58, 0x5D, 0x4C, 0x45,
                                                    0x4D, 0x56, 0x46, 0x57, 0x5E, 0x40, 0x5F, 0x4B};
constexpr std::array<std::uint8_t, 16> kFirmware = {0, 1, 2,  3,  4,  5,  6,  7,
                                                    8, 9, 10, 11, 12, 13, 14, 26};

TEST(ScreenDump, EveryModeReadsBackToThePensWrittenHeadedOrBare) {
    for (int mode = 0; mode < 3; ++mode) {
        const std::vector<std::uint8_t> pens = DumpPens(mode, 40u + static_cast<unsigned>(mode));
        const std::vector<std::uint8_t> bare = ScreenDumpBytes(mode, pens);
        ASSERT_EQ(bare.size(), 16384u);
        for (bool headed : {false, true}) {
            const auto file = headed ? WithAmsdosHeader(bare) : bare;
            const DecodedPicture d = DecodeScreenDump(file, mode, kFirmware, "x.scr");
            EXPECT_EQ(d.picture.width, 160 << mode);
            EXPECT_EQ(d.picture.height, 200);
            EXPECT_EQ(Pens(d), pens) << "mode " << mode << (headed ? " headed" : " bare");
            EXPECT_EQ(d.firmware, kFirmware);
            EXPECT_TRUE(d.hasPalette);
        }
    }
}

TEST(ScreenDump, LinesSitInTheirBlocks) {
    // One line of pen 1 in mode 2: line 9 is the second line of block 1, at 2048 + 80.
    std::vector<std::uint8_t> pens(640 * 200, 0);
    std::fill(pens.begin() + 9 * 640, pens.begin() + 10 * 640, 1);
    const auto screen = ScreenDumpBytes(2, pens, 0);
    for (std::size_t i = 0; i < screen.size(); ++i)
        ASSERT_EQ(screen[i], i >= 2128 && i < 2208 ? 0xFF : 0x00) << i;
    EXPECT_EQ(Pens(DecodeScreenDump(screen, 2, kFirmwareDefaultInks, "x")), pens);
}

TEST(ScreenDump, ToldFromMozuScreenFiles) {
    TempDir dir;
    const auto bare = ScreenDumpBytes(1, DumpPens(1, 7));
    for (const char* name : {"a.scr", "a.SCR", "a.bin", "a.rim"}) {
        WriteBytes(dir / name, bare);
        EXPECT_EQ(IsSupportedFile(dir / name), FileType::ScreenDump) << name;
        EXPECT_EQ(CheckCPCFile(dir / name), FileType::ScreenDump) << name;
    }
    // Any other extension is not looked into.
    WriteBytes(dir / "a.dat", bare);
    EXPECT_EQ(IsSupportedFile(dir / "a.dat"), FileType::Unsupported);
    // Behind another tool's header (entered at &C000, or at 0), and with bytes after the screen.
    WriteBytes(dir / "h.scr", WithAmsdosHeader(bare));
    EXPECT_EQ(IsSupportedFile(dir / "h.scr"), FileType::ScreenDump);
    WriteBytes(dir / "h.scr", WithAmsdosHeader(bare, 0));
    EXPECT_EQ(CheckCPCFile(dir / "h.scr"), FileType::ScreenDump);
    auto padded = WithAmsdosHeader(bare);
    padded.resize(padded.size() + 128, 0x1A);
    WriteBytes(dir / "h.scr", padded);
    EXPECT_EQ(IsSupportedFile(dir / "h.scr"), FileType::ScreenDump);
    // A header whose checksum is wrong is no AMSDOS header: a headed screen that is not read.
    WriteBytes(dir / "h.scr", WithAmsdosHeader(bare, 0xC000, true));
    EXPECT_EQ(IsSupportedFile(dir / "h.scr"), FileType::HeadedScreen);
    // A header entered at our routine's &C7D0 is ours, damaged: still type 3.
    WriteBytes(dir / "h.scr", WithAmsdosHeader(bare, 0xC7D0));
    EXPECT_EQ(IsSupportedFile(dir / "h.scr"), FileType::HeadedScreen);
    // A headed screen cut short, and a bare one a byte too long or too short.
    auto cut = WithAmsdosHeader(bare);
    cut.resize(16511);
    WriteBytes(dir / "h.scr", cut);
    EXPECT_EQ(IsSupportedFile(dir / "h.scr"), FileType::HeadedScreen);
    auto longer = bare;
    longer.push_back(0);
    WriteBytes(dir / "b.scr", longer);
    EXPECT_EQ(IsSupportedFile(dir / "b.scr"), FileType::Unsupported);
    longer.resize(16383);
    WriteBytes(dir / "b.scr", longer);
    EXPECT_EQ(IsSupportedFile(dir / "b.scr"), FileType::Unsupported);
    // 16384 bytes that begin with a correct AMSDOS header are a headed file cut short.
    auto headedShort = WithAmsdosHeader(bare);
    headedShort.resize(16384);
    WriteBytes(dir / "b.scr", headedShort);
    EXPECT_NE(IsSupportedFile(dir / "b.scr"), FileType::ScreenDump);
    // A black screen starts with 128 zero bytes, whose sum 0 is no header checksum.
    WriteBytes(dir / "black.scr", std::vector<std::uint8_t>(16384, 0));
    EXPECT_EQ(IsSupportedFile(dir / "black.scr"), FileType::ScreenDump);
    // Mozu's own screen files stay what they were, in every mode.
    for (int mode = 0; mode < 3; ++mode) {
        WriteBytes(dir / "m.scr",
                   BuildScreenFile(mode, DumpPens(mode, 3), kFirmwareDefaultInks, "M"));
        EXPECT_EQ(IsSupportedFile(dir / "m.scr"), static_cast<FileType>(mode));
    }
}

TEST(ScreenDump, HardwareColourNumbers) {
    EXPECT_EQ(FirmwareOfHardwareColour(0x54), 0);   // black
    EXPECT_EQ(FirmwareOfHardwareColour(0x14), 0);   // the same without the command bit
    EXPECT_EQ(FirmwareOfHardwareColour(0x44), 1);   // blue
    EXPECT_EQ(FirmwareOfHardwareColour(0x4C), 6);   // bright red
    EXPECT_EQ(FirmwareOfHardwareColour(0x52), 18);  // bright green
    EXPECT_EQ(FirmwareOfHardwareColour(0x4B), 26);  // bright white
    // The five repeats.
    EXPECT_EQ(FirmwareOfHardwareColour(0x41), FirmwareOfHardwareColour(0x40));
    EXPECT_EQ(FirmwareOfHardwareColour(0x48), FirmwareOfHardwareColour(0x45));
    EXPECT_EQ(FirmwareOfHardwareColour(0x49), FirmwareOfHardwareColour(0x43));
    EXPECT_EQ(FirmwareOfHardwareColour(0x50), FirmwareOfHardwareColour(0x44));
    EXPECT_EQ(FirmwareOfHardwareColour(0x51), FirmwareOfHardwareColour(0x42));
    std::set<int> all;
    for (int hw = 0x40; hw < 0x60; ++hw)
        all.insert(FirmwareOfHardwareColour(static_cast<std::uint8_t>(hw)));
    EXPECT_EQ(all.size(), 27u);
    EXPECT_EQ(*all.begin(), 0);
    EXPECT_EQ(*all.rbegin(), 26);
    for (int hw : {0x20, 0x3F, 0x60, 0x80, 0xC0, 0xFF})
        EXPECT_EQ(FirmwareOfHardwareColour(static_cast<std::uint8_t>(hw)), -1) << hw;
    // The firmware's start-up inks: blue, bright yellow, bright cyan, bright red ...
    EXPECT_EQ(kFirmwareDefaultInks[0], 1);
    EXPECT_EQ(kFirmwareDefaultInks[1], 24);
    EXPECT_EQ(kFirmwareDefaultInks[2], 20);
    EXPECT_EQ(kFirmwareDefaultInks[3], 6);
}

TEST(ScreenDump, PaletteFiles) {
    for (int mode = 0; mode < 3; ++mode) {
        const DumpPalette p = ParseDumpPalette(ArtPaletteFile(mode, kHardware), "x.pal");
        EXPECT_EQ(p.mode, mode);
        const int pens = mode == 0 ? 16 : mode == 1 ? 4 : 2;
        for (int pen = 0; pen < 16; ++pen)
            EXPECT_EQ(p.firmware[static_cast<std::size_t>(pen)],
                      pen < pens ? kFirmware[static_cast<std::size_t>(pen)]
                                 : kFirmwareDefaultInks[static_cast<std::size_t>(pen)])
                << mode << " " << pen;
    }
    // Saved on a CPC disc, with a header of its own.
    std::vector<std::uint8_t> headed = WithAmsdosHeader({});
    const auto pal = ArtPaletteFile(0, kHardware);
    headed.insert(headed.end(), pal.begin(), pal.end());
    EXPECT_EQ(ParseDumpPalette(headed, "x.pal").firmware, kFirmware);
    // Only the pens of the mode need to be there: mode 2 needs 3 + 2 x 12 bytes.
    auto shortPal = ArtPaletteFile(2, kHardware);
    shortPal.resize(27);
    EXPECT_EQ(ParseDumpPalette(shortPal, "x.pal").firmware[1], 1);
    const auto codeOf = [](const std::vector<std::uint8_t>& bytes) {
        try {
            ParseDumpPalette(bytes, "odd.pal");
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find("odd.pal"), std::string::npos) << e.what();
            return e.code();
        }
        return 0;
    };
    shortPal.resize(26);
    EXPECT_EQ(codeOf(shortPal), io::kInvalidData);
    auto mode0 = ArtPaletteFile(0, kHardware);
    mode0.resize(194);  // one byte short of pen 15's first colour
    EXPECT_EQ(codeOf(mode0), io::kInvalidData);
    EXPECT_EQ(codeOf({}), io::kInvalidData);
    auto badMode = ArtPaletteFile(1, kHardware);
    badMode[0] = 3;
    EXPECT_EQ(codeOf(badMode), io::kInvalidData);
    auto badColour = ArtPaletteFile(1, kHardware);
    badColour[3 + 12 * 2] = 0x99;
    EXPECT_EQ(codeOf(badColour), io::kInvalidData);
}

TEST(ScreenDump, PaletteFileBesideInAnyCase) {
    TempDir dir;
    const auto bare = ScreenDumpBytes(0, DumpPens(0, 1));
    WriteBytes(dir / "pic.scr", bare);
    EXPECT_EQ(PaletteFileBeside(dir / "pic.scr"), "");
    EXPECT_FALSE(ReadDumpPalette(dir / "pic.scr").has_value());
    // Another picture's palette is not this one's.
    WriteBytes(dir / "other.pal", ArtPaletteFile(2, kHardware));
    EXPECT_EQ(PaletteFileBeside(dir / "pic.scr"), "");
    WriteBytes(dir / "pic.pAl", ArtPaletteFile(2, kHardware));
    EXPECT_EQ(PaletteFileBeside(dir / "pic.scr"), dir / "pic.pAl");
    const std::optional<DumpPalette> p = ReadDumpPalette(dir / "pic.scr");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->mode, 2);
    // A broken palette file beside it is an error, not a silent fallback.
    WriteBytes(dir / "pic.pAl", {0});
    EXPECT_THROW(ReadDumpPalette(dir / "pic.scr"), IoError);
}

TEST(ScreenDump, ReadFromFileAndRefusedWhenNoDump) {
    TempDir dir;
    const auto pens = DumpPens(0, 11);
    WriteBytes(dir / "d.scr", WithAmsdosHeader(ScreenDumpBytes(0, pens)));
    EXPECT_EQ(Pens(ReadScreenDump(dir / "d.scr", 0, kFirmwareDefaultInks)), pens);
    WriteBytes(dir / "d.scr", std::vector<std::uint8_t>(16000, 0));
    EXPECT_THROW(ReadScreenDump(dir / "d.scr", 0, kFirmwareDefaultInks), IoError);
    WriteBytes(dir / "d.scr", ScreenDumpBytes(0, pens));
    EXPECT_THROW(ReadScreenDump(dir / "d.scr", 3, kFirmwareDefaultInks), IoError);
    EXPECT_EQ(ScreenDumpDescription(0, ""), "CPC screen dump\n\r160x200\n\rfirmware colours");
    EXPECT_EQ(ScreenDumpDescription(2, "/a/PIC.PAL"),
              "CPC screen dump\n\r640x200\n\rcolours of PIC.PAL");
}

}  // namespace
}  // namespace mozu
