// End-to-end runs of `mozu-cli convert`: the files of every format, the exact path, the
// adjustments and the error exits.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "cli/cli_helpers.h"
#include "colour/colour_table.h"
#include "formats/cpc_file_reader.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;
namespace fs = std::filesystem;

const std::string kPhoto = MOZU_SOURCE_DIR "/samples/sample.jpg";

// A 320 x 200 picture of four CPC colours in blocks.
Picture FourColourPicture() {
    const Colour colours[] = {kDefaultColourTable[1], kDefaultColourTable[8],
                              kDefaultColourTable[15], kDefaultColourTable[7]};
    Picture p(320, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) p.setPixel(x, y, colours[(x / 40 + y / 25) % 4]);
    return p;
}

// Name to size of every file `--format all` writes for a w x h source.
std::map<std::string, std::uintmax_t> AllFormatFiles(const std::string& base, int w, int h) {
    return {{base + "0.rim", 16512},
            {base + "1.rim", 16512},
            {base + "2.rim", 16512},
            {base + "0.sca", 24834},
            {base + "1.sca", 24834},
            {base + "2.sca", 24834},
            {base + "0.lvl", 26752},
            {base + "1.lvl", 26752},
            {base + "C.sgx", test::SgxFileSize(320, 200, false)},
            {base + "1.sgx", test::SgxFileSize(w, h, false)},
            {base + "7.sgx", test::SgxFileSize(512, 212, true)},
            // Tall MSX pixels: half the rows.
            {base + "M.sgx", test::SgxFileSize(w, (h + 1) / 2, true)}};
}

void ExpectFiles(const TempDir& dir, const std::map<std::string, std::uintmax_t>& expected) {
    std::vector<std::string> names;
    for (const auto& [name, size] : expected) {
        names.push_back(name);
        ASSERT_TRUE(fs::exists(dir / name)) << name;
        EXPECT_EQ(fs::file_size(dir / name), size) << name;
    }
    EXPECT_EQ(dir.files(), names);  // nothing else, no temporary files left behind
}

TEST(CliConvert, AllFormatsOfThePhotograph) {
    TempDir dir;
    const CliRun run = RunCli({"convert", kPhoto, "-o", "sunset", "--format", "all"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    ExpectFiles(dir, AllFormatFiles("sunset", 640, 400));
    EXPECT_NE(run.out.find("sunset0.lvl"), std::string::npos);
    EXPECT_EQ(test::SgxFileSize(640, 400, false), 64019u);  // the division by hand
}

TEST(CliConvert, FourColourPictureTakesTheExactPath) {
    TempDir dir;
    const Picture four = FourColourPicture();
    test::WriteBmp24(dir / "four.bmp", four);
    // The exact-colour question is answered yes; the 2-pen formats dither.
    const CliRun run = RunCli({"convert", "four.bmp", "-o", "four", "--format", "all"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    auto expected = AllFormatFiles("four", 320, 200);
    expected["four.bmp"] = fs::file_size(dir / "four.bmp");
    ExpectFiles(dir, expected);

    // Mode 1 keeps the picture's own colours, pixel for pixel.
    ConversionState mode1;
    OpenCPCFile(mode1, dir / "four1.rim");
    EXPECT_EQ(mode1.slots[Slot::Mode1], four);
    // Every other file holds the four colours and no dithered mixture (SymbOS files read back
    // with the colour indexes as pens: the four-colour files map them to the fixed colours).
    for (const char* name : {"four0.rim", "four0.sca", "four1.sca", "four7.sgx", "fourM.sgx"}) {
        ConversionState read;
        const std::string path = dir / name;
        OpenCPCFile(read, path);
        const Slot slot = read.currentSlot;
        std::set<Colour> colours;
        const Picture& p = read.slots[slot];
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) colours.insert(p.pixel(x, y));
        EXPECT_LE(colours.size(), 5u) << name;  // four colours and a border
        colours.erase(kDefaultColourTable[1]);
        colours.erase(kDefaultColourTable[8]);
        colours.erase(kDefaultColourTable[15]);
        colours.erase(kDefaultColourTable[7]);
        EXPECT_LE(colours.size(), 1u) << name;
    }
}

TEST(CliConvert, ExactFailsOnlyWhereThePensAreTooFew) {
    TempDir dir;
    test::WriteBmp24(dir / "four.bmp", FourColourPicture());
    const CliRun ok = RunCli(
        {"convert", "four.bmp", "-o", "ok", "--format", "mode1,overscan1,sgx-cpc", "--exact"}, dir);
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_TRUE(fs::exists(dir / "ok1.lvl"));
    const CliRun tooFew =
        RunCli({"convert", "four.bmp", "-o", "no", "--format", "mode1,mode2", "--exact"}, dir);
    EXPECT_NE(tooFew.status, 0);
    EXPECT_NE(tooFew.err.find("mode2"), std::string::npos) << tooFew.err;
    EXPECT_FALSE(fs::exists(dir / "no1.rim"));
}

TEST(CliConvert, DitherAndAdjustmentsChangeTheResult) {
    TempDir dir;
    test::WriteBmp24(dir / "four.bmp", FourColourPicture());
    ASSERT_EQ(RunCli({"convert", "four.bmp", "-o", "exact", "--format", "mode1"}, dir).status, 0);
    ASSERT_EQ(RunCli({"convert", "four.bmp", "-o", "dither", "--format", "mode1", "--dither"}, dir)
                  .status,
              0);
    const CliRun adjusted = RunCli({"convert", "four.bmp", "-o", "adjust", "--format", "mode1",
                                    "--darker", "2", "--more-contrast", "1", "--exact"},
                                   dir);
    ASSERT_EQ(adjusted.status, 0) << adjusted.err;
    EXPECT_NE(test::ReadText(dir / "exact1.rim"), test::ReadText(dir / "dither1.rim"));
    EXPECT_NE(test::ReadText(dir / "exact1.rim"), test::ReadText(dir / "adjust1.rim"));
}

TEST(CliConvert, LongNamesAreCutAsTheSaveDialogCutsThem) {
    TempDir dir;
    fs::create_directories(dir / "out.d");
    const CliRun run =
        RunCli({"convert", kPhoto, "-o", "out.d/holidays.jpg", "--format", "mode2,sgx-cpc"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out.d/holiday2.rim"));
    EXPECT_TRUE(fs::exists(dir / "out.d/holidayC.sgx"));
    // The AMSDOS name in the header is the file's first 7 characters.
    EXPECT_EQ(test::ReadText(dir / "out.d/holiday2.rim").substr(1, 8), std::string("holiday\0", 8));
}

TEST(CliConvert, ExistingFilesNeedForce) {
    TempDir dir;
    std::ofstream(dir / "pic1.rim") << "old";
    const CliRun refused = RunCli({"convert", kPhoto, "-o", "pic", "--format", "mode0,mode1"}, dir);
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("pic1.rim exists"), std::string::npos) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
    EXPECT_EQ(test::ReadText(dir / "pic1.rim"), "old");
    EXPECT_FALSE(fs::exists(dir / "pic0.rim"));  // nothing written before the refusal

    const CliRun forced =
        RunCli({"convert", kPhoto, "-o", "pic", "--format", "mode0,mode1", "--force"}, dir);
    ASSERT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(fs::file_size(dir / "pic1.rim"), 16512u);
    EXPECT_EQ(fs::file_size(dir / "pic0.rim"), 16512u);
}

TEST(CliConvert, ErrorsExitWithOneLine) {
    TempDir dir;
    const std::vector<std::vector<std::string>> failing = {
        {"convert", "missing.jpg", "-o", "x"},
        {"convert", kPhoto, "-o", "x", "--exact"},
        {"convert", kPhoto, "-o", "x", "--format", "mode9"},
        {"convert", kPhoto, "-o", "x", "--dither", "--exact"},
        {"convert", kPhoto, "-o", "x", "--brighter", "lots"},
        {"convert", kPhoto},
        {"convert", kPhoto, "-o", "x", "-j", "0"},
        {"convert", kPhoto, "-o", "x", "--unknown"},
        {"frobnicate"},
    };
    for (const auto& args : failing) {
        const CliRun run = RunCli(args, dir);
        EXPECT_NE(run.status, 0) << args[1];
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("mozu-cli: ", 0), 0u) << run.err;
    }
    EXPECT_TRUE(dir.files().empty());
    EXPECT_NE(RunCli({"convert", kPhoto, "-o", "x", "--exact"}, dir).err.find("colours"),
              std::string::npos);
}

TEST(CliConvert, HelpDescribesTheOptions) {
    TempDir dir;
    const CliRun help = RunCli({"convert", "--help"}, dir);
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--format", "--dither", "--exact", "--autobalance", "--brighter",
                               "--darker", "--more-contrast", "--less-contrast", "--force"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const CliRun top = RunCli({"--help"}, dir);
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("export"), std::string::npos);
}

}  // namespace
}  // namespace mozu

namespace mozu::test {
namespace {

TEST(CliVersion, NamesTheProjectsVersionAndNothingElse) {
    TempDir dir;
    for (const char* flag : {"--version", "-V"}) {
        const CliRun run = RunCli({flag}, dir);
        EXPECT_EQ(run.status, 0) << flag;
        EXPECT_EQ(run.out, "mozu-cli " MOZU_PROJECT_VERSION "\n") << flag;
        EXPECT_EQ(run.err, "") << flag;
    }
    EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace mozu::test
