// Every writer's file read back by OpenCPCFile gives the same pens and palette.
#include <gtest/gtest.h>

#include <random>

#include "colour/indexed.h"
#include "formats/cpc_file_reader.h"
#include "formats/formats_test_helpers.h"
#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"

namespace mozu {
namespace {

using test::ScriptedAsker;
using test::TempDir;

using Writer = void (*)(ConversionState&, Asker&, const std::string&);

struct Case {
    Writer writer;
    Slot slot;
    int width, height, pens;
    const char* file;
    const char* label;
};

const Case kCases[] = {
    {MakeMode0, Slot::Mode0, 160, 200, 16, "b0.rim", "CPC image\n\r160x200"},
    {MakeMode1, Slot::Mode1, 320, 200, 4, "b1.rim", "CPC image\n\r320x200"},
    {MakeMode2, Slot::Mode2, 640, 200, 2, "b2.rim", "CPC image\n\r640x200"},
    {MakeOverscanedMode0, Slot::Overscan0, 184, 264, 16, "b0.sca",
     "CPC image\n\r184x264\n\roverscaned mode 0"},
    {MakeOverscanedMode1, Slot::Overscan1, 368, 264, 4, "b1.sca",
     "CPC image\n\r368x264\n\roverscaned mode 1"},
    {MakeOverscanedMode2, Slot::Overscan2, 736, 264, 2, "b2.sca",
     "CPC image\n\r736x264\n\roverscaned mode 2"},
};

TEST(RoundTrip, ScreenAndOverscanFilesGiveBackPensAndPalette) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 rng(seed);
        for (const Case& c : kCases) {
            TempDir dir;
            ConversionState written;
            const Picture pens = test::RandomIndexPicture(rng, c.width, c.height, c.pens);
            written.slots[c.slot] = pens;
            test::RandomPalette(rng, written.palettes[c.slot]);
            ScriptedAsker asker;
            c.writer(written, asker, dir / "b");

            ConversionState read;
            read.currentSlot = Slot::Unused17;  // a slot no file is read into
            const std::string label = OpenCPCFile(read, dir / (c.file));
            EXPECT_EQ(label, c.label);
            const Slot s = c.slot;
            for (std::size_t i = 0; i < 16; ++i)
                ASSERT_EQ(read.palettes[s][i], written.palettes[s][i]) << c.file << " pen " << i;
            EXPECT_EQ(read.converted[s], 1);
            EXPECT_EQ(read.currentSlot, c.slot);
            EXPECT_EQ(read.sourceSlot, c.slot);
            // The slot shows the pens in the palette's colours ...
            Picture expected;
            Indexed2BMP(written, pens, expected, c.slot);
            ASSERT_EQ(read.slots[s], expected) << c.file << " seed " << seed;
            // ... and the palette's colours differ, so they give back the very pens.
            Picture back;
            BMP2Indexed(read, read.slots[s], back, c.slot);
            ASSERT_EQ(back, pens) << c.file;
        }
    }
}

TEST(RoundTrip, ScreenFilesOfModesZeroAndOneRecountTheFoundColours) {
    TempDir dir;
    ConversionState written;
    written.slots[Slot::Mode0] = Picture(160, 200);
    written.slots[Slot::Mode0].setPixel(3, 3, MakeColour(2, 0, 0));
    for (std::size_t i = 0; i < 16; ++i)
        written.palettes[Slot::Mode0][i] = static_cast<std::uint8_t>(i);
    ScriptedAsker asker;
    MakeMode0(written, asker, dir / "c");
    ConversionState read;
    read.foundColours.fill(0x123456);
    OpenCPCFile(read, dir / "c0.rim");
    // Colour indexes 0 and 2 of the table, in green-red-blue order: (255,255,128) has green 255,
    // (255,128,0) green 128: the orange comes first.
    EXPECT_EQ(read.foundColours[0], kDefaultColourTable[2]);
    EXPECT_EQ(read.foundColours[1], kDefaultColourTable[0]);
    EXPECT_EQ(read.foundColours[2], 0u);
}

TEST(RoundTrip, SymbOSGraphicsOfManySizes) {
    std::mt19937 rng(5);
    const int widths[] = {4, 7, 130, 253, 254, 255, 320, 509, 762, 1000, 4096};
    for (int width : widths) {
        for (bool sixteen : {false, true}) {
            TempDir dir;
            std::uniform_int_distribution<int> h(1, 40);
            const int height = width == 4096 ? 2 : h(rng);
            const Slot writeSlot = sixteen ? Slot::SgxMsx : Slot::SgxCpc;
            const Slot readSlot = sixteen ? Slot::SgxMsxFree : Slot::SgxCpcFree;
            ConversionState written;
            const Picture pens = test::RandomIndexPicture(rng, width, height, sixteen ? 16 : 4);
            written.slots[writeSlot] = pens;
            ScriptedAsker asker;
            (sixteen ? MakeSGXMSX : MakeSGXCPC)(written, asker, dir / "g", writeSlot);

            ConversionState read;
            read.palettes[Slot::SgxCpcFree].fill(20);
            read.palettes[Slot::SgxMsxFree].fill(20);
            const std::string label = OpenCPCFile(read, dir / (sixteen ? "g7.sgx" : "gC.sgx"));
            int storedWidth = 0;
            for (const SgxStrip& s : SgxStripDivision(width, sixteen))
                storedWidth += s.bytes * (sixteen ? 2 : 4);
            const Slot rs = readSlot;
            ASSERT_EQ(read.slots[rs].width(), storedWidth) << width;
            ASSERT_EQ(read.slots[rs].height(), height);
            EXPECT_EQ(label, "SymbOS image\n\r" + std::to_string(storedWidth) + "x" +
                                 std::to_string(height) + "\n\r" +
                                 (sixteen ? "16 colors" : "4 colors"));
            for (int i = 0; i < (sixteen ? 16 : 4); ++i)
                EXPECT_EQ(read.palettes[rs][static_cast<std::size_t>(i)], i);
            EXPECT_EQ(read.converted[rs], 1);
            EXPECT_EQ(read.sourceSlot, readSlot);
            Picture back;
            BMP2Indexed(read, read.slots[rs], back, readSlot);
            ASSERT_EQ(back, pens.crop(0, 0, storedWidth, height))
                << width << (sixteen ? " x16" : " x4");
        }
    }
}

TEST(RoundTrip, ASmallGraphicOf171BytesReadsBack) {
    TempDir dir;
    std::mt19937 rng(9);
    ConversionState written;
    written.slots[Slot::SgxCpcFree] = test::RandomIndexPicture(rng, 130, 5, 4);
    ScriptedAsker asker;
    MakeSGXCPC(written, asker, dir / "s", Slot::SgxCpcFree);
    ASSERT_EQ(test::ReadBytes(dir / "s1.sgx").size(), 171u);
    EXPECT_EQ(IsSupportedFile(dir / "s1.sgx"), FileType::Sgx4);
    ConversionState read;
    EXPECT_EQ(OpenCPCFile(read, dir / "s1.sgx"), "SymbOS image\n\r128x5\n\r4 colors");
}

}  // namespace
}  // namespace mozu
