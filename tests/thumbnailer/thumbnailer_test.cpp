// mozu-thumbnailer on every file Mozu writes: the thumbnail is what `mozu-cli export` shows,
// sampled down to the size asked for; damaged and foreign files get no thumbnail at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

#include "colour/colour_table.h"
#include "tests/support/bmp_file.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/file_bytes.h"
#include "tests/support/pictures.h"
#include "thumbnailer/thumbnailer_helpers.h"

namespace mozu {
namespace {

using test::ProgramRun;
using test::ReadPng;
using test::RunCli;
using test::RunThumbnailer;
using test::TempDir;
namespace fs = std::filesystem;

const std::string kPhoto = MOZU_SOURCE_DIR "/samples/sample.jpg";

// Every picture file mozu-cli writes of the sample, and two SymbOS videos when FFmpeg can make
// a PC video to convert.
class Thumbnailer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        ProgramRun run = RunCli({"convert", kPhoto, "-o", "cups", "--format", "all"}, *dir_);
        ASSERT_EQ(run.status, 0) << run.err;
        if (!test::HasVideoEncoder("mpeg4")) return;
        test::TestVideoRecipe recipe;
        recipe.encoder = "mpeg4";
        recipe.width = 320;
        recipe.height = 200;
        recipe.frames = 9;
        const Picture smooth = test::SmoothPicture(320, 200, 5);
        // At 25 frames a second every second frame is taken, from frame 2 on: the SymbOS
        // video's frame 0 is smooth, its later frames are plain red.
        test::WriteTestVideo(*dir_ / "clip.avi", recipe, [&](int frame, Picture& p) {
            p = smooth;
            if (frame > 3) p.fill(MakeColour(255, 0, 0));
        });
        for (const char* colours : {"4", "16"}) {
            run = RunCli(
                {"video", "clip.avi", "-o", std::string("clip") + colours, "--colors", colours},
                *dir_);
            ASSERT_EQ(run.status, 0) << run.err;
        }
        videos_ = true;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
    static bool videos_;
};
TempDir* Thumbnailer::dir_ = nullptr;
bool Thumbnailer::videos_ = false;

std::set<Colour> CpcColours() {
    std::set<Colour> colours;
    for (const Colour c : kDefaultColourTable) colours.insert(c);
    return colours;
}

// The thumbnail of `name` at `size` against mozu-cli's export of the same file: the longer
// side is `size` (the export is larger), the proportions are kept to the pixel, and each
// thumbnail pixel is the export's pixel at the same relative place: nothing but the file's own
// colours, at its pixel shape.
void ExpectThumbnailOfExport(const TempDir& dir, const std::string& name, int size) {
    SCOPED_TRACE(name + " at " + std::to_string(size));
    ASSERT_EQ(RunCli({"export", name, "-o", "export.png"}, dir).status, 0);
    const ProgramRun run = RunThumbnailer({"-s", std::to_string(size), name, "thumb.png"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture shown = ReadPng(dir / "export.png");
    const Picture thumb = ReadPng(dir / "thumb.png");
    ASSERT_FALSE(shown.empty());
    ASSERT_FALSE(thumb.empty());
    ASSERT_GT(std::max(shown.width(), shown.height()), size);
    EXPECT_EQ(std::max(thumb.width(), thumb.height()), size);
    // w / h and W / H agree within half a pixel of the shorter side.
    const double expected = static_cast<double>(std::min(shown.width(), shown.height())) * size /
                            std::max(shown.width(), shown.height());
    EXPECT_NEAR(std::min(thumb.width(), thumb.height()), expected, 0.5);
    for (int y = 0; y < thumb.height(); ++y)
        for (int x = 0; x < thumb.width(); ++x) {
            const int sx = x * shown.width() / thumb.width();
            const int sy = y * shown.height() / thumb.height();
            ASSERT_EQ(thumb.pixel(x, y), shown.pixel(sx, sy)) << "at " << x << "," << y;
        }
    fs::remove(dir / "export.png");
    fs::remove(dir / "thumb.png");
}

TEST_F(Thumbnailer, EveryPictureFileShowsWhatExportShows) {
    for (const char* name :
         {"cups0.rim", "cups1.rim", "cups2.rim", "cups0.sca", "cups1.sca", "cups2.sca", "cups0.lvl",
          "cups1.lvl", "cupsC.sgx", "cups1.sgx", "cups7.sgx", "cupsM.sgx"})
        ExpectThumbnailOfExport(*dir_, name, 128);
    // The file managers' larger sizes, and a small one.
    ExpectThumbnailOfExport(*dir_, "cups2.sca", 256);
    ExpectThumbnailOfExport(*dir_, "cups7.sgx", 300);
    ExpectThumbnailOfExport(*dir_, "cups0.rim", 16);
}

TEST_F(Thumbnailer, ThumbnailsAreAtThePixelShapeInTheCpcColours) {
    // Mode 0 (wide pixels) and mode 2 (tall pixels) both show 16:10, as on the CPC's screen.
    const std::set<Colour> cpc = CpcColours();
    for (const char* name : {"cups0.rim", "cups2.rim", "cupsM.sgx"}) {
        ASSERT_EQ(RunThumbnailer({"-s", "128", name, "t.png"}, *dir_).status, 0);
        const Picture thumb = ReadPng(*dir_ / "t.png");
        EXPECT_EQ(thumb.width(), 128) << name;
        EXPECT_EQ(thumb.height(), 80) << name;
        for (int y = 0; y < thumb.height(); ++y)
            for (int x = 0; x < thumb.width(); ++x)
                ASSERT_TRUE(cpc.count(thumb.pixel(x, y))) << name << " at " << x << "," << y;
    }
    fs::remove(*dir_ / "t.png");
}

TEST_F(Thumbnailer, SymbosVideosShowTheirFirstFrame) {
    if (!videos_) GTEST_SKIP() << "no mpeg4 encoder to make a PC video with";
    auto colourCount = [](const Picture& p) {
        std::set<Colour> colours;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) colours.insert(p.pixel(x, y));
        return colours.size();
    };
    for (const char* name : {"clip4.vid", "clip16.vid"}) {
        ExpectThumbnailOfExport(*dir_, name, 128);
        // The first frame's smooth picture, dithered, not the plain frame that follows it.
        ASSERT_EQ(RunThumbnailer({"-s", "64", name, "t.png"}, *dir_).status, 0);
        EXPECT_GT(colourCount(ReadPng(*dir_ / "t.png")), 2u) << name;
        ASSERT_EQ(RunCli({"export", name, "--frame", "1", "-o", "f1.png"}, *dir_).status, 0);
        EXPECT_LE(colourCount(ReadPng(*dir_ / "f1.png")), 2u) << name;
    }
    fs::remove(*dir_ / "t.png");
    fs::remove(*dir_ / "f1.png");
}

TEST_F(Thumbnailer, APictureSmallerThanTheSizeIsNotEnlarged) {
    TempDir dir;
    test::WriteBmp24(dir / "small.bmp", test::RandomPicture(40, 30, 3, 4));
    ASSERT_EQ(
        RunCli({"convert", "small.bmp", "-o", "small", "--format", "sgx-cpc-full"}, dir).status, 0);
    ASSERT_EQ(RunThumbnailer({"-s", "128", "small1.sgx", "t.png"}, dir).status, 0);
    const Picture thumb = ReadPng(dir / "t.png");
    EXPECT_EQ(thumb.width(), 40);
    EXPECT_EQ(thumb.height(), 30);
}

// A failed thumbnail leaves nothing: no new file, an old one as it was, no temporary file.
void ExpectRefused(const TempDir& dir, const std::string& name, const std::string& why) {
    SCOPED_TRACE(name + ": " + why);
    fs::remove(dir / "new.png");
    const ProgramRun fresh = RunThumbnailer({"-s", "128", name, "new.png"}, dir);
    EXPECT_EQ(fresh.status, 1);
    EXPECT_FALSE(fs::exists(dir / "new.png"));
    EXPECT_NE(fresh.err.find(name), std::string::npos) << fresh.err;
    test::WriteBytes(dir / "old.png", {1, 2, 3});
    EXPECT_EQ(RunThumbnailer({name, "old.png"}, dir).status, 1);
    EXPECT_EQ(test::ReadBytes(dir / "old.png"), (std::vector<std::uint8_t>{1, 2, 3}));
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".mozu-"), std::string::npos)
            << entry.path();
}

TEST_F(Thumbnailer, TruncatedFilesAreRefused) {
    TempDir dir;
    std::vector<std::string> names = {"cups0.rim", "cups2.rim", "cups1.sca",
                                      "cups1.lvl", "cupsC.sgx", "cupsM.sgx"};
    if (videos_) names.insert(names.end(), {"clip4.vid", "clip16.vid"});
    for (const std::string& name : names) {
        const std::vector<std::uint8_t> whole = test::ReadBytes(*dir_ / name);
        for (const std::size_t keep : {whole.size() * 2 / 3, std::size_t{300}, std::size_t{0}}) {
            const std::string cut = "cut" + std::to_string(keep) + "_" + name;
            test::WriteBytes(dir / cut,
                             std::vector<std::uint8_t>(whole.begin(), whole.begin() + keep));
            ExpectRefused(dir, cut, "kept " + std::to_string(keep) + " bytes");
        }
    }
}

TEST_F(Thumbnailer, RandomFilesAreRefused) {
    TempDir dir;
    std::mt19937 rng(2024);
    for (const char* ext : {".rim", ".scr", ".bin", ".sca", ".lvl", ".sgx", ".vid"}) {
        std::vector<std::uint8_t> bytes(30000);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        // The bytes these files are recognised by must not match by chance.
        ASSERT_FALSE(bytes[0] == 0x40 || bytes[0] * 4 == bytes[1]);
        ASSERT_GT(bytes[128], 2);
        const std::string name = std::string("random") + ext;
        test::WriteBytes(dir / name, bytes);
        ExpectRefused(dir, name, "random bytes");
    }
}

TEST_F(Thumbnailer, FilesMozuDoesNotShowAreRefused) {
    // PC pictures are the file manager's own business.
    TempDir dir;
    fs::copy_file(kPhoto, dir / "photo.jpg");
    ExpectRefused(dir, "photo.jpg", "a JPEG picture");
    ExpectRefused(dir, "missing.rim", "no such file");
}

TEST_F(Thumbnailer, UsageErrorsExitWithTwo) {
    TempDir dir;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"only.rim"},
                                               {"-s", "0", "a.rim", "a.png"},
                                               {"-s", "big", "a.rim", "a.png"},
                                               {"-s", "4097", "a.rim", "a.png"},
                                               {"-s"},
                                               {"--what", "a.rim", "a.png"},
                                               {"a.rim", "a.png", "extra"}})
        EXPECT_EQ(RunThumbnailer(args, dir).status, 2) << ::testing::PrintToString(args);
    EXPECT_TRUE(dir.files().empty());
    EXPECT_EQ(RunThumbnailer({"--help"}, dir).status, 0);
}

}  // namespace
}  // namespace mozu
