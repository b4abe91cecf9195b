// WebP and TIFF input: files written here with the formats' own libraries, read back to the
// expected pixels; the first frame of an animation and the first page of a TIFF; alpha laid over
// the background; broken files refused; pictures above the size limit refused from their
// header.

#include <gtest/gtest.h>
#include <tiffio.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstring>
#include <vector>

#include "media/image_loader.h"
#include "platform/io_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 3 x 2, RGBA: opaque red, half-transparent white, transparent blue; then opaque grey, green at
// alpha 64, black at alpha 200.
const std::uint8_t kRgba[] = {255, 0,   0,   255, 255, 255, 255, 128, 0, 0, 255, 0,
                              100, 100, 100, 255, 0,   200, 0,   64,  0, 0, 0,   200};

void ExpectRgbaPixels(const Picture& p) {
    ASSERT_EQ(p.width(), 3);
    ASSERT_EQ(p.height(), 2);
    EXPECT_EQ(p.pixel(0, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(p.pixel(1, 0), MakeColour(128, 128, 128));
    EXPECT_EQ(p.pixel(2, 0), MakeColour(0, 0, 0));
    EXPECT_EQ(p.pixel(0, 1), MakeColour(100, 100, 100));
    EXPECT_EQ(p.pixel(1, 1), MakeColour(0, 50, 0));
}

void ExpectRgbaOverBlue(const Picture& p) {
    EXPECT_EQ(p.pixel(1, 0), MakeColour(128, 128, 255));
    EXPECT_EQ(p.pixel(2, 0), MakeColour(0, 0, 255));
    EXPECT_EQ(p.pixel(2, 1), MakeColour(0, 0, 55));
}

Bytes LosslessWebp(const std::uint8_t* rgba, int width, int height) {
    std::uint8_t* out = nullptr;
    const std::size_t size = WebPEncodeLosslessRGBA(rgba, width, height, width * 4, &out);
    Bytes bytes(out, out + size);
    WebPFree(out);
    EXPECT_GT(size, 0u);
    return bytes;
}

// Two 4 x 4 frames: red, then blue.
Bytes AnimatedWebp() {
    WebPAnimEncoderOptions options;
    EXPECT_TRUE(WebPAnimEncoderOptionsInit(&options));
    WebPAnimEncoder* enc = WebPAnimEncoderNew(4, 4, &options);
    WebPConfig config;
    EXPECT_TRUE(WebPConfigInit(&config));
    config.lossless = 1;
    int timestamp = 0;
    for (const std::uint8_t* colour : {kRgba, kRgba + 8}) {  // red, then blue
        WebPPicture frame;
        EXPECT_TRUE(WebPPictureInit(&frame));
        frame.use_argb = 1;
        frame.width = 4;
        frame.height = 4;
        EXPECT_TRUE(WebPPictureAlloc(&frame));
        std::vector<std::uint8_t> rgba(4 * 4 * 4);
        for (int i = 0; i < 16; ++i) {
            std::memcpy(&rgba[static_cast<std::size_t>(i) * 4], colour, 3);
            rgba[static_cast<std::size_t>(i) * 4 + 3] = 255;
        }
        EXPECT_TRUE(WebPPictureImportRGBA(&frame, rgba.data(), 16));
        EXPECT_TRUE(WebPAnimEncoderAdd(enc, &frame, timestamp, &config));
        WebPPictureFree(&frame);
        timestamp += 100;
    }
    EXPECT_TRUE(WebPAnimEncoderAdd(enc, nullptr, timestamp, nullptr));
    WebPData data;
    WebPDataInit(&data);
    EXPECT_TRUE(WebPAnimEncoderAssemble(enc, &data));
    Bytes bytes(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    WebPAnimEncoderDelete(enc);
    return bytes;
}

int CodeOf(void (*load)(const std::string&, Picture&, Colour), const std::string& path) {
    const Picture marker(1, 1, MakeColour(1, 2, 3));
    Picture p = marker;
    try {
        load(path, p, 0);
    } catch (const IoError& e) {
        EXPECT_EQ(p, marker) << "a failed load changed the picture";
        return e.code();
    }
    return 0;
}

TEST(WebpInput, LosslessAlphaOverBlackOrAChosenBackground) {
    test::TempDir dir;
    const std::string path = dir.write("a.webp", LosslessWebp(kRgba, 3, 2));
    Picture p;
    LoadWebp(path, p);
    ExpectRgbaPixels(p);
    LoadWebp(path, p, MakeColour(0, 0, 255));
    ExpectRgbaOverBlue(p);
    Picture byName;
    LoadPicture(dir.write("b.WEBP", test::ReadBytes(path)), byName);
    LoadWebp(path, p);
    EXPECT_EQ(byName, p);
}

TEST(WebpInput, AnimationGivesItsFirstFrame) {
    test::TempDir dir;
    Picture p;
    LoadWebp(dir.write("anim.webp", AnimatedWebp()), p);
    ASSERT_EQ(p.width(), 4);
    ASSERT_EQ(p.height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(p.pixel(x, y), MakeColour(255, 0, 0));
}

TEST(WebpInput, BrokenAndHugeFilesAreRefused) {
    test::TempDir dir;
    const Bytes good = LosslessWebp(kRgba, 3, 2);
    EXPECT_EQ(CodeOf(LoadWebp, dir.write("cut.webp", Bytes(good.begin(), good.begin() + 20))),
              io::kReadPastEnd);
    EXPECT_NE(CodeOf(LoadWebp, dir.write("cut2.webp", Bytes(good.begin(), good.end() - 8))), 0);
    EXPECT_EQ(CodeOf(LoadWebp, dir.write("empty.webp", {})), io::kReadPastEnd);
    EXPECT_EQ(CodeOf(LoadWebp, dir.write("text.webp", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r',
                                                       'l', 'd', '!', '!'})),
              io::kInvalidData);
    const Bytes anim = AnimatedWebp();
    EXPECT_NE(CodeOf(LoadWebp, dir.write("cut.webp", Bytes(anim.begin(), anim.end() - 30))), 0);
    // The lossless header claims 16384 x 16384: refused before any decoding.
    Bytes huge = good;
    ASSERT_EQ(huge[20], 0x2F);  // the lossless signature after RIFF, WEBP and the chunk head
    std::uint32_t v = 0;
    std::memcpy(&v, &huge[21], 4);
    v = (v & 0xF0000000u) | 0x3FFFu | (0x3FFFu << 14);
    std::memcpy(&huge[21], &v, 4);
    const std::string path = dir.write("huge.webp", huge);
    EXPECT_EQ(CodeOf(LoadWebp, path), io::kInvalidData);
    Picture p;
    try {
        LoadWebp(path, p);
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("16384 x 16384"), std::string::npos) << e.what();
    }
}

// A TIFF written through libtiff: pages of `samples` (1 grey, 3 RGB, 4 RGBA with unassociated
// alpha) 8-bit samples, each page's pixels from `pages`.
void WriteTiff(const std::string& path, int width, int height, int samples,
               const std::vector<Bytes>& pages, int compression = COMPRESSION_NONE) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(t, nullptr);
    for (const Bytes& page : pages) {
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                     samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
        if (samples == 4) {
            const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, extra);
        }
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, height);
        for (int y = 0; y < height; ++y) {
            Bytes row(page.begin() + y * width * samples, page.begin() + (y + 1) * width * samples);
            ASSERT_EQ(TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0), 1);
        }
        ASSERT_TRUE(TIFFWriteDirectory(t));
    }
    TIFFClose(t);
}

TEST(TiffInput, RgbaGreyAndCompressedPagesFirstPageOnly) {
    test::TempDir dir;
    const std::string rgba = dir / "a.tif";
    WriteTiff(rgba, 3, 2, 4, {Bytes(kRgba, kRgba + sizeof kRgba)});
    Picture p;
    LoadTiff(rgba, p);
    ExpectRgbaPixels(p);
    LoadTiff(rgba, p, MakeColour(0, 0, 255));
    ExpectRgbaOverBlue(p);
    // Grey, two pages, compressed: the first page only.
    const std::string grey = dir / "g.tiff";
    WriteTiff(grey, 2, 2, 1, {{0, 50, 200, 255}, {9, 9, 9, 9}}, COMPRESSION_LZW);
    LoadPicture(grey, p);
    ASSERT_EQ(p.width(), 2);
    EXPECT_EQ(p.pixel(0, 0), MakeColour(0, 0, 0));
    EXPECT_EQ(p.pixel(1, 0), MakeColour(50, 50, 50));
    EXPECT_EQ(p.pixel(0, 1), MakeColour(200, 200, 200));
    EXPECT_EQ(p.pixel(1, 1), MakeColour(255, 255, 255));
    const std::string rgb = dir / "c.TIF";
    WriteTiff(rgb, 2, 1, 3, {{10, 20, 30, 40, 50, 60}}, COMPRESSION_ADOBE_DEFLATE);
    LoadPicture(rgb, p);
    EXPECT_EQ(p.pixel(0, 0), MakeColour(10, 20, 30));
    EXPECT_EQ(p.pixel(1, 0), MakeColour(40, 50, 60));
}

// The offset of the value of `tag` in the first directory of a little-endian classic TIFF.
std::size_t TagValueAt(const Bytes& tiff, std::uint16_t tag) {
    std::uint32_t ifd = 0;
    std::memcpy(&ifd, &tiff[4], 4);
    std::uint16_t count = 0;
    std::memcpy(&count, &tiff[ifd], 2);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + 12u * i;
        std::uint16_t t = 0;
        std::memcpy(&t, &tiff[entry], 2);
        if (t == tag) return entry + 8;
    }
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

TEST(TiffInput, BrokenAndHugeFilesAreRefused) {
    test::TempDir dir;
    WriteTiff(dir / "ok.tif", 8, 8, 3, {Bytes(8 * 8 * 3, 77)});
    const Bytes good = test::ReadBytes(dir / "ok.tif");
    ASSERT_EQ(good[0], 'I');  // written little-endian, as the checks below read it
    EXPECT_EQ(CodeOf(LoadTiff, dir.write("empty.tif", {})), io::kReadPastEnd);
    EXPECT_EQ(CodeOf(LoadTiff, dir.write("text.tif", {'h', 'e', 'l', 'l', 'o'})), io::kInvalidData);
    EXPECT_NE(CodeOf(LoadTiff, dir.write("cut.tif", Bytes(good.begin(), good.begin() + 40))), 0);
    // The strip's offset moved past the end of the file.
    Bytes holed = good;
    const std::uint32_t pastEnd = static_cast<std::uint32_t>(holed.size() + 1000);
    std::memcpy(&holed[TagValueAt(holed, TIFFTAG_STRIPOFFSETS)], &pastEnd, 4);
    EXPECT_NE(CodeOf(LoadTiff, dir.write("holed.tif", holed)), 0);
    // A directory that claims 30000 x 20000.
    Bytes huge = good;
    const std::uint32_t w = 30000, h = 20000;
    for (auto [tag, value] :
         {std::pair{TIFFTAG_IMAGEWIDTH, w}, std::pair{TIFFTAG_IMAGELENGTH, h}}) {
        const std::size_t at = TagValueAt(huge, static_cast<std::uint16_t>(tag));
        std::uint16_t type = 0;
        std::memcpy(&type, &huge[at - 6], 2);
        if (type == TIFF_SHORT) {
            const auto v16 = static_cast<std::uint16_t>(value);
            std::memcpy(&huge[at], &v16, 2);
        } else {
            std::memcpy(&huge[at], &value, 4);
        }
    }
    Picture p;
    try {
        LoadTiff(dir.write("huge.tif", huge), p);
        ADD_FAILURE() << "a 30000 x 20000 TIFF loaded";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kInvalidData);
        EXPECT_NE(std::string(e.what()).find("30000 x 20000"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace mozu
