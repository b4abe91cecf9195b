// mozu-cli on other tools' CPC screens (with and without a palette file, --mode), on WebP and
// TIFF pictures, and the video command's output folder.

#include <gtest/gtest.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_helpers.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/pictures.h"
#include "tests/support/screen_dump_file.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;
namespace fs = std::filesystem;

constexpr std::array<std::uint8_t, 16> kHardware = {0x54, 0x4B, 0x4C, 0x52, 0x55, 0x5E, 0x56, 0x57,
                                                    0x40, 0x5C, 0x44, 0x4E, 0x47, 0x4F, 0x53, 0x5A};

void WriteDump(const TempDir& dir, const std::string& name, int mode, bool headed) {
    const auto screen = test::ScreenDumpBytes(mode, test::DumpPens(mode, 21));
    dir.write(name, headed ? test::WithAmsdosHeader(screen) : screen);
}

TEST(CliScreenDump, ConvertsWithThePaletteFileOrTheGivenMode) {
    TempDir dir;
    WriteDump(dir, "art.scr", 1, true);
    dir.write("art.pal", test::ArtPaletteFile(1, kHardware));
    const CliRun run = RunCli({"convert", "art.scr", "-o", "out/art", "--format", "all"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* f : {"art0.rim", "art1.rim", "art2.rim", "art0.sca", "art1.sca", "art2.sca",
                          "artC.sgx", "art1.sgx", "art7.sgx", "artM.sgx", "art0.lvl", "art1.lvl"})
        EXPECT_TRUE(fs::exists(dir / (std::string("out/") + f))) << f;

    // Without a palette file the mode must be given.
    WriteDump(dir, "bare.bin", 0, false);
    const CliRun refused = RunCli({"convert", "bare.bin", "-o", "bare"}, dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--mode"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(dir / "bare0.rim"));
    const CliRun bad = RunCli({"convert", "bare.bin", "-o", "bare", "--mode", "3"}, dir);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--mode"), std::string::npos) << bad.err;
    const CliRun given = RunCli({"convert", "bare.bin", "-o", "bare", "--mode", "0"}, dir);
    ASSERT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(given.out, "bare0.rim\n");
    // Few enough colours convert exactly: our mode 0 file shows what the dump shows in the
    // firmware's colours.
    ASSERT_EQ(RunCli({"export", "bare.bin", "--mode", "0", "-o", "dump.png"}, dir).status, 0);
    ASSERT_EQ(RunCli({"export", "bare0.rim", "-o", "ours.png"}, dir).status, 0);
    EXPECT_EQ(test::ReadBytes(dir / "dump.png"), test::ReadBytes(dir / "ours.png"));
}

TEST(CliScreenDump, InfoAndExport) {
    TempDir dir;
    WriteDump(dir, "m0.scr", 0, true);
    dir.write("m0.pal", test::ArtPaletteFile(0, kHardware));
    WriteDump(dir, "m2.scr", 2, false);
    const CliRun info = RunCli({"info", "m0.scr", "m2.scr", "--mode", "2"}, dir);
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out,
              "m0.scr: file type 34\nCPC screen dump\n160x200\ncolours of m0.pal\n\n"
              "m2.scr: file type 34\nCPC screen dump\n640x200\nfirmware colours\n");
    const CliRun json = RunCli({"info", "--json", "m2.scr"}, dir);
    EXPECT_EQ(json.status, 1);  // no palette file, no --mode
    EXPECT_NE(json.out.find("\"error\""), std::string::npos) << json.out;

    ASSERT_EQ(RunCli({"export", "m0.scr", "-o", "m0.png"}, dir).status, 0);
    EXPECT_EQ(test::PngSize(dir / "m0.png"), std::make_pair(320, 200));  // pixels twice as wide
    ASSERT_EQ(RunCli({"export", "m0.scr", "-o", "raw.png", "--raw"}, dir).status, 0);
    EXPECT_EQ(test::PngSize(dir / "raw.png"), std::make_pair(160, 200));
    ASSERT_EQ(RunCli({"export", "m2.scr", "--mode", "2", "-o", "m2.png"}, dir).status, 0);
    EXPECT_EQ(test::PngSize(dir / "m2.png"), std::make_pair(640, 400));  // lines twice as tall
    // The same screen exported as a Mozu screen file of that mode gives the same PNG.
    ASSERT_EQ(RunCli({"convert", "m0.scr", "-o", "again", "--format", "mode0"}, dir).status, 0);
    ASSERT_EQ(RunCli({"export", "again0.rim", "-o", "again.png"}, dir).status, 0);
    EXPECT_EQ(test::ReadBytes(dir / "again.png"), test::ReadBytes(dir / "m0.png"));
}

void WriteWebp(const std::string& path, const Picture& p) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(p.width()) * p.height() * 3);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Colour c = p.pixel(x, y);
            std::uint8_t* o = &rgb[(static_cast<std::size_t>(y) * p.width() + x) * 3];
            o[0] = static_cast<std::uint8_t>(Red(c));
            o[1] = static_cast<std::uint8_t>(Green(c));
            o[2] = static_cast<std::uint8_t>(Blue(c));
        }
    std::uint8_t* out = nullptr;
    const std::size_t size =
        WebPEncodeLosslessRGB(rgb.data(), p.width(), p.height(), p.width() * 3, &out);
    ASSERT_GT(size, 0u);
    test::WriteBytes(path, std::vector<std::uint8_t>(out, out + size));
    WebPFree(out);
}

void WriteTiff(const std::string& path, const Picture& p) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(t, nullptr);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, p.width());
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, p.height());
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(p.width()) * 3);
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const Colour c = p.pixel(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(Red(c));
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(Green(c));
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(Blue(c));
        }
        ASSERT_EQ(TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0), 1);
    }
    TIFFClose(t);
}

TEST(CliPictures, WebpAndTiffConvertLikeTheSameBmp) {
    TempDir dir;
    const Picture photo = test::SmoothPicture(200, 150, 8);
    test::WriteBmp24(dir / "p.bmp", photo);
    WriteWebp(dir / "p.webp", photo);
    WriteTiff(dir / "p.tif", photo);
    for (const char* in : {"p.bmp", "p.webp", "p.tif"}) {
        const std::string base = std::string("o") + (in + 2);  // obmp, owebp, otif
        const CliRun run = RunCli({"convert", in, "-o", base, "--format", "mode0,sgx-msx"}, dir);
        ASSERT_EQ(run.status, 0) << in << ": " << run.err;
    }
    for (const char* f : {"0.rim", "7.sgx"}) {
        const auto bmp = test::ReadBytes(dir / (std::string("obmp") + f));
        // The files carry their name in the AMSDOS header; the pictures must be the same.
        const auto webp = test::ReadBytes(dir / (std::string("owebp") + f));
        const auto tif = test::ReadBytes(dir / (std::string("otif") + f));
        const std::size_t from = std::string(f) == "0.rim" ? 128 : 0;
        EXPECT_TRUE(std::equal(bmp.begin() + static_cast<std::ptrdiff_t>(from), bmp.end(),
                               webp.begin() + static_cast<std::ptrdiff_t>(from), webp.end()))
            << f;
        EXPECT_TRUE(std::equal(bmp.begin() + static_cast<std::ptrdiff_t>(from), bmp.end(),
                               tif.begin() + static_cast<std::ptrdiff_t>(from), tif.end()))
            << f;
    }
    const CliRun info = RunCli({"info", "p.webp", "p.tif"}, dir);
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("p.webp: file type 35\nWEBP image\n200x150"), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("p.tif: file type 36\n"), std::string::npos) << info.out;
}

TEST(CliVideoCommand, MakesItsOutputFolder) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 6;
    test::WriteTestVideo(dir / "clip.avi", recipe,
                         [](int frame, Picture& p) { p.fill(MakeColour(20 * frame, 50, 90)); });
    const CliRun run = RunCli({"video", "clip.avi", "-o", "new/deeper/clip"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_regular_file(dir / "new/deeper/clip.vid"));
    EXPECT_GT(fs::file_size(dir / "new/deeper/clip.vid"), 512u);  // a header and frames
}

}  // namespace
}  // namespace mozu
