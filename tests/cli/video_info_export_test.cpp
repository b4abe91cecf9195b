// `mozu-cli info` and `export` on videos: a PC video made with FFmpeg's encoder and the SymbOS
// video `mozu-cli video` makes of it.

#include <gtest/gtest.h>

#include "cli/cli_helpers.h"
#include "tests/support/ffmpeg_test_video.h"

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

}  // namespace
}  // namespace mozu
