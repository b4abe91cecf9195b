// The save flow: slots to index pictures, the writers in their order for the chosen formats,
// and back to colour pictures, also when a writer fails.

#include "formats/save_flow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "colour/conversion_commands.h"
#include "formats/cpc_file_reader.h"
#include "platform/io_error.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

namespace fs = std::filesystem;

using test::Otherwise;
using test::ScriptedAsker;

// The slots a conversion fills from a PC picture, in the order of the conversion commands.
constexpr Slot kConvertedSlots[] = {
    Slot::Mode0,     Slot::Mode1,  Slot::Mode2,      Slot::Overscan0, Slot::Overscan1,
    Slot::Overscan2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsx,    Slot::SgxMsxFree};

const char* const kAllFiles[] = {"0.rim", "1.rim", "2.rim", "0.sca", "1.sca", "0.lvl",
                                 "1.lvl", "2.sca", "C.sgx", "1.sgx", "7.sgx", "M.sgx"};

class SaveFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = dir_ / "pic";

        std::mt19937 rng(42);
        Picture picture(200, 150);
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x) picture.setPixel(x, y, rng() & 0xFFFFFF);
        AdoptPcPicture(state_, std::move(picture));
        ScriptedAsker asker;
        for (Slot s : kConvertedSlots) ConvertSlotCommand(state_, asker, s, false);
    }
    // Removes every file written so far.
    void EmptyFolder() const {
        for (const std::string& name : dir_.files()) fs::remove_all(dir_ / name);
    }

    std::string File(const char* suffix) const { return base_ + suffix; }
    bool Exists(const char* suffix) const { return fs::exists(File(suffix)); }
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const char* suffix : kAllFiles)
            if (Exists(suffix)) names.push_back(suffix);
        return names;
    }

    test::TempDir dir_;
    std::string base_;
    ConversionState state_;
};

TEST_F(SaveFlowTest, WritesEverySlotThatReadsBackAndLeavesColourPictures) {
    const ConversionState before = state_;
    const std::string selection = SaveSelectionFromFlags(state_);
    EXPECT_EQ(selection, "TTTFTTTFTTTTFFFFFFFFTTF");
    ScriptedAsker asker(Otherwise::kYes);
    SaveSlots(state_, asker, base_, selection);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(Written().size(), std::size(kAllFiles));
    EXPECT_EQ(fs::file_size(File("0.rim")), 16512u);
    EXPECT_EQ(fs::file_size(File("2.sca")), 24834u);
    EXPECT_EQ(fs::file_size(File("1.lvl")), 26752u);
    EXPECT_EQ(state_.slots, before.slots);
    for (Slot s : kConvertedSlots) EXPECT_EQ(state_.saved[s], 1) << SlotNumber(s);

    // Each file reads back to the slot's picture (the SymbOS files into the free-size slots).
    const std::pair<const char*, Slot> files[] = {
        {"0.rim", Slot::Mode0},     {"1.rim", Slot::Mode1},      {"2.rim", Slot::Mode2},
        {"0.sca", Slot::Overscan0}, {"1.sca", Slot::Overscan1},  {"2.sca", Slot::Overscan2},
        {"C.sgx", Slot::SgxCpc},    {"1.sgx", Slot::SgxCpcFree}, {"7.sgx", Slot::SgxMsx},
        {"M.sgx", Slot::SgxMsxFree}};
    for (const auto& [suffix, slot] : files) {
        ConversionState read;
        OpenCPCFile(read, File(suffix));
        const Slot readSlot = slot == Slot::SgxCpc   ? Slot::SgxCpcFree
                              : slot == Slot::SgxMsx ? Slot::SgxMsxFree
                                                     : slot;
        EXPECT_EQ(read.slots[readSlot], before.slots[slot]) << suffix;
    }
}

TEST_F(SaveFlowTest, WritersRunInTheirOrder) {
    // Existing files make each writer but the level writers ask first: the questions show the
    // order.
    for (const char* suffix : kAllFiles) std::ofstream(File(suffix)) << "old";
    ScriptedAsker asker(Otherwise::kYes);
    SaveSlots(state_, asker, base_, SaveSelectionFromFlags(state_));
    std::vector<std::string> asked;
    for (const std::string& q : asker.questions) asked.push_back(q.substr(5, q.find(' ', 5) - 5));
    const std::vector<std::string> expected = {"pic0.rim", "pic1.rim", "pic2.rim", "pic0.sca",
                                               "pic1.sca", "pic2.sca", "picC.sgx", "pic1.sgx",
                                               "pic7.sgx", "picM.sgx"};
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(fs::file_size(File("0.lvl")), 26752u);

    // The level files come after overscan mode 1 and before overscan mode 2: a failing level
    // picture stops the save between them.
    EmptyFolder();
    state_.slots[Slot::Level0].setPixel(200, 10, MakeColour(1, 2, 3));
    EXPECT_THROW(SaveSlots(state_, asker, base_, SaveSelectionFromFlags(state_)), IoError);
    const std::vector<std::string> written = {"0.rim", "1.rim", "2.rim", "0.sca", "1.sca"};
    EXPECT_EQ(Written(), written);
}

TEST_F(SaveFlowTest, SelectionChoosesTheFormats) {
    ScriptedAsker asker(Otherwise::kYes);
    // The save dialog's 12-character answer with only mode 0 and mode 2 left on: the level
    // files still go with their converted level pictures.
    SaveSlots(state_, asker, base_, "TFTFFFFFFFFF");
    std::vector<std::string> expected = {"0.rim", "2.rim", "0.lvl", "1.lvl"};
    EXPECT_EQ(Written(), expected);
    EXPECT_EQ(state_.saved[Slot::Mode1], 0);

    EmptyFolder();
    state_.converted[Slot::Level0] = state_.converted[Slot::Level1] = 0;
    SaveSlots(state_, asker, base_, "FFFFFFFFTF");  // a short selection: the rest is 'F'
    expected = {"C.sgx"};
    EXPECT_EQ(Written(), expected);
}

TEST_F(SaveFlowTest, CancelWritesNothingAndKeepsTheSlots) {
    const ConversionState before = state_;
    ScriptedAsker asker(Otherwise::kYes);
    SaveSlots(state_, asker, base_, kCancelledSelection);
    EXPECT_TRUE(IsCancelledSelection("FFFFFFFFFFFFF"));
    EXPECT_FALSE(IsCancelledSelection("FFFFFFFFFFFF"));
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(state_.slots, before.slots);
}

TEST_F(SaveFlowTest, FailingWriterStopsTheSaveAndLeavesColourPictures) {
    std::ofstream(File("2.rim")) << "old";
    state_.slots[Slot::Mode2].setPixel(5, 5, MakeColour(1, 2, 3));  // no pen of mode 2's palette
    const ConversionState before = state_;
    ScriptedAsker asker(Otherwise::kYes);
    try {
        SaveSlots(state_, asker, base_, SaveSelectionFromFlags(state_));
        FAIL() << "the save went through";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kInvalidData);
    }
    const std::vector<std::string> written = {"0.rim", "1.rim", "2.rim"};
    EXPECT_EQ(Written(), written);
    std::ifstream old(File("2.rim"));
    std::string content;
    old >> content;
    EXPECT_EQ(content, "old");  // the failed write replaced nothing
    EXPECT_EQ(state_.slots, before.slots);
    EXPECT_EQ(state_.saved[Slot::Mode0], 1);
    EXPECT_EQ(state_.saved[Slot::Mode1], 1);
    EXPECT_EQ(state_.saved[Slot::Mode2], 0);

    // The slots are colour pictures again, so a save after the mend writes them as before.
    state_.slots[Slot::Mode2].setPixel(5, 5, state_.slots[Slot::Mode2].pixel(4, 5));
    SaveSlots(state_, asker, base_, SaveSelectionFromFlags(state_));
    EXPECT_EQ(Written().size(), std::size(kAllFiles));
}

}  // namespace
}  // namespace mozu
