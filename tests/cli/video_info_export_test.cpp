// `mozu-cli info` and `export` on videos: a PC video made with FFmpeg's encoder and the SymbOS
// video `mozu-cli video` makes of it.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "cli/cli_helpers.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;

TEST(CliVideo, InfoAndExportOfPcAndSymbOSVideos) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 10;
    test::WriteTestVideo(dir / "clip.avi", recipe, [](int frame, Picture& p) {
        p.fill(MakeColour(20 * frame, 100, 255 - 20 * frame));
    });

    CliRun run = RunCli({"info", "clip.avi"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("clip.avi: file type 22\nVideo\n", 0), 0u) << run.out;
    run = RunCli({"export", "clip.avi", "-o", "frame.png", "--frame", "3"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::PngSize(dir / "frame.png"), std::make_pair(64, 48));
    EXPECT_NE(RunCli({"export", "clip.avi", "-o", "late.png", "--frame", "99"}, dir).status, 0);

    run = RunCli({"video", "clip.avi", "-o", "clip", "--colors", "16"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunCli({"info", "clip.vid"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("clip.vid: file type 14\nSymbOS video\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("16 colors"), std::string::npos);

    // 16-colour frames have tall pixels: shown with their lines doubled, --raw without.
    ASSERT_EQ(RunCli({"export", "clip.vid", "-o", "shown.png", "--frame", "1"}, dir).status, 0);
    ASSERT_EQ(RunCli({"export", "clip.vid", "-o", "raw.png", "--frame", "1", "--raw"}, dir).status,
              0);
    const auto shown = test::PngSize(dir / "shown.png");
    const auto raw = test::PngSize(dir / "raw.png");
    EXPECT_EQ(shown.first, 240);
    EXPECT_EQ(raw.first, 240);
    EXPECT_GT(raw.second, 0);
    EXPECT_EQ(shown.second, 2 * raw.second);
    EXPECT_NE(RunCli({"export", "clip.vid", "-o", "x.png", "--frame", "10"}, dir).status, 0);
}

// A video whose name says nothing (".bin", ".dat", no extension) is found by its contents;
// pictures and text under such names are not videos.
TEST(CliVideo, AVideoUnderAnUnknownNameIsFoundByItsContents) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 10;
    test::WriteTestVideo(dir / "clip.mp4", recipe, [](int frame, Picture& p) {
        p.fill(MakeColour(20 * frame, 100, 255 - 20 * frame));
    });
    for (const char* name : {"clip.bin", "clip.dat", "clip"}) {
        SCOPED_TRACE(name);
        std::filesystem::copy_file(dir / "clip.mp4", dir / name);
        CliRun run = RunCli({"info", name}, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.rfind(std::string(name) + ": file type 22\nVideo\n", 0), 0u) << run.out;
        run = RunCli({"export", name, "-o", "frame.png", "--frame", "2"}, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(test::PngSize(dir / "frame.png"), std::make_pair(64, 48));
        run = RunCli({"convert", name, "-o", "x"}, dir);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find("use 'mozu-cli video'"), std::string::npos) << run.err;
    }
    ASSERT_EQ(RunCli({"video", "clip.bin", "-o", "fromBin", "--colors", "4"}, dir).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "fromBin.vid"));

    test::WriteBmp24(dir / "picture.dat", test::RandomPicture(32, 24, 7));
    test::WriteBytes(dir / "notes", std::vector<std::uint8_t>(2000, 'a'));
    for (const char* name : {"picture.dat", "notes"}) {
        const CliRun run = RunCli({"info", name}, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string(name) + ": file type 255\nUndefined\n");
    }
}

// The video module is loaded for videos and for files of no known kind, never for the pictures
// and CPC files Mozu knows by name.
TEST(CliVideo, TheVideoModuleIsLoadedOnlyToLookIntoUnknownFiles) {
    TempDir dir;
    test::WriteBmp24(dir / "pic.bmp", test::RandomPicture(32, 24, 8));
    ASSERT_EQ(RunCli({"convert", "pic.bmp", "-o", "pic", "--format", "mode1"}, dir).status, 0);
    test::WriteBytes(dir / "notes.txt", std::vector<std::uint8_t>(100, 'b'));
    const auto loadsModule = [&](const std::string& file) {
        const std::string command = "cd '" + dir.path().string() + "' && LD_DEBUG=files '" +
                                    MOZU_CLI_PATH + "' info " + file + " 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[512];
        while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        if (pipe) ::pclose(pipe);
        EXPECT_NE(out.find("file type"), std::string::npos) << out;
        return out.find("mozu-cli-video.so") != std::string::npos;
    };
    EXPECT_FALSE(loadsModule("pic.bmp"));
    EXPECT_FALSE(loadsModule("pic1.rim"));
    EXPECT_TRUE(loadsModule("notes.txt"));
}

}  // namespace
}  // namespace mozu
