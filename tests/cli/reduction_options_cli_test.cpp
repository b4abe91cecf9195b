// mozu-cli's --method, --palette and --pens: the default writes the classic files, another
// method other files, fixed pens reach the file's palette, bad names are usage errors.

#include <gtest/gtest.h>

#include <set>

#include "cli/cli_helpers.h"
#include "colour/colour_table.h"
#include "formats/cpc_file_reader.h"
#include "tests/support/ffmpeg_test_video.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;

const std::string kPhoto = MOZU_SOURCE_DIR "/samples/sample.jpg";

TEST(CliReduction, ClassicIsTheDefaultAndOtherMethodsWriteOtherFiles) {
    TempDir dir;
    // Each run writes "pic" in a folder of its own: the AMS name in the files is the same.
    auto run = [&](const std::string& folder, std::vector<std::string> extra) {
        std::filesystem::create_directories(dir / folder);
        std::vector<std::string> args = {
            "convert", kPhoto, "--format", "mode0,mode2,sgx-cpc", "-o", folder + "/pic"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun r = RunCli(args, dir);
        EXPECT_EQ(r.status, 0) << r.err;
    };
    run("plain", {});
    run("classic", {"--method", "classic", "--palette", "popularity"});
    run("fs", {"--method", "floyd-steinberg+serpentine+rgb"});
    run("bayer", {"--method", "bayer8", "--palette", "clustering"});
    for (const char* suffix : {"/pic0.rim", "/pic2.rim", "/picC.sgx"}) {
        const std::string plain = test::ReadText(dir / ("plain" + std::string(suffix)));
        ASSERT_FALSE(plain.empty()) << suffix;
        EXPECT_TRUE(plain == test::ReadText(dir / ("classic" + std::string(suffix)))) << suffix;
        EXPECT_FALSE(plain == test::ReadText(dir / ("fs" + std::string(suffix)))) << suffix;
        EXPECT_FALSE(plain == test::ReadText(dir / ("bayer" + std::string(suffix)))) << suffix;
    }
}

TEST(CliReduction, FixedPensReachTheFile) {
    TempDir dir;
    // Firmware colours 6 (bright red), 0 (black), 26 (white), 2 (bright blue).
    const CliRun r = RunCli({"convert", kPhoto, "-o", "pens", "--format", "mode1", "--method",
                             "atkinson", "--pens", "6,0,26,2"},
                            dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ConversionState read;
    OpenCPCFile(read, dir / "pens1.rim");
    std::set<int> pens;
    for (int p = 0; p < 4; ++p)
        pens.insert(ColourToFirmware[read.palette(Slot::Mode1)[static_cast<std::size_t>(p)]]);
    EXPECT_EQ(pens, (std::set<int>{0, 2, 6, 26}));  // sorted dark to light in the file
}

TEST(CliReduction, BadNamesAreUsageErrors) {
    TempDir dir;
    for (const std::vector<std::string>& extra : {std::vector<std::string>{"--method", "floyd"},
                                                  {"--method", "bayer8+serpentine"},
                                                  {"--palette", "median-cut"},
                                                  {"--pens", "0,27"},
                                                  {"--pens", "1,1"}}) {
        std::vector<std::string> args = {"convert", kPhoto, "-o", "x"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun run = RunCli(args, dir);
        EXPECT_EQ(run.status, 2) << extra[1];
        EXPECT_EQ(run.err.rfind("mozu-cli: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_TRUE(dir.files().empty());
    const CliRun help = RunCli({"convert", "--help"}, dir);
    for (const char* option : {"--method", "--palette", "--pens", "blue-noise", "serpentine"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(CliReduction, VideoTakesTheMethodToo) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 8;
    test::WriteTestVideo(dir / "clip.avi", recipe, [](int frame, Picture& p) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y, MakeColour(4 * x + frame, 5 * y, 128));
    });
    for (const char* colours : {"4", "16"}) {
        const std::string c = colours;
        ASSERT_EQ(RunCli({"video", "clip.avi", "-o", "a" + c, "--colors", c}, dir).status, 0);
        const CliRun other = RunCli(
            {"video", "clip.avi", "-o", "b" + c, "--colors", c, "--method", "blue-noise"}, dir);
        ASSERT_EQ(other.status, 0) << other.err;
        const std::string a = test::ReadText(dir / ("a" + c + ".vid"));
        const std::string b = test::ReadText(dir / ("b" + c + ".vid"));
        EXPECT_EQ(a.size(), b.size());
        EXPECT_TRUE(a.substr(0, 512) == b.substr(0, 512)) << "the same header";
        EXPECT_FALSE(a == b) << "other frames";
    }
    EXPECT_EQ(RunCli({"video", "clip.avi", "-o", "c", "--method", "nope"}, dir).status, 2);
}

}  // namespace
}  // namespace mozu
