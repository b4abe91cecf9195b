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
// clang-format off
#include <gif_lib.h>
#include <png.h>
#include <stb_image_write.h>
// clang-format on

#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "media/png_file.h"
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

// The picture's pixels as 8-bit red, green, blue (and alpha from `alpha` when it is set).
Bytes Rgb(const Picture& picture, bool alpha) {
    Bytes out;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint8_t* bgr = picture.row(y) + 3 * static_cast<std::size_t>(x);
            out.insert(out.end(), {bgr[2], bgr[1], bgr[0]});
            if (alpha) out.push_back(static_cast<std::uint8_t>((x * 40 + y * 16) & 255));
        }
    return out;
}

// A PNG through libpng's simplified writer in `format` (grey, alpha, 16-bit or palette).
Bytes SimplePng(const Picture& picture, png_uint_32 format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    const bool alpha = (format & PNG_FORMAT_FLAG_ALPHA) != 0;
    Bytes rgb = Rgb(picture, alpha);
    // Reduced to the format's channels in place: grey takes green.
    const int channels = PNG_IMAGE_SAMPLE_CHANNELS(format & ~PNG_FORMAT_FLAG_COLORMAP);
    std::vector<std::uint16_t> wide;
    Bytes pixels, colourMap;
    const std::size_t n = static_cast<std::size_t>(picture.width()) * picture.height();
    const std::size_t in = alpha ? 4 : 3;
    if (format & PNG_FORMAT_FLAG_COLORMAP) {
        // Eight colours of the picture's reds, each pixel an index.
        image.colormap_entries = 8;
        for (int i = 0; i < 8; ++i)
            colourMap.insert(colourMap.end(), {static_cast<std::uint8_t>(i * 36),
                                               static_cast<std::uint8_t>(255 - i * 30), 90});
        for (std::size_t i = 0; i < n; ++i) pixels.push_back(rgb[i * in] >> 5);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) {
                const bool isAlpha = alpha && c == channels - 1;
                const std::uint8_t v = channels <= 2 && !isAlpha
                                           ? rgb[i * in + 1]
                                           : rgb[i * in + (isAlpha ? in - 1 : c)];
                pixels.push_back(v);
                wide.push_back(static_cast<std::uint16_t>(v * 257));
            }
    }
    image.format = format;
    const void* buffer =
        (format & PNG_FORMAT_FLAG_LINEAR) ? static_cast<const void*>(wide.data()) : pixels.data();
    png_alloc_size_t size = 0;
    const void* map = colourMap.empty() ? nullptr : colourMap.data();
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, buffer, 0, map)) std::abort();
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, buffer, 0, map)) std::abort();
    out.resize(size);
    return out;
}

// An interlaced RGB PNG with a background chunk, through libpng's full writer.
Bytes InterlacedPng(const Picture& picture) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes out;
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_16 background{};
    background.red = background.green = background.blue = 200;
    png_set_bKGD(png, info, &background);
    png_set_gAMA(png, info, 0.45455);
    png_write_info(png, info);
    Bytes rgb = Rgb(picture, false);
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height(); ++y)
        rows.push_back(rgb.data() + 3 * static_cast<std::size_t>(picture.width()) * y);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A GIF through giflib: a 16-colour screen of `width` x `height`; each frame covers part of it
// (optionally interlaced, with a transparent colour and a colour map of its own).
struct GifFrame {
    int left, top, width, height;
    bool interlaced, localMap;
    int transparent;
};

Bytes Gif(int width, int height, const std::vector<GifFrame>& frames, std::mt19937& rng) {
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
    if (gif == nullptr) std::abort();
    GifColorType colours[16];
    for (int i = 0; i < 16; ++i)
        colours[i] = {static_cast<GifByteType>(i * 17), static_cast<GifByteType>(255 - i * 9),
                      static_cast<GifByteType>(i * 5)};
    ColorMapObject* map = GifMakeMapObject(16, colours);
    ColorMapObject* local = GifMakeMapObject(4, colours + 4);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 4, 0, map);
    for (const GifFrame& f : frames) {
        if (f.transparent >= 0) {
            GraphicsControlBlock control{};
            control.TransparentColor = f.transparent;
            control.DelayTime = 10;
            GifByteType extension[4];
            const std::size_t n = EGifGCBToExtension(&control, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), extension);
        }
        EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced,
                         f.localMap ? local : nullptr);
        const Picture pens = test::RandomIndexPicture(rng, f.width, f.height, f.localMap ? 4 : 16);
        std::vector<std::vector<GifPixelType>> rows;
        for (int y = 0; y < f.height; ++y) {
            rows.emplace_back();
            for (int x = 0; x < f.width; ++x) rows.back().push_back(pens.row(y)[3 * x]);
        }
        std::vector<int> order;
        if (f.interlaced) {
            for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < f.height; y += step) order.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y) order.push_back(y);
        }
        for (int y : order) EGifPutLine(gif, rows[static_cast<std::size_t>(y)].data(), f.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    GifFreeMapObject(local);
    return out;
}

// A TGA through stb_image_write: true colour or grey, with or without RLE.
Bytes StbTga(const Picture& picture, int components, bool rle) {
    Bytes rgba = Rgb(picture, true), pixels;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
        if (components == 1)
            pixels.push_back(rgba[i + 1]);
        else
            pixels.insert(pixels.end(), rgba.begin() + static_cast<std::ptrdiff_t>(i),
                          rgba.begin() + static_cast<std::ptrdiff_t>(i) + components);
    }
    Bytes out;
    stbi_write_tga_with_rle = rle ? 1 : 0;
    stbi_write_tga_to_func(
        [](void* context, void* data, int size) {
            auto* o = static_cast<Bytes*>(context);
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            o->insert(o->end(), bytes, bytes + size);
        },
        &out, picture.width(), picture.height(), components, pixels.data());
    return out;
}

// A palette TGA (type 1, or 9 with RLE packets), 24-bit map of four colours, top row first.
Bytes PaletteTga(bool rle) {
    Bytes b = {
        0, 1,   static_cast<std::uint8_t>(rle ? 9 : 1), 0, 0, 4, 0, 24, 0, 0, 0, 0, 4, 0, 2, 0,
        8, 0x20};
    for (int i = 0; i < 4; ++i)
        b.insert(b.end(),
                 {static_cast<std::uint8_t>(i * 60), 40, static_cast<std::uint8_t>(250 - i * 50)});
    if (rle)
        b.insert(b.end(), {0x83, 2, 0x01, 0, 3, 0x82, 1, 3});  // a run, two raw, a run
    else
        b.insert(b.end(), {0, 1, 2, 3, 3, 2, 1, 0});
    return b;
}

// A binary PNM: "P6" or "P5", a comment, 16-bit samples when `max` is above 255.
Bytes Pnm(const Picture& picture, bool colour, int max) {
    const std::string header = std::string(colour ? "P6" : "P5") + "\n# seed\n" +
                               std::to_string(picture.width()) + " " +
                               std::to_string(picture.height()) + "\n" + std::to_string(max) + "\n";
    Bytes out(header.begin(), header.end());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint8_t* bgr = picture.row(y) + 3 * static_cast<std::size_t>(x);
            for (int c : colour ? std::vector<int>{2, 1, 0} : std::vector<int>{1}) {
                if (max > 255) out.push_back(bgr[c]);
                out.push_back(bgr[c]);
            }
        }
    return out;
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

    // PNG files: Mozu's own writer (RGB), then libpng's grey, alpha, 16-bit, palette and
    // interlaced kinds.
    const Picture pngPicture = test::SmoothPicture(13, 9, 21);
    Seed("png_loader", "rgb", EncodePng(pngPicture));
    Seed("png_loader", "grey", SimplePng(pngPicture, PNG_FORMAT_GRAY));
    Seed("png_loader", "grey_alpha", SimplePng(pngPicture, PNG_FORMAT_GA));
    Seed("png_loader", "rgba", SimplePng(pngPicture, PNG_FORMAT_RGBA));
    Seed("png_loader", "rgba16", SimplePng(pngPicture, PNG_FORMAT_LINEAR_RGB_ALPHA));
    Seed("png_loader", "palette", SimplePng(pngPicture, PNG_FORMAT_RGB_COLORMAP));
    Seed("png_loader", "interlaced", InterlacedPng(pngPicture));

    // GIF files: one frame covering the screen, a smaller interlaced one with transparency,
    // one with a colour map of its own, two frames. (A frame with a colour map of its own comes
    // last: giflib's writer loses that map when a later frame has none.)
    Seed("gif_loader", "plain", Gif(12, 7, {{0, 0, 12, 7, false, false, -1}}, rng));
    Seed("gif_loader", "interlaced", Gif(15, 11, {{2, 1, 11, 10, true, false, 3}}, rng));
    Seed("gif_loader", "local_map", Gif(6, 5, {{1, 1, 5, 4, false, true, 2}}, rng));
    Seed("gif_loader", "two_frames",
         Gif(9, 9, {{1, 1, 5, 5, false, false, 2}, {0, 0, 9, 9, false, true, -1}}, rng));

    // TGA files: stb_image_write's true colour, alpha and grey, raw and RLE; palette kinds.
    for (bool rle : {false, true}) {
        const std::string suffix = rle ? "_rle" : "";
        Seed("tga_loader", "rgb" + suffix, StbTga(pngPicture, 3, rle));
        Seed("tga_loader", "rgba" + suffix, StbTga(pngPicture, 4, rle));
        Seed("tga_loader", "grey" + suffix, StbTga(pngPicture, 1, rle));
        Seed("tga_loader", "palette" + suffix, PaletteTga(rle));
    }

    // PNM files: colour and grey, 8 and 16-bit samples.
    Seed("pnm_loader", "p6", Pnm(pngPicture, true, 255));
    Seed("pnm_loader", "p5", Pnm(pngPicture, false, 255));
    Seed("pnm_loader", "p6_16", Pnm(pngPicture, true, 65535));
    Seed("pnm_loader", "p5_small", Pnm(test::RandomPicture(3, 2, 4), false, 255));

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
