// `mozu-cli video`: a marked range of a small PC video written as a SymbOS video, and the ways
// the command refuses to write.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_helpers.h"
#include "tests/support/ffmpeg_test_video.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;

void MakeClip(const TempDir& dir) {
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 20;  // 25 fps, 64 x 48
    test::WriteTestVideo(dir / "clip.avi", recipe, [](int frame, Picture& p) {
        p.fill(MakeColour(10 * frame, 128, 255 - 10 * frame));
    });
}

TEST(CliVideoCommand, WritesTheMarkedRangeAndSaysWhat) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    MakeClip(dir);
    const CliRun run =
        RunCli({"video", "clip.avi", "-o", "clip", "--start", "0", "--end", "10"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    // 25 fps takes every second frame (12 fps); 10 frames of range give 5. A 4:3 source makes
    // 192 x 144 four-colour frames: 6912 bytes of pixels in 7168-byte frames behind a 512-byte
    // header.
    const std::uintmax_t expected = 512 + 5 * 7168;
    EXPECT_EQ(std::filesystem::file_size(dir / "clip.vid"), expected);
    EXPECT_NE(run.out.find("5 frames"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("192x144"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("12 fps"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(std::to_string(expected) + " bytes"), std::string::npos) << run.out;
    // Not a terminal: no progress bar on stderr.
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
}

TEST(CliVideoCommand, KeepsAnExistingFileWithoutForce) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    MakeClip(dir);
    ASSERT_EQ(RunCli({"video", "clip.avi", "-o", "clip", "--end", "4"}, dir).status, 0);
    const std::string before = test::ReadText(dir / "clip.vid");

    const CliRun refused = RunCli({"video", "clip.avi", "-o", "clip", "--colors", "16"}, dir);
    EXPECT_NE(refused.status, 0);
    EXPECT_FALSE(refused.err.empty());
    EXPECT_EQ(test::ReadText(dir / "clip.vid"), before);

    ASSERT_EQ(RunCli({"video", "clip.avi", "-o", "clip", "--colors", "16", "--force"}, dir).status,
              0);
    EXPECT_NE(test::ReadText(dir / "clip.vid"), before);
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"clip.avi", "clip.vid"}));
}

TEST(CliVideoCommand, RefusesBadRangesAndInputsWithoutWriting) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    MakeClip(dir);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"video", "clip.avi", "-o", "out", "--start", "10", "--end", "4"},  // reversed marks
             {"video", "clip.avi", "-o", "out", "--start", "5", "--end", "6"},   // under one step
             {"video", "clip.avi", "-o", "out", "--colors", "8"},
             {"video", "missing.avi", "-o", "out"},
             {"video", "clip.avi"}}) {
        const CliRun run = RunCli(args, dir);
        EXPECT_NE(run.status, 0) << args[1] << " " << (args.size() > 4 ? args[4] : "");
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"clip.avi"}));
}

}  // namespace
}  // namespace mozu
