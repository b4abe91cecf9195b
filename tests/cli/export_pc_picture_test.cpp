// `mozu-cli export` of a PC picture: the picture itself, at its own size. (It once exported an
// empty slot and failed with "picture too large to export".)

#include <gtest/gtest.h>

#include "cli/cli_helpers.h"

namespace mozu {
namespace {

TEST(CliExportPcPicture, WritesThePictureAtItsOwnSize) {
    test::TempDir dir;
    Picture p(37, 23, MakeColour(10, 200, 30));
    p.setPixel(0, 0, MakeColour(255, 0, 0));
    test::WriteBmp24(dir / "small.bmp", p);
    for (const char* extra : {"--raw", ""}) {
        std::vector<std::string> args = {"export", "small.bmp", "-o", "small.png"};
        if (*extra) args.push_back(extra);
        const test::CliRun run = test::RunCli(args, dir);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(test::PngSize(dir / "small.png"), std::make_pair(37, 23)) << extra;
    }
    const test::CliRun sample = test::RunCli(
        {"export", std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg", "-o", "cups.png"}, dir);
    ASSERT_EQ(sample.status, 0) << sample.err;
    EXPECT_EQ(test::PngSize(dir / "cups.png"), std::make_pair(640, 400));
}

}  // namespace
}  // namespace mozu
