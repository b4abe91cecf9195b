// mozu_fuzz_seeds OUTDIR: writes the seed corpus of every fuzz target into OUTDIR/<target>/,
// made by Mozu's own writers and the tests' picture and video makers. Run at build time, so
// the corpus always matches the formats as written today and nothing large is committed.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// libjpeg's header needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "tests/support/bmp_file.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/file_bytes.h"
#include "tests/support/pictures.h"
#include "video/vid_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;
using namespace mozu;

fs::path gOut;

void Seed(const std::string& target, const std::string& name, const Bytes& bytes, int prefix = -1) {
    fs::create_directories(gOut / target);
    // Sized once and copied into (GCC 12 misreads an insert after a push_back,
    // -Wstringop-overread).
    const std::size_t skip = prefix >= 0 ? 1 : 0;
    Bytes file(bytes.size() + skip);
    if (skip) file[0] = static_cast<std::uint8_t>(prefix);
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(skip));
    test::WriteBytes((gOut / target / name).string(), file);
}

std::vector<std::uint8_t> RandomPens(std::mt19937& rng, std::size_t n, int pens) {
    std::uniform_int_distribution<int> pen(0, pens - 1);
    std::vector<std::uint8_t> out(n);
    for (auto& p : out) p = static_cast<std::uint8_t>(pen(rng));
    return out;
}

Bytes Jpeg(const Picture& picture, bool grey, bool progressive) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = static_cast<JDIMENSION>(picture.width());
    c.image_height = static_cast<JDIMENSION>(picture.height());
    c.input_components = grey ? 1 : 3;
    c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 75, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * 3);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* bgr = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            if (grey) {
                row[static_cast<std::size_t>(x)] = bgr[3 * x + 1];
            } else {
                row[3 * static_cast<std::size_t>(x)] = bgr[3 * x + 2];
                row[3 * static_cast<std::size_t>(x) + 1] = bgr[3 * x + 1];
                row[3 * static_cast<std::size_t>(x) + 2] = bgr[3 * x];
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&c);
    std::free(mem);
    return out;
}

Bytes Vid(bool sixteen, int width, int height, int frames, std::mt19937& rng) {
    const VideoRunPlan plan = PlanVideoRun(25, 0, frames, sixteen, width, height);
    const auto header = MakeVidHeader(plan, "Seed", "fuzz");
    Bytes file(header.begin(), header.end());
    for (int f = 0; f < plan.frames; ++f) {
        const Picture pens =
            test::RandomIndexPicture(rng, plan.width, plan.height, sixteen ? 16 : 4);
        Bytes frame(static_cast<std::size_t>(plan.frameSize));
        EncodeVidFrame(pens, plan, frame);
        file.insert(file.end(), frame.begin(), frame.end());
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mozu_fuzz_seeds OUTDIR\n");
        return 2;
    }
    gOut = argv[1];
    std::mt19937 rng(15);
    std::array<std::uint8_t, 16> palette{};
    for (int i = 0; i < 16; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 3);

    // Screen, overscan and level files (the open target's first byte picks the extension:
    // 0 .rim, 3 .sca, 6 .lvl, 4 .sgx, 5 .vid, 7 .bmp, 8 .jpg; fuzz_open_file.cpp).
    const int screenWidth[] = {160, 320, 640};
    for (int mode = 0; mode < 3; ++mode) {
        const auto screen =
            BuildScreenFile(mode,
                            RandomPens(rng, static_cast<std::size_t>(screenWidth[mode]) * 200,
                                       mode == 2   ? 2
                                       : mode == 1 ? 4
                                                   : 16),
                            palette, "SEED");
        Seed("cpc_reader", "screen" + std::to_string(mode), screen, mode);
        Seed("open_file", "screen" + std::to_string(mode), screen, 0);
        const int width = kOverscanLineBytes * (mode == 0 ? 2 : mode == 1 ? 4 : 8);
        const auto overscan =
            BuildOverscanFile(mode,
                              RandomPens(rng, static_cast<std::size_t>(width) * 264,
                                         mode == 2   ? 2
                                         : mode == 1 ? 4
                                                     : 16),
                              palette, "SEED");
        Seed("cpc_reader", "overscan" + std::to_string(mode), overscan, 0x80 | mode);
        Seed("open_file", "overscan" + std::to_string(mode), overscan, 3);
    }
    // Other tools' screens: a bare 16 KB dump, one behind an AMSDOS header of its own (entered
    // at &C000, not at our routine), and palette files of each mode, bare and headed.
    {
        const auto screen = BuildScreenFile(1, RandomPens(rng, 320 * 200, 4), palette, "SEED");
        const Bytes bare(screen.begin() + 128, screen.end());
        Seed("screen_dump", "bare1", bare, 1);
        Bytes headed = screen;
        headed[26] = 0x00;  // entry &C000
        headed[27] = 0xC0;
        unsigned sum = 0;
        for (int i = 0; i <= 66; ++i) sum += headed[static_cast<std::size_t>(i)];
        headed[67] = static_cast<std::uint8_t>(sum);
        headed[68] = static_cast<std::uint8_t>(sum >> 8);
        Seed("screen_dump", "headed0", headed, 0);
        for (int mode = 0; mode < 3; ++mode) {
            Bytes pal(239, 0x54);  // hardware black
            pal[0] = static_cast<std::uint8_t>(mode);
            for (int pen = 0; pen < 16; ++pen)
                pal[static_cast<std::size_t>(3 + 12 * pen)] = static_cast<std::uint8_t>(0x40 + pen);
            Seed("screen_dump", "pal" + std::to_string(mode), pal, 0x80);
        }
        Bytes headedPal(128 + 239, 0x4B);
        headedPal[0] = 0;
        std::fill(headedPal.begin(), headedPal.begin() + 128, 0);
        headedPal[18] = 2;
        headedPal[67] = 2;  // the sum of bytes 0-66
        headedPal[128] = 2;
        Seed("screen_dump", "headed_pal", headedPal, 0x80);
    }
    for (int mode = 0; mode < 2; ++mode) {
        const int ppb = mode == 0 ? 2 : 4;
        const auto level = BuildLevelFile(
            mode,
            RandomPens(rng, static_cast<std::size_t>(kOverscanLineBytes * ppb) * 264,
                       mode ? 4 : 16),
            RandomPens(rng, static_cast<std::size_t>(kLevelExtraLineBytes * ppb) * kLevelExtraLines,
                       mode ? 4 : 16),
            palette, "SEED");
        Seed("cpc_reader", "level" + std::to_string(mode), level, 0x40 | mode);
        Seed("open_file", "level" + std::to_string(mode), level, 6);
    }

    // SymbOS graphics: one strip and several (wider than 252 pixels), 4 and 16 colours.
    const struct {
        int width, height;
        bool sixteen;
    } sgx[] = {{320, 200, false}, {48, 20, false}, {512, 212, true}, {30, 9, true}, {8, 1, false}};
    for (const auto& s : sgx) {
        const auto file = BuildSgxFile(
            RandomPens(rng, static_cast<std::size_t>(s.width) * s.height, s.sixteen ? 16 : 4),
            s.width, s.height, s.sixteen);
        const std::string name = "sgx" + std::to_string(s.width) + "x" + std::to_string(s.height);
        Seed("sgx_reader", name, file, s.sixteen ? 1 : 0);
        Seed("open_file", name, file, 4);
    }

    // SymbOS videos of 4 and 16 colours.
    for (bool sixteen : {false, true}) {
        const auto file = Vid(sixteen, sixteen ? 24 : 32, 12, 3, rng);
        const std::string name = sixteen ? "vid16" : "vid4";
        Seed("vid_reader", name, file);
        Seed("open_file", name, file, 5);
    }

    // BMP files of every kind the loader reads.
    const Picture small = test::RandomPicture(7, 5, 15, 6);
    Seed("bmp_loader", "rgb24", test::Bmp24Of(small));
    Seed("open_file", "rgb24", test::Bmp24Of(small), 7);
    {
        test::BmpRecipe r;
        r.width = 4;
        r.height = -2;
        r.bits = 8;
        r.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}};
        r.pixels = {0, 1, 2, 1, 2, 1, 0, 2};
        Seed("bmp_loader", "pal8_topdown", test::MakeBmp(r));
        r.compression = 1;  // RLE8: a run, an absolute run, end of line, end of picture
        r.height = 2;
        r.pixels = {4, 1, 0, 4, 2, 1, 0, 1, 0, 0, 2, 2, 2, 0, 0, 0, 1};
        Seed("bmp_loader", "rle8", test::MakeBmp(r));
        r.bits = 4;
        r.compression = 2;  // RLE4
        r.pixels = {4, 0x12, 0, 0, 4, 0x21, 0, 1};
        Seed("bmp_loader", "rle4", test::MakeBmp(r));
        r.compression = 0;
        r.pixels = {0x12, 0x10, 0, 0, 0x21, 0x01, 0, 0};
        Seed("bmp_loader", "pal4", test::MakeBmp(r));
        r.bits = 1;
        r.palette = {{0, 0, 0}, {255, 255, 255}};
        r.pixels = {0xA0, 0, 0, 0, 0x50, 0, 0, 0};
        Seed("bmp_loader", "pal1", test::MakeBmp(r));
        r.infoSize = 12;
        Seed("bmp_loader", "core_pal1", test::MakeBmp(r));
    }
    {
        test::BmpRecipe r;
        r.width = 2;
        r.height = 2;
        r.bits = 16;
        r.compression = 3;
        r.masks = {0xF800, 0x07E0, 0x001F};
        r.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
        Seed("bmp_loader", "bitfields16", test::MakeBmp(r));
        r.bits = 32;
        r.infoSize = 124;
        r.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
        r.pixels = {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 0, 10, 11, 12, 128};
        Seed("bmp_loader", "v5_32", test::MakeBmp(r));
    }

    // JPEG files: colour, grey, progressive.
    const Picture photo = test::SmoothPicture(24, 16, 15);
    Seed("jpeg_loader", "colour", Jpeg(photo, false, false));
    Seed("jpeg_loader", "grey", Jpeg(photo, true, false));
    Seed("jpeg_loader", "progressive", Jpeg(photo, false, true));
    Seed("open_file", "colour_jpeg", Jpeg(photo, false, false), 8);

    // PC videos in a few containers (only with the encoders this FFmpeg has).
    const struct {
        const char* encoder;
        const char* name;
    } videos[] = {{"mpeg4", "v.avi"},
                  {"mjpeg", "v.mov"},
                  {"mpeg2video", "v.mpg"},
                  {"mpeg4", "v.mp4"},
                  {"mpeg1video", "v.ts"}};
    const fs::path scratch = gOut / "video-scratch";
    fs::create_directories(scratch);
    for (const auto& v : videos) {
        if (!test::HasVideoEncoder(v.encoder)) continue;
        test::TestVideoRecipe r;
        r.encoder = v.encoder;
        r.width = 32;
        r.height = 24;
        r.frames = 6;
        r.gop = 3;
        const std::string path = (scratch / v.name).string();
        test::WriteTestVideo(path, r, [](int frame, Picture& p) {
            for (int y = 0; y < p.height(); ++y)
                for (int x = 0; x < p.width(); ++x)
                    p.setPixel(x, y, MakeColour((x * 8 + frame * 20) & 255, y * 10, 90));
        });
        Seed("ffmpeg_source", std::string(v.encoder) + "_" + v.name, test::ReadBytes(path));
    }
    fs::remove_all(scratch);

    // Argument lists for mozu-cli, one argument a line.
    const char* const commandLines[] = {
        "convert\np.bmp\n-o\nout\n--format\nmode0,mode1,overscan2,sgx-msx-full\n--force",
        "convert\np.bmp\n-o\nout\n--brighter\n2\n--more-contrast\n1\n--autobalance\n--dither",
        "convert\np.bmp\n-o\nabcdefghij.k\n--exact\n--format\nsgx-cpc",
        "convert\n--help",
        "info\np.bmp\nmissing.rim",
        "export\np.bmp\n-o\nx.png\n--raw",
        "export\np.bmp\n-o\nx.png\n--frame\n3",
        "video\np.bmp\n-o\nv.vid\n--colors\n16\n--start\n1\n--end\n2\n--title\nT\n--info\nI",
        "video\n--help",
    };
    int i = 0;
    for (const char* line : commandLines) {
        const std::string text = line;
        Seed("cli_options", "args" + std::to_string(i++), Bytes(text.begin(), text.end()));
    }
    return 0;
}
