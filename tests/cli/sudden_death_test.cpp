// mozu-cli killed with SIGKILL at random moments while it replaces existing files: every
// target is afterwards either the whole old file or the whole new one, whatever is left beside
// them is a recognisable temporary file, and the next save to the folder removes those.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "cli/cli_helpers.h"
#include "platform/binary_file.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

using Files = std::map<std::string, std::vector<std::uint8_t>>;
using Clock = std::chrono::steady_clock;

// Everything in the folder but the inputs, by name.
Files Outputs(const test::TempDir& dir) {
    Files files;
    for (const std::string& name : dir.files())
        if (name.find(".bmp") == std::string::npos && name.find(".avi") == std::string::npos &&
            !IsOutputTempName(name))
            files[name] = test::ReadBytes(dir / name);
    return files;
}

std::vector<std::string> TempFiles(const test::TempDir& dir) {
    std::vector<std::string> temps;
    for (const std::string& name : dir.files())
        if (IsOutputTempName(name)) temps.push_back(name);
    return temps;
}

// Starts mozu-cli in `dir`, output thrown away.
pid_t Start(const std::vector<std::string>& args, const test::TempDir& dir) {
    std::vector<char*> argv;
    std::string program = MOZU_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (::chdir(dir.path().c_str()) != 0) ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Runs to the end; the time it took.
Clock::duration RunWhole(const std::vector<std::string>& args, const test::TempDir& dir) {
    const auto start = Clock::now();
    int status = 0;
    ::waitpid(Start(args, dir), &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return Clock::now() - start;
}

// Kills runs of `args` at random moments over `rounds`, restoring `old` before each; checks
// every target after each kill, then saves once more without a kill.
void KillAtRandom(const std::vector<std::string>& args, const test::TempDir& dir, const Files& old,
                  const Files& made, Clock::duration whole, int rounds) {
    std::mt19937 rng(15);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(whole).count();
    std::uniform_int_distribution<long long> moment(0, micros + micros / 10);
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const auto& [name, bytes] : old) test::WriteBytes(dir / name, bytes);
        const pid_t pid = Start(args, dir);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const Files now = Outputs(dir);
        ASSERT_EQ(now.size(), old.size()) << "round " << round;
        for (const auto& [name, bytes] : now) {
            const bool isOld = bytes == old.at(name);
            const bool isNew = bytes == made.at(name);
            EXPECT_TRUE(isOld || isNew) << name << " is neither, round " << round;
            sawOld += isOld && !isNew;
            sawNew += isNew && !isOld;
        }
        // Nothing else is left but temporary files of ours.
        for (const std::string& name : dir.files())
            EXPECT_TRUE(now.count(name) || IsOutputTempName(name) ||
                        name.find(".bmp") != std::string::npos ||
                        name.find(".avi") != std::string::npos)
                << name;
    }
    testing::Test::RecordProperty("old_files_kept", sawOld);
    testing::Test::RecordProperty("new_files_made", sawNew);
    // A whole save afterwards leaves the new files and no temporary file at all.
    RunWhole(args, dir);
    EXPECT_EQ(Outputs(dir), made);
    EXPECT_TRUE(TempFiles(dir).empty());
}

TEST(SuddenDeath, PicturesBeingReplacedAreOldOrNewNeverHalf) {
    test::TempDir dir;
    test::WriteBmp24(dir / "a.bmp", test::SmoothPicture(300, 220, 1));
    test::WriteBmp24(dir / "b.bmp", test::RandomPicture(120, 90, 2, 12));
    const std::string formats = "all";
    RunWhole({"convert", "b.bmp", "-o", "out", "--format", formats, "--dither"}, dir);
    const Files old = Outputs(dir);
    ASSERT_EQ(old.size(), 12u);  // ten formats and the two level files
    const std::vector<std::string> args = {"convert",  "a.bmp", "-o",     "out",
                                           "--format", formats, "--force"};
    const auto whole = RunWhole(args, dir);
    const Files made = Outputs(dir);
    for (const auto& [name, bytes] : made) ASSERT_NE(bytes, old.at(name)) << name;
    KillAtRandom(args, dir, old, made, whole, 12);
}

TEST(SuddenDeath, AVideoBeingReplacedIsOldOrNewNeverHalf) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    test::TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 300;  // 12 s at 25 fps: 150 frames written
    recipe.gop = 25;
    test::WriteTestVideo(dir / "long.avi", recipe, [](int frame, Picture& p) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y, MakeColour((x * 4 + frame) & 255, (y * 5) & 255, frame & 255));
    });
    RunWhole({"video", "long.avi", "-o", "long", "--end", "40"}, dir);
    const Files old = Outputs(dir);
    ASSERT_EQ(old.size(), 1u);
    const std::vector<std::string> args = {"video",    "long.avi", "-o",     "long",
                                           "--colors", "16",       "--force"};
    const auto whole = RunWhole(args, dir);
    const Files made = Outputs(dir);
    ASSERT_NE(made, old);
    KillAtRandom(args, dir, old, made, whole, 8);
}

}  // namespace
}  // namespace mozu
