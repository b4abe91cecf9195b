// Level files read back: what the level writers write comes back pen for pen with its palette,
// saving what was read writes the same file again, and a file that is not whole or not as the
// writers make it is refused with a reason and changes nothing.
#include <gtest/gtest.h>

#include <random>

#include "colour/colour_ops.h"
#include "colour/indexed.h"
#include "formats/amsdos_header.h"
#include "formats/cpc_file_reader.h"
#include "formats/file_type.h"
#include "formats/formats_test_helpers.h"
#include "formats/level_reader.h"
#include "formats/overscan_files.h"
#include "formats/save_flow.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

using test::ReadBytes;
using test::ScriptedAsker;
using test::TempDir;
using test::WriteBytes;

// A level file as the save command writes it, from random pens and a random palette; the pens
// of the background and of the extra graphics are kept for the checks.
struct WrittenLevel {
    std::string path;
    std::vector<std::uint8_t> background, extra;  // row by row
    PaletteSlot palette{};
};

WrittenLevel WriteLevel(const TempDir& dir, int mode, unsigned seed) {
    std::mt19937 rng(seed);
    ConversionState s;
    WrittenLevel w;
    const Slot paletteSlot = OverscanSlot(mode);
    test::RandomPalette(rng, s.palettes[paletteSlot]);
    w.palette = s.palettes[paletteSlot];
    const int pens = mode == 0 ? 16 : 4;
    const int bgWidth = mode == 0 ? 184 : 368, extraWidth = mode == 0 ? 48 : 96;
    Picture background, extra;
    if (mode == 0) {
        s.slots[Slot::Level0] = test::RandomIndexPicture(rng, 232, 264, pens);
        background = extra = s.slots[Slot::Level0];
    } else {
        s.slots[Slot::Overscan1] = test::RandomIndexPicture(rng, 368, 264, pens);
        s.slots[Slot::Level1] = test::RandomIndexPicture(rng, 464, 264, pens);
        background = s.slots[Slot::Overscan1];
        extra = s.slots[Slot::Level1];
    }
    for (int y = 0; y < 264; ++y)
        for (int x = 0; x < bgWidth; ++x)
            w.background.push_back(static_cast<std::uint8_t>(Red(background.pixel(x, y))));
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < extraWidth; ++x)
            w.extra.push_back(static_cast<std::uint8_t>(Red(extra.pixel(bgWidth + x, y))));
    ScriptedAsker asker;
    (mode == 0 ? MakeLevelMode0 : MakeLevelMode1)(s, asker, dir / "lv");
    w.path = dir / ("lv" + std::to_string(mode) + ".lvl");
    return w;
}

// The pens of a colour picture read with a palette slot.
std::vector<std::uint8_t> PensOfColours(const ConversionState& s, const Picture& p, Slot palette) {
    Picture index;
    BMP2Indexed(s, p, index, palette);
    return test::PensOf(index);
}

TEST(LevelReader, BothModesReadBackToThePensAndPaletteWritten) {
    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(mode);
        TempDir dir;
        const WrittenLevel w = WriteLevel(dir, mode, 70 + static_cast<unsigned>(mode));
        const FileType type = mode == 0 ? FileType::LevelMode0 : FileType::LevelMode1;
        EXPECT_EQ(IsSupportedFile(w.path), type);
        EXPECT_EQ(CheckCPCFile(w.path), type);

        const DecodedPicture d = ReadCpcPicture(w.path, type);
        const int bgWidth = mode == 0 ? 184 : 368, extraWidth = mode == 0 ? 48 : 96;
        ASSERT_EQ(d.picture.width, bgWidth + extraWidth);
        ASSERT_EQ(d.picture.height, 264);
        ASSERT_TRUE(d.hasPalette);
        for (std::size_t i = 0; i < 16; ++i)
            EXPECT_EQ(d.firmware[i], ColourToFirmware[w.palette[i]]) << "pen " << i;
        for (int y = 0; y < 264; ++y)
            for (int x = 0; x < d.picture.width; ++x) {
                const std::uint8_t pen =
                    d.picture.pens[static_cast<std::size_t>(y * d.picture.width + x)];
                const std::uint8_t expected =
                    x < bgWidth ? w.background[static_cast<std::size_t>(y * bgWidth + x)]
                    : y < 96    ? w.extra[static_cast<std::size_t>(y * extraWidth + x - bgWidth)]
                                : 0;  // nothing under the extra graphics
                ASSERT_EQ(pen, expected) << x << "," << y;
            }

        // Into the state: the level slot is the converted one, its picture in the file's colours;
        // the overscan slot holds the background and the palette the level writers read.
        ConversionState s;
        const std::string description = OpenCPCFile(s, w.path);
        EXPECT_EQ(description, mode == 0 ? "CPC level\n\r184x264 + 48x96\n\rmode 0"
                                         : "CPC level\n\r368x264 + 96x96\n\rmode 1");
        const Slot level = mode == 0 ? Slot::Level0 : Slot::Level1;
        const Slot overscan = OverscanSlot(mode);
        EXPECT_EQ(s.currentSlot, level);
        EXPECT_EQ(s.sourceSlot, level);
        EXPECT_EQ(s.converted[level], 1);
        EXPECT_EQ(s.converted[overscan], 0);
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(s.palettes[overscan][i], w.palette[i]) << "pen " << i;
            EXPECT_EQ(s.palettes[level][i], w.palette[i]) << "pen " << i;
        }
        EXPECT_EQ(PensOfColours(s, s.picture(level), overscan),
                  std::vector<std::uint8_t>(d.picture.pens.begin(), d.picture.pens.end()));
        EXPECT_EQ(PensOfColours(s, s.picture(overscan), overscan), w.background);

        // Saved again (the save command: no format chosen, the level goes with its converted
        // flag), the same file comes out.
        TempDir again;
        ScriptedAsker asker;
        SaveSlots(s, asker, again / "lv", std::string(23, 'F'));
        EXPECT_EQ(ReadBytes(again / ("lv" + std::to_string(mode) + ".lvl")), ReadBytes(w.path));

        // The source to convert again is the background alone, at the overscan's shape.
        AdoptOpenedPicture(s, type);
        EXPECT_EQ(s.source.width(), 368);
        EXPECT_EQ(s.source.height(), 264);
    }
}

// The bytes a file is altered at, what they become, and whether recognition already refuses it
// (the header fields that say "level file") or the reader does (the rest).
struct Alteration {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
    bool recognised;
};

TEST(LevelReader, AlteredFilesAreRefusedWithTheirReasonAndChangeNothing) {
    TempDir dir;
    const WrittenLevel w = WriteLevel(dir, 1, 81);
    const std::vector<std::uint8_t> good = ReadBytes(w.path);
    const Alteration alterations[] = {
        {"file type", 18, 0, false},
        {"load address", 22, 0x07, false},
        {"real length", 65, 0x60, false},
        {"mode byte", 128, 2, false},
        {"logical length", 25, 0x61, true},
        {"entry address", 26, 0x71, true},
        {"checksum", 67, static_cast<std::uint8_t>(good[67] + 1), true},
        {"palette", 129 + 3, 27, true},
        {"second palette", 145 + 2, static_cast<std::uint8_t>((good[147] + 1) % 27), true},
    };
    for (const Alteration& a : alterations) {
        SCOPED_TRACE(a.what);
        std::vector<std::uint8_t> bytes = good;
        bytes[a.offset] = a.value;
        // Fields inside the checksum's bytes would fail on the checksum alone: it is made
        // right again so that the field itself is what the reader refuses.
        if (a.offset < 66) {
            const std::uint16_t sum = AmsdosChecksum(bytes);
            bytes[67] = static_cast<std::uint8_t>(sum & 0xFF);
            bytes[68] = static_cast<std::uint8_t>(sum >> 8);
        }
        const std::string path = dir / "bad1.lvl";
        WriteBytes(path, bytes);
        if (!a.recognised) {
            EXPECT_EQ(IsSupportedFile(path), FileType::Unsupported);
            continue;
        }
        ASSERT_EQ(IsSupportedFile(path), FileType::LevelMode1);
        ConversionState s;
        const ConversionState before = s;
        try {
            OpenCPCFile(s, path);
            ADD_FAILURE() << "read";
        } catch (const IoError& e) {
            EXPECT_EQ(e.code(), io::kInvalidData);
            EXPECT_NE(std::string(e.what()).find("not a level file"), std::string::npos)
                << e.what();
        }
        EXPECT_TRUE(test::SameState(s, before));
    }
    // The wrong field is named.
    std::vector<std::uint8_t> entry = good;
    entry[26] = 0x71;
    const std::uint16_t sum = AmsdosChecksum(entry);
    entry[67] = static_cast<std::uint8_t>(sum & 0xFF);
    entry[68] = static_cast<std::uint8_t>(sum >> 8);
    WriteBytes(dir / "entry1.lvl", entry);
    try {
        ReadCpcPicture(dir / "entry1.lvl", FileType::LevelMode1);
        ADD_FAILURE() << "read";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("entry address is &0671, not &0670"),
                  std::string::npos)
            << e.what();
    }
}

TEST(LevelReader, ShortAndLongFilesAreRefused) {
    TempDir dir;
    const WrittenLevel w = WriteLevel(dir, 0, 90);
    const std::vector<std::uint8_t> good = ReadBytes(w.path);
    for (const std::size_t size : {std::size_t{200}, kLevelExtraOffset, kLevelFileSize - 1}) {
        SCOPED_TRACE(size);
        WriteBytes(dir / "short0.lvl",
                   std::vector<std::uint8_t>(good.begin(),
                                             good.begin() + static_cast<std::ptrdiff_t>(size)));
        ASSERT_EQ(IsSupportedFile(dir / "short0.lvl"), FileType::LevelMode0);
        ConversionState s;
        const ConversionState before = s;
        try {
            OpenCPCFile(s, dir / "short0.lvl");
            ADD_FAILURE() << "read";
        } catch (const IoError& e) {
            EXPECT_EQ(e.code(), io::kReadPastEnd);
        }
        EXPECT_TRUE(test::SameState(s, before));
    }
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    WriteBytes(dir / "long0.lvl", longer);
    try {
        ReadCpcPicture(dir / "long0.lvl", FileType::LevelMode0);
        ADD_FAILURE() << "read";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kInvalidData);
        EXPECT_NE(std::string(e.what()).find("26753 bytes, not 26752"), std::string::npos)
            << e.what();
    }
    // Too short for the header test: not a level file at all.
    WriteBytes(dir / "tiny.lvl", {2, 0, 0});
    EXPECT_EQ(IsSupportedFile(dir / "tiny.lvl"), FileType::Unsupported);
}

TEST(LevelReader, OtherProgramsLevelFilesAreNotTakenForOurs) {
    TempDir dir;
    std::mt19937 rng(5);
    std::vector<std::uint8_t> other(kLevelFileSize);
    for (auto& b : other) b = static_cast<std::uint8_t>(rng());
    other[128] = 0;  // even with a mode byte that fits
    WriteBytes(dir / "stage.lvl", other);
    EXPECT_EQ(IsSupportedFile(dir / "stage.lvl"), FileType::Unsupported);
    WriteBytes(dir / "STAGE.LVL", other);
    EXPECT_EQ(CheckCPCFile(dir / "STAGE.LVL"), FileType::Unsupported);
    // The header test looks at the header: the name's case does not matter.
    const WrittenLevel w = WriteLevel(dir, 0, 3);
    WriteBytes(dir / "UPPER0.LVL", ReadBytes(w.path));
    EXPECT_EQ(IsSupportedFile(dir / "UPPER0.LVL"), FileType::LevelMode0);
    EXPECT_EQ(CheckCPCFile(dir / "UPPER0.LVL"), FileType::LevelMode0);
}

TEST(LevelReader, LevelTypesNameTheLevelSlotsNotThePictureTypesOfTheSameNumber) {
    EXPECT_EQ(FileTypeNumber(FileType::LevelMode0), 40);
    EXPECT_EQ(FileTypeNumber(FileType::LevelMode1), 41);
    EXPECT_EQ(SlotOfFileType(FileType::LevelMode0), Slot::Level0);
    EXPECT_EQ(SlotOfFileType(FileType::LevelMode1), Slot::Level1);
    EXPECT_EQ(FileTypeOfSlot(Slot::Level0), FileType::LevelMode0);
    EXPECT_EQ(FileTypeOfSlot(Slot::Level1), FileType::LevelMode1);
    EXPECT_EQ(FileTypeOfSlot(Slot::Overscan1), FileType::OverscanMode1);
    EXPECT_TRUE(IsPictureFileType(FileType::LevelMode0));
    EXPECT_FALSE(IsPictureFileType(FileType::Bmp));
}

}  // namespace
}  // namespace mozu
