// mozu-cli on many files at once: the batch converts every good input exactly as a call of its
// own would, reports each bad one on one line and carries on; clashing names are refused before
// anything is written; info as JSON; export into a folder; the executable starts without Qt or
// FFmpeg.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cli/cli_helpers.h"
#include "media/png_file.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;
namespace fs = std::filesystem;

const std::string kPhoto = MOZU_SOURCE_DIR "/samples/sample.jpg";

std::vector<std::string> FilesUnder(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(kPhoto, dir_ / "photo.jpg");
        test::WriteBmp24(dir_ / "blocks.bmp", test::RandomPicture(200, 120, 5, 6));
        WritePng(dir_ / "noise.png", test::RandomPicture(90, 70, 9));
        const std::vector<std::uint8_t> jpeg = test::ReadBytes(kPhoto);
        dir_.write("cut.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 4000));
        dir_.write("empty.jpg", {});
        std::ofstream(dir_ / "text.png") << "not a picture\n";
        fs::create_directory(dir_ / "folder.bmp");
    }
    TempDir dir_;
};

TEST_F(CliBatch, GoodInputsAsSingleCallsBadOnesReportedOnALineEach) {
    const CliRun batch =
        RunCli({"convert", "photo.jpg", "cut.jpg", "blocks.bmp", "empty.jpg", "folder.bmp",
                "noise.png", "text.png", "-o", "out/", "--format", "all", "-j", "2"},
               dir_);
    EXPECT_EQ(batch.status, 1);
    for (const char* bad : {"cut.jpg", "empty.jpg", "folder.bmp", "text.png"})
        EXPECT_NE(batch.err.find(std::string("mozu-cli: ") + bad + ": "), std::string::npos)
            << bad << "\n"
            << batch.err;
    EXPECT_NE(batch.err.find("converted 3 of 7 pictures, 4 failed"), std::string::npos)
        << batch.err;

    // The same three inputs one call each.
    for (const char* good : {"photo.jpg", "blocks.bmp", "noise.png"}) {
        const std::string stem = fs::path(good).stem().string();
        const CliRun single =
            RunCli({"convert", good, "-o", "one/" + stem, "--format", "all"}, dir_);
        ASSERT_EQ(single.status, 0) << single.err;
    }
    const std::vector<std::string> written = FilesUnder(dir_.path() / "out");
    EXPECT_EQ(written, FilesUnder(dir_.path() / "one"));
    EXPECT_EQ(written.size(), 3u * 12u);  // nothing else: no temporary file, no bad input's files
    for (const std::string& name : written)
        EXPECT_EQ(test::ReadBytes(dir_ / ("out/" + name)), test::ReadBytes(dir_ / ("one/" + name)))
            << name;
    // stdout names every file written, one a line.
    EXPECT_EQ(Lines(batch.out), written.size());
}

TEST_F(CliBatch, InputsThatWouldWriteTheSameFilesAreRefusedFirst) {
    fs::copy_file(kPhoto, dir_ / "holiday1.jpg");
    fs::copy_file(kPhoto, dir_ / "holiday2.jpg");  // both cut to "holiday"
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"convert", "photo.jpg", "blocks.bmp", "noise.png", "photo.jpg", "-o", "out/"},
             {"convert", "holiday1.jpg", "holiday2.jpg", "-o", "out/"}}) {
        const CliRun run = RunCli(args, dir_);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(Lines(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find("would both write"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
}

// An existing file fails its own input (without --force) and stays as it was; the others go on.
TEST_F(CliBatch, ExistingFilesAreKeptAndOnlyThatInputFails) {
    ASSERT_EQ(RunCli({"convert", "photo.jpg", "-o", "out/"}, dir_).status, 0);
    const std::vector<std::uint8_t> before = test::ReadBytes(dir_ / "out/photo0.rim");
    const CliRun run = RunCli(
        {"convert", "photo.jpg", "blocks.bmp", "-o", "out/", "--format", "mode1", "--dither"},
        dir_);
    EXPECT_EQ(run.status, 0) << run.err;  // mode 1 files are new for both
    const CliRun again =
        RunCli({"convert", "blocks.bmp", "photo.jpg", "-o", "out", "-j", "1"}, dir_);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("photo0.rim exists"), std::string::npos) << again.err;
    EXPECT_NE(again.err.find("converted 1 of 2 pictures, 1 failed"), std::string::npos)
        << again.err;
    EXPECT_TRUE(fs::exists(dir_ / "out/blocks0.rim"));
    EXPECT_EQ(test::ReadBytes(dir_ / "out/photo0.rim"), before);
}

TEST_F(CliBatch, InfoAsJsonInTheOrderGiven) {
    const CliRun run =
        RunCli({"info", "noise.png", "text.png", "photo.jpg", "--json", "-j", "2"}, dir_);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "[\n"
              "  {\"file\": \"noise.png\", \"type\": 30, \"description\": [\".PNG image\", "
              "\"90x70\", \"6297 colors\"]},\n"
              "  {\"file\": \"text.png\", \"error\": \"text.png: not a PNG file\"},\n"
              "  {\"file\": \"photo.jpg\", \"type\": 21, \"description\": [\".JPG image\", "
              "\"640x400\", \"51238 colors\"]}\n"
              "]\n");
}

TEST_F(CliBatch, ExportIntoAFolder) {
    ASSERT_EQ(
        RunCli({"convert", "blocks.bmp", "-o", "cpc", "--format", "mode0,sgx-msx"}, dir_).status,
        0);
    const CliRun run = RunCli({"export", "cpc0.rim", "cpc7.sgx", "empty.jpg", "-o", "png/"}, dir_);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(test::PngSize(dir_ / "png/cpc0.png"), std::make_pair(320, 200));
    EXPECT_EQ(test::PngSize(dir_ / "png/cpc7.png"), std::make_pair(512, 424));
    EXPECT_EQ(FilesUnder(dir_.path() / "png"), (std::vector<std::string>{"cpc0.png", "cpc7.png"}));
    EXPECT_NE(run.err.find("empty.jpg"), std::string::npos);
}

TEST(CliBatchHelp, NewOptionsAreListed) {
    TempDir dir;
    EXPECT_NE(RunCli({"convert", "--help"}, dir).out.find("--jobs"), std::string::npos);
    EXPECT_NE(RunCli({"convert", "--help"}, dir).out.find("--background"), std::string::npos);
    EXPECT_NE(RunCli({"info", "--help"}, dir).out.find("--json"), std::string::npos);
    EXPECT_NE(RunCli({"export", "--help"}, dir).out.find("--jobs"), std::string::npos);
    EXPECT_NE(RunCli({"--help"}, dir).out.find("DIR/"), std::string::npos);
}

// Pictures need neither a windowing library nor FFmpeg: the executable does not link them (the
// video module does, and is opened only for videos).
TEST(CliStart, TheExecutableNeedsNoQtNorFfmpeg) {
    std::FILE* pipe = ::popen(("readelf -d '" + std::string(MOZU_CLI_PATH) + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string dynamic;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) dynamic += buffer;
    ::pclose(pipe);
    ASSERT_NE(dynamic.find("NEEDED"), std::string::npos) << "readelf gave nothing";
    for (const char* library : {"Qt6", "libav", "libsw", "libX"})
        EXPECT_EQ(dynamic.find(library), std::string::npos) << library;
    EXPECT_TRUE(fs::exists(fs::path(MOZU_CLI_PATH).parent_path() / "mozu-cli-video.so"));
}

}  // namespace
}  // namespace mozu
