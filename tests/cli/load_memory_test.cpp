// Loading a picture holds at most one full-size working copy beside the result: the peak memory
// of `mozu-cli info` on a 2048 x 2048 picture of every kind, measured as the child's maximum
// resident size, stays within 8 bytes a pixel above that of a 16 x 16 picture (the result takes
// 3, a working copy at most 4, the file's bytes as long as they are needed).
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
// libjpeg's header needs size_t and FILE declared before it.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <cstdlib>
#include <string>
#include <vector>

#include "media/png_file.h"
#include "tests/cli/cli_helpers.h"
#include "tests/support/pictures.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOZU_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MOZU_TEST_SANITIZED 1
#endif

namespace mozu {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The peak resident size of `mozu-cli info path`, in kilobytes; -1 if it failed.
long PeakKilobytes(const std::string& path) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(MOZU_CLI_PATH, "mozu-cli", "info", path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

// Blue, green, red rows of the picture as red, green, blue (or grey from green).
Bytes Samples(const Picture& p, bool grey, bool bgr) {
    Bytes out;
    out.reserve(static_cast<std::size_t>(p.width()) * p.height() * 3);
    for (int y = 0; y < p.height(); ++y) {
        const std::uint8_t* row = p.row(y);
        for (int x = 0; x < p.width(); ++x, row += 3) {
            if (grey)
                out.push_back(row[1]);
            else if (bgr)
                out.insert(out.end(), {row[0], row[1], row[2]});
            else
                out.insert(out.end(), {row[2], row[1], row[0]});
        }
    }
    return out;
}

Bytes Ppm(const Picture& p) {
    const std::string header =
        "P6\n" + std::to_string(p.width()) + " " + std::to_string(p.height()) + "\n255\n";
    Bytes out(header.begin(), header.end());
    const Bytes samples = Samples(p, false, false);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

// Uncompressed 24-bit, top row first.
Bytes Tga(const Picture& p) {
    Bytes out(18, 0);
    out[2] = 2;
    out[12] = static_cast<std::uint8_t>(p.width());
    out[13] = static_cast<std::uint8_t>(p.width() >> 8);
    out[14] = static_cast<std::uint8_t>(p.height());
    out[15] = static_cast<std::uint8_t>(p.height() >> 8);
    out[16] = 24;
    out[17] = 0x20;
    const Bytes samples = Samples(p, false, true);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

Bytes Jpeg(const Picture& p) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = static_cast<JDIMENSION>(p.width());
    c.image_height = static_cast<JDIMENSION>(p.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    Bytes samples = Samples(p, false, false);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = samples.data() + std::size_t{3} * p.width() * c.next_scanline;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&c);
    std::free(mem);
    return out;
}

// Grey levels in steps of 16 through a 16-colour map.
Bytes Gif(const Picture& p) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(
        &out,
        [](GifFileType* g, const GifByteType* data, int length) {
            auto* o = static_cast<Bytes*>(g->UserData);
            o->insert(o->end(), data, data + length);
            return length;
        },
        &error);
    GifColorType colours[16];
    for (int i = 0; i < 16; ++i) {
        const auto v = static_cast<GifByteType>(i * 17);
        colours[i] = {v, v, v};
    }
    ColorMapObject* map = GifMakeMapObject(16, colours);
    EGifPutScreenDesc(gif, p.width(), p.height(), 4, 0, map);
    EGifPutImageDesc(gif, 0, 0, p.width(), p.height(), false, nullptr);
    std::vector<GifPixelType> line(static_cast<std::size_t>(p.width()));
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x)
            line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(p.row(y)[3 * x + 1] >> 4);
        EGifPutLine(gif, line.data(), p.width());
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

// The child's peak counts what it shared with this process when it was made: every large
// buffer here is gone before a run.
TEST(LoadMemory, AtMostOneWorkingCopyBesideThePicture) {
#ifdef MOZU_TEST_SANITIZED
    GTEST_SKIP() << "the sanitizers' own memory hides the loaders'";
#endif
    test::TempDir dir;
    const long baseline =
        PeakKilobytes(dir.write("small.bmp", test::Bmp24Of(test::SmoothPicture(16, 16, 3))));
    ASSERT_GT(baseline, 0);
    constexpr int kSide = 2048;
    constexpr long kBoundKilobytes = 8L * kSide * kSide / 1024;
    const struct {
        const char* name;
        Bytes (*make)(const Picture&);
    } kinds[] = {{"big.bmp", test::Bmp24Of}, {"big.jpg", Jpeg}, {"big.png", EncodePng},
                 {"big.gif", Gif},           {"big.tga", Tga},  {"big.ppm", Ppm}};
    for (const auto& k : kinds) {
        const std::string path = dir.write(k.name, k.make(test::SmoothPicture(kSide, kSide, 3)));
        const long peak = PeakKilobytes(path);
        ASSERT_GT(peak, 0) << k.name << " did not load";
        EXPECT_LE(peak - baseline, kBoundKilobytes)
            << k.name << ": " << peak - baseline << " KB above a small picture's peak, "
            << static_cast<double>(peak - baseline) * 1024 / (double{kSide} * kSide)
            << " bytes a pixel";
        std::filesystem::remove(path);
    }
}

}  // namespace
}  // namespace mozu
