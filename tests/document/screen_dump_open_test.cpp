// Opening other tools' CPC screens: the mode and colours from the palette file beside them, or
// the caller's mode or the user's answer with the firmware's colours; nothing changes when
// neither is there.
#include <gtest/gtest.h>

#include "colour/colour_table.h"
#include "document/document_test_support.h"
#include "document/open_file.h"
#include "formats/screen_dump.h"
#include "platform/io_error.h"
#include "tests/support/screen_dump_file.h"

namespace mozu {
namespace {

constexpr std::array<std::uint8_t, 16> kHardware = {0x4B, 0x54, 0x4C, 0x52, 0x55, 0x5E, 0x56, 0x57,
                                                    0x40, 0x5C, 0x44, 0x4E, 0x47, 0x4F, 0x53, 0x5A};
// The same in firmware numbers.
constexpr std::array<std::uint8_t, 16> kFirmware = {26, 0, 6, 18, 2,  12, 9,  11,
                                                    13, 3, 1, 15, 16, 17, 20, 21};

// Every pixel of `slot` shows the colour its pen has in `firmware`.
void ExpectShows(const ConversionState& s, Slot slot, int mode,
                 const std::vector<std::uint8_t>& pens,
                 const std::array<std::uint8_t, 16>& firmware) {
    const Picture& p = s.picture(slot);
    const int width = 160 << mode;
    ASSERT_EQ(p.width(), width);
    ASSERT_EQ(p.height(), 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t pen = pens[static_cast<std::size_t>(y * width + x)];
            const Colour c = s.colourTable[FirmwareToColour[firmware[pen]]];
            const std::uint8_t* px = p.row(y) + 3 * x;
            ASSERT_EQ(MakeColour(px[2], px[1], px[0]), c)
                << "mode " << mode << " at " << x << "," << y;
        }
}

TEST(ScreenDumpOpen, PaletteFileGivesModeAndColoursInEveryMode) {
    test::TempDir dir;
    for (int mode = 0; mode < 3; ++mode) {
        const auto pens = test::DumpPens(mode, 90u + static_cast<unsigned>(mode));
        const std::string scr =
            dir.write("art" + std::to_string(mode) + ".scr",
                      test::WithAmsdosHeader(test::ScreenDumpBytes(mode, pens)));
        dir.write("art" + std::to_string(mode) + ".pal", test::ArtPaletteFile(mode, kHardware));
        Document doc;
        test::ScriptedAsker asker;
        OpenSettings settings;
        settings.asker = &asker;
        settings.screenMode = 2 - mode;  // the palette file wins over the caller's mode
        const OpenResult r =
            OpenFileAs(doc, scr, RecogniseFile(scr), OpenOrigin::Dropped, settings);
        ASSERT_TRUE(r.opened());
        EXPECT_TRUE(asker.askedNothing());
        EXPECT_EQ(r.type, FileType::ScreenDump);
        const Slot slot = static_cast<Slot>(mode);
        const ConversionState& s = doc.state();
        EXPECT_EQ(s.sourceSlot, slot);
        EXPECT_EQ(s.currentSlot, slot);
        EXPECT_EQ(s.converted[slot], 1);
        EXPECT_EQ(s.currentFileName, scr);
        ExpectShows(s, slot, mode, pens, kFirmware);
        EXPECT_EQ(r.description, "CPC screen dump\n\r" + std::to_string(160 << mode) +
                                     "x200\n\rcolours of art" + std::to_string(mode) + ".pal");
        // The source is the picture at its pixel shape, as for Mozu's own screen files.
        EXPECT_EQ(s.source.width(), mode == 2 ? 640 : 320);
    }
}

TEST(ScreenDumpOpen, WithoutPaletteTheGivenModeAndTheFirmwareColours) {
    test::TempDir dir;
    for (int mode = 0; mode < 3; ++mode) {
        const auto pens = test::DumpPens(mode, 5u + static_cast<unsigned>(mode));
        const std::string scr = dir.write("bare.scr", test::ScreenDumpBytes(mode, pens));
        Document doc;
        OpenSettings settings;
        settings.screenMode = mode;
        const OpenResult r =
            OpenFileAs(doc, scr, FileType::ScreenDump, OpenOrigin::Chosen, settings);
        ASSERT_TRUE(r.opened());
        ExpectShows(doc.state(), static_cast<Slot>(mode), mode, pens, kFirmwareDefaultInks);
        EXPECT_EQ(r.description.substr(r.description.size() - 16), "firmware colours");
    }
}

TEST(ScreenDumpOpen, TheUserIsAskedForTheMode) {
    test::TempDir dir;
    const auto pens = test::DumpPens(0, 77);
    const std::string scr = dir.write("ask.scr", test::ScreenDumpBytes(0, pens));
    Document doc;
    test::ScriptedAsker asker;
    asker.names = {std::string("7"), std::string("0")};  // a wrong answer is asked again
    OpenSettings settings;
    settings.asker = &asker;
    const OpenResult r = OpenFileAs(doc, scr, RecogniseFile(scr), OpenOrigin::Dropped, settings);
    ASSERT_TRUE(r.opened());
    ASSERT_EQ(asker.nameRequests.size(), 2u);
    EXPECT_EQ(asker.nameRequests[0].prompt, "Screen mode of ask.scr (0, 1 or 2)");
    EXPECT_EQ(asker.nameRequests[0].maxLength, 1);
    ExpectShows(doc.state(), Slot::Mode0, 0, pens, kFirmwareDefaultInks);
}

TEST(ScreenDumpOpen, NoModeOrABrokenPaletteChangesNothing) {
    test::TempDir dir;
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker yes(test::Otherwise::kYes);
    doc.convert(Slot::Mode1, yes);
    const ConversionState before = doc.state();
    test::ChangeLog log(doc);
    const std::string scr = dir.write("n.scr", test::ScreenDumpBytes(1, test::DumpPens(1, 2)));

    // No asker and no mode: an error that says what is missing.
    try {
        OpenFile(doc, scr, OpenOrigin::Dropped);
        ADD_FAILURE() << "opened without a mode";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("screen mode"), std::string::npos) << e.what();
    }
    // The user gives no answer: cancelled.
    test::ScriptedAsker silent;
    silent.names = {std::string()};
    OpenSettings settings;
    settings.asker = &silent;
    EXPECT_EQ(OpenFileAs(doc, scr, FileType::ScreenDump, OpenOrigin::Dropped, settings).status,
              OpenResult::Status::Cancelled);
    // A palette file too short for its mode is an error naming it.
    dir.write("n.pal", {0, 0, 0, 0x54});
    settings.screenMode = 1;
    try {
        OpenFileAs(doc, scr, FileType::ScreenDump, OpenOrigin::Dropped, settings);
        ADD_FAILURE() << "opened with a broken palette file";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kInvalidData);
        EXPECT_NE(std::string(e.what()).find("n.pal"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(log.changes.empty());
    EXPECT_EQ(doc.state().source, before.source);
    EXPECT_EQ(doc.state().converted, before.converted);
    EXPECT_EQ(doc.state().saved, before.saved);
    EXPECT_EQ(doc.state().picture(Slot::Mode1), before.picture(Slot::Mode1));
    EXPECT_EQ(doc.state().palette(Slot::Mode1), before.palette(Slot::Mode1));
    EXPECT_EQ(doc.state().currentFileName, before.currentFileName);
}

TEST(ScreenDumpOpen, ConvertsToEveryFormatLikeAnyPicture) {
    test::TempDir dir;
    const std::string scr = dir.write("c.scr", test::ScreenDumpBytes(1, test::DumpPens(1, 9)));
    dir.write("c.pal", test::ArtPaletteFile(1, kHardware));
    Document doc;
    ASSERT_TRUE(OpenFile(doc, scr, OpenOrigin::Dropped).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    std::string selection(kSlotCount, 'F');
    for (Slot slot :
         {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::Overscan0, Slot::Overscan1, Slot::Overscan2,
          Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsx, Slot::SgxMsxFree}) {
        doc.convert(slot, asker);
        EXPECT_EQ(doc.state().converted[slot], 1) << SlotNumber(slot);
        selection[SlotIndex(slot)] = 'T';
    }
    doc.save(asker, dir / "out", selection);
    for (const char* f : {"out0.rim", "out1.rim", "out2.rim", "out0.sca", "out1.sca", "out2.sca",
                          "outC.sgx", "out1.sgx", "out7.sgx", "outM.sgx", "out0.lvl", "out1.lvl"})
        EXPECT_TRUE(std::filesystem::exists(dir / f)) << f;
    // The four colours of the dump survive a conversion to mode 1 exactly.
    Document back;
    ASSERT_TRUE(OpenFile(back, dir / "out1.rim", OpenOrigin::Dropped).opened());
    EXPECT_EQ(back.state().sourceColourCount, 4);
}

}  // namespace
}  // namespace mozu
