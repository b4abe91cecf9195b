// End-to-end runs of `mozu-cli info` and `mozu-cli export` on files that convert wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_helpers.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;
namespace fs = std::filesystem;

const std::string kPhoto = MOZU_SOURCE_DIR "/samples/sample.jpg";

class CliFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        const CliRun run = RunCli({"convert", kPhoto, "-o", "cups", "--format", "all"}, *dir_);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
};
TempDir* CliFiles::dir_ = nullptr;

TEST_F(CliFiles, InfoGivesTypeAndDescription) {
    const CliRun run = RunCli({"info", "cups0.rim", "cups1.sca", "cupsM.sgx", kPhoto}, *dir_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("cups0.rim: file type 0\nCPC image\n160x200\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("cups1.sca: file type 5\nCPC image\n368x264\noverscaned mode 1\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("cupsM.sgx: file type 11\nSymbOS image\n640x200\n16 colors\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("sample.jpg: file type 21\n.JPG image\n640x400\n"), std::string::npos);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST_F(CliFiles, InfoGoesOnAfterAFileItCannotRead) {
    std::ofstream(dir_->path() / "broken.rim") << "short";
    const CliRun run = RunCli({"info", "broken.rim", "nothing.sgx", "cups2.rim"}, *dir_);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("cups2.rim: file type 2\nCPC image\n640x200\n"), std::string::npos);
    EXPECT_NE(run.err.find("nothing.sgx"), std::string::npos);
    fs::remove(dir_->path() / "broken.rim");
}

TEST_F(CliFiles, ExportAtThePixelShape) {
    const std::pair<const char*, std::pair<int, int>> shapes[] = {
        {"cups0.rim", {320, 200}}, {"cups1.rim", {320, 200}}, {"cups2.rim", {640, 400}},
        {"cups0.sca", {368, 264}}, {"cups1.sca", {368, 264}}, {"cups2.sca", {736, 528}},
        {"cupsC.sgx", {320, 200}}, {"cups1.sgx", {640, 400}}, {"cups7.sgx", {512, 424}},
        {"cupsM.sgx", {640, 400}}};
    for (const auto& [name, size] : shapes) {
        const std::string png = std::string(name) + ".png";
        const CliRun run = RunCli({"export", name, "-o", png}, *dir_);
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(test::PngSize(*dir_ / png), size) << name;
        fs::remove(*dir_ / png);
    }
    ASSERT_EQ(RunCli({"export", "cups0.rim", "-o", "raw.png", "--raw"}, *dir_).status, 0);
    EXPECT_EQ(test::PngSize(*dir_ / "raw.png"), std::make_pair(160, 200));
    fs::remove(*dir_ / "raw.png");
}

// The level files convert wrote read back: described, exported whole (background and extra
// graphics at the mode's pixel shape), and converted again from their background.
TEST_F(CliFiles, LevelFilesAreDescribedExportedAndConverted) {
    CliRun run = RunCli({"info", "cups0.lvl", "cups1.lvl"}, *dir_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "cups0.lvl: file type 40\nCPC level\n184x264 + 48x96\nmode 0\n\n"
              "cups1.lvl: file type 41\nCPC level\n368x264 + 96x96\nmode 1\n");
    for (const char* name : {"cups0.lvl", "cups1.lvl"}) {
        run = RunCli({"export", name, "-o", "level.png"}, *dir_);
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(test::PngSize(*dir_ / "level.png"), std::make_pair(464, 264)) << name;
    }
    ASSERT_EQ(RunCli({"export", "cups0.lvl", "-o", "level.png", "--raw"}, *dir_).status, 0);
    EXPECT_EQ(test::PngSize(*dir_ / "level.png"), std::make_pair(232, 264));
    fs::remove(*dir_ / "level.png");
    run = RunCli({"convert", "cups1.lvl", "-o", "again", "--format", "mode1"}, *dir_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fs::file_size(*dir_ / "again1.rim"), 16512u);
    fs::remove(*dir_ / "again1.rim");

    // A level file cut short, or altered, is refused with the reason.
    std::vector<std::uint8_t> bytes = test::ReadBytes(*dir_ / "cups0.lvl");
    bytes.resize(26000);
    test::WriteBytes(*dir_ / "cut0.lvl", bytes);
    run = RunCli({"export", "cut0.lvl", "-o", "x.png"}, *dir_);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("cut0.lvl"), std::string::npos) << run.err;
    bytes = test::ReadBytes(*dir_ / "cups0.lvl");
    bytes[150] = static_cast<std::uint8_t>((bytes[150] + 1) % 27);  // the second palette
    test::WriteBytes(*dir_ / "odd0.lvl", bytes);
    run = RunCli({"info", "odd0.lvl"}, *dir_);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("second palette differs"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(*dir_ / "x.png"));
    fs::remove(*dir_ / "cut0.lvl");
    fs::remove(*dir_ / "odd0.lvl");
}

TEST_F(CliFiles, ExportFailuresWriteNothing) {
    EXPECT_NE(RunCli({"export", "missing.rim", "-o", "x.png"}, *dir_).status, 0);
    EXPECT_NE(RunCli({"export", "cups0.rim"}, *dir_).status, 0);
    EXPECT_NE(RunCli({"export", "cups0.rim", "-o", "no/such/folder/x.png"}, *dir_).status, 0);
    EXPECT_FALSE(fs::exists(*dir_ / "x.png"));
}

}  // namespace
}  // namespace mozu
