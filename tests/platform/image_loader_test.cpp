// Picture loading: every BMP kind written byte by byte (tests/support/bmp_file.h), JPEGs encoded
// here with libjpeg, the bundled photograph, and the ways a file can be missing, short or not a
// picture.

#include "media/image_loader.h"

#include <gtest/gtest.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/io_error.h"
#include "tests/support/bmp_file.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<std::uint8_t, 3>;
using test::BmpRecipe;
using test::MakeBmp;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

Colour C(const Rgb& c) {
    return MakeColour(c[0], c[1], c[2]);
}

// Expected pixels top-down, row by row.
void ExpectPixels(const Picture& p, int w, int h, const std::vector<Colour>& expected) {
    ASSERT_EQ(p.width(), w);
    ASSERT_EQ(p.height(), h);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(p.pixel(x, y), expected[static_cast<std::size_t>(y * w + x)])
                << "at (" << x << ", " << y << ")";
}

// A picture that a failed load must leave as it was.
Picture Marker() {
    return Picture(2, 1, MakeColour(1, 2, 3));
}

using Loader = std::function<void(const std::string&, Picture&)>;

void ExpectIoError(const Loader& load, const std::string& path, int code) {
    Picture image = Marker();
    try {
        load(path, image);
        ADD_FAILURE() << path << " loaded without an error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), code) << e.what();
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(image, Marker()) << "a failed load changed the picture";
}

class BmpTest : public ::testing::Test {
  protected:
    Picture Load(const BmpRecipe& recipe) {
        const std::string path = dir_.write("p.bmp", MakeBmp(recipe));
        Picture p;
        LoadBmp(path, p);
        return p;
    }
    test::TempDir dir_;
};

// Palette entries with distinct channels, so that a swap of red and blue shows.
const Rgb kA{11, 22, 33}, kB{44, 55, 66}, kC{177, 88, 99}, kD{211, 122, 133};

TEST_F(BmpTest, OneBitRowsCrossAByteInEitherPaletteOrder) {
    // Width 10: top row 1010011100, bottom row 0111000011, most significant bit first.
    const Bytes pixels = {0x70, 0xC0, 0, 0,   // bottom row
                          0xA7, 0x00, 0, 0};  // top row
    const std::vector<int> top = {1, 0, 1, 0, 0, 1, 1, 1, 0, 0};
    const std::vector<int> bottom = {0, 1, 1, 1, 0, 0, 0, 0, 1, 1};
    // Dark colour 0 and light colour 0 (the reader treats the two orders differently).
    for (const auto& palette : {std::vector<Rgb>{kA, kD}, std::vector<Rgb>{kD, kA}}) {
        const Picture p =
            Load({.width = 10, .height = 2, .bits = 1, .palette = palette, .pixels = pixels});
        std::vector<Colour> expected;
        for (int i : top) expected.push_back(C(palette[static_cast<std::size_t>(i)]));
        for (int i : bottom) expected.push_back(C(palette[static_cast<std::size_t>(i)]));
        ExpectPixels(p, 10, 2, expected);
    }
}

std::vector<Rgb> SixteenColours() {
    std::vector<Rgb> pal;
    for (int i = 0; i < 16; ++i)
        pal.push_back({static_cast<std::uint8_t>(i * 16 + 1),
                       static_cast<std::uint8_t>(250 - i * 9), static_cast<std::uint8_t>(i * 5)});
    return pal;
}

TEST_F(BmpTest, FourBitOddWidth) {
    const auto pal = SixteenColours();
    // Top row 1, 15, 7; bottom row 0, 8, 3; two pixels a byte, high nibble first.
    const Picture p = Load({.width = 3,
                            .height = 2,
                            .bits = 4,
                            .palette = pal,
                            .pixels = {0x08, 0x30, 0, 0, 0x1F, 0x70, 0, 0}});
    ExpectPixels(p, 3, 2, {C(pal[1]), C(pal[15]), C(pal[7]), C(pal[0]), C(pal[8]), C(pal[3])});
}

TEST_F(BmpTest, EightBitWithAShortPalette) {
    // Three colours used; rows of 5 pixels padded to 8 bytes.
    const Picture p = Load({.width = 5,
                            .height = 2,
                            .bits = 8,
                            .coloursUsed = 3,
                            .palette = {kA, kB, kC},
                            .pixels = {2, 2, 0, 0, 1, 0xEE, 0xEE, 0xEE,     // bottom
                                       0, 1, 2, 2, 1, 0xEE, 0xEE, 0xEE}});  // top
    ExpectPixels(p, 5, 2, {C(kA), C(kB), C(kC), C(kC), C(kB), C(kC), C(kC), C(kA), C(kA), C(kB)});
}

TEST_F(BmpTest, OldCoreHeaderWithThreeBytePalette) {
    const Picture p = Load({.infoSize = 12,
                            .width = 3,
                            .height = 1,
                            .bits = 1,
                            .palette = {kB, kC},
                            .pixels = {0x40, 0, 0, 0}});  // 0 1 0
    ExpectPixels(p, 3, 1, {C(kB), C(kC), C(kB)});
}

// 16-bit channels widen by shifting left, the low bits zero: 5-bit 31 is 248, 6-bit 63 is 252.
TEST_F(BmpTest, SixteenBit555) {
    auto px = [](int r, int g, int b) { return static_cast<std::uint16_t>(r << 10 | g << 5 | b); };
    const std::uint16_t v[4] = {px(0, 0, 31), px(1, 2, 3), px(31, 0, 0), px(0, 31, 0)};
    Bytes pixels = {};
    for (std::uint16_t x : v) {
        pixels.push_back(static_cast<std::uint8_t>(x));
        pixels.push_back(static_cast<std::uint8_t>(x >> 8));
    }
    const Picture p = Load({.width = 2, .height = 2, .bits = 16, .pixels = pixels});
    ExpectPixels(p, 2, 2,
                 {MakeColour(248, 0, 0), MakeColour(0, 248, 0), MakeColour(0, 0, 248),
                  MakeColour(8, 16, 24)});
}

TEST_F(BmpTest, SixteenBit565BitFields) {
    auto px = [](int r, int g, int b) { return static_cast<std::uint16_t>(r << 11 | g << 5 | b); };
    const std::uint16_t v[4] = {px(1, 1, 1), px(0, 0, 0), px(31, 63, 31), px(16, 32, 8)};
    Bytes pixels = {};
    for (std::uint16_t x : v) {
        pixels.push_back(static_cast<std::uint8_t>(x));
        pixels.push_back(static_cast<std::uint8_t>(x >> 8));
    }
    const Picture p = Load({.width = 2,
                            .height = 2,
                            .bits = 16,
                            .compression = 3,
                            .masks = {0xF800, 0x07E0, 0x001F},
                            .pixels = pixels});
    ExpectPixels(p, 2, 2,
                 {MakeColour(248, 252, 248), MakeColour(128, 128, 64), MakeColour(8, 4, 8),
                  MakeColour(0, 0, 0)});
}

TEST_F(BmpTest, TwentyFourBitWithRowPadding) {
    // Three pixels (9 bytes) a row, padded to 12 with bytes that are no pixel.
    const Picture p = Load({.width = 3,
                            .height = 2,
                            .bits = 24,
                            .pixels = {3,  2,  1,  6,  5,  4,  9,  8,  7,  0xEE, 0xEE, 0xEE,
                                       30, 20, 10, 60, 50, 40, 90, 80, 70, 0xEE, 0xEE, 0xEE}});
    ExpectPixels(p, 3, 2,
                 {MakeColour(10, 20, 30), MakeColour(40, 50, 60), MakeColour(70, 80, 90),
                  MakeColour(1, 2, 3), MakeColour(4, 5, 6), MakeColour(7, 8, 9)});
}

TEST_F(BmpTest, TopDownRowsWithNegativeHeight) {
    const Picture p = Load(
        {.width = 1, .height = -3, .bits = 24, .pixels = {3, 2, 1, 0, 6, 5, 4, 0, 9, 8, 7, 0}});
    ExpectPixels(p, 1, 3, {MakeColour(1, 2, 3), MakeColour(4, 5, 6), MakeColour(7, 8, 9)});
}

TEST_F(BmpTest, ThirtyTwoBitIgnoresTheFourthByte) {
    const Picture p =
        Load({.width = 2, .height = 1, .bits = 32, .pixels = {30, 20, 10, 0x00, 60, 50, 40, 0x7F}});
    ExpectPixels(p, 2, 1, {MakeColour(10, 20, 30), MakeColour(40, 50, 60)});
}

TEST_F(BmpTest, ThirtyTwoBitAlphaKeepsColoursOfTransparentPixels) {
    // V4 and V5 headers with an alpha mask: colours are taken as stored, never premultiplied.
    for (std::uint32_t infoSize : {108u, 124u}) {
        const Picture p = Load({.infoSize = infoSize,
                                .width = 3,
                                .height = 1,
                                .bits = 32,
                                .compression = 3,
                                .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                                .pixels = {30, 200, 10, 0x00, 200, 150, 100, 0x80, 1, 2, 3, 0xFF}});
        ExpectPixels(p, 3, 1,
                     {MakeColour(10, 200, 30), MakeColour(100, 150, 200), MakeColour(3, 2, 1)});
    }
}

// Pixels an RLE stream skips (delta moves, rows ended early) take palette colour 0.
TEST_F(BmpTest, Rle8RunsLiteralsAndDelta) {
    const Bytes stream = {4, 1, 0, 0,        // bottom row: four of 1, end of line
                          0, 3, 2, 3, 2, 0,  // literal 2 3 2, padded to a word
                          1, 1, 0, 0,        // one of 1, end of line
                          0, 2, 2, 0,        // top row: move 2 right
                          2, 3, 0, 1};       // two of 3, end of bitmap
    const std::vector<Rgb> pal = {kA, kB, kC, kD};
    const Picture p = Load({.width = 4,
                            .height = 3,
                            .bits = 8,
                            .compression = 1,
                            .coloursUsed = 4,
                            .palette = pal,
                            .pixels = stream});
    ExpectPixels(p, 4, 3,
                 {C(kA), C(kA), C(kD), C(kD),  //
                  C(kC), C(kD), C(kC), C(kB),  //
                  C(kB), C(kB), C(kB), C(kB)});
}

TEST_F(BmpTest, Rle4RunsLiteralsAndRowSkip) {
    const auto pal = SixteenColours();
    const Bytes stream = {
        5, 0x12, 0,    0,     // bottom row: 1 2 1 2 1, end of line
        0, 2,    0,    1,     // move 0 right, 1 down: the middle row is skipped
        0, 3,    0x45, 0x60,  // top row: literal 4 5 6 (two bytes, already a word)
        2, 0x77, 0,    1};    // 7 7, end of bitmap
    const Picture p = Load(
        {.width = 5, .height = 3, .bits = 4, .compression = 2, .palette = pal, .pixels = stream});
    ExpectPixels(p, 5, 3,
                 {C(pal[4]), C(pal[5]), C(pal[6]), C(pal[7]), C(pal[7]),  //
                  C(pal[0]), C(pal[0]), C(pal[0]), C(pal[0]), C(pal[0]),  //
                  C(pal[1]), C(pal[2]), C(pal[1]), C(pal[2]), C(pal[1])});
}

TEST_F(BmpTest, RleWithoutEndCodeIsAcceptedWhenEveryRowIsClosed) {
    const Picture p = Load({.width = 2,
                            .height = 2,
                            .bits = 8,
                            .compression = 1,
                            .coloursUsed = 2,
                            .palette = {kA, kB},
                            .pixels = {2, 1, 0, 0, 2, 0, 0, 0}});
    ExpectPixels(p, 2, 2, {C(kA), C(kA), C(kB), C(kB)});
}

// ---- BMP files that must be refused

class BmpFailureTest : public BmpTest {
  protected:
    void Expect(const Bytes& bytes, int code) {
        ExpectIoError(LoadBmp, dir_.write("bad.bmp", bytes), code);
        ExpectIoError(LoadPicture, dir_.write("bad.bmp", bytes), code);
    }
    static BmpRecipe TwentyFour() {
        return {.width = 2,
                .height = 2,
                .bits = 24,
                .pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}};
    }
};

TEST_F(BmpFailureTest, ShortPixelDataEvenByOneByte) {
    Bytes file = MakeBmp(TwentyFour());
    file.pop_back();
    Expect(file, io::kReadPastEnd);
}

TEST_F(BmpFailureTest, ShortHeaders) {
    const Bytes file = MakeBmp(TwentyFour());
    for (std::size_t n : {1u, 10u, 17u, 30u, 53u})
        Expect(Bytes(file.begin(), file.begin() + static_cast<long>(n)),
               n == 1 ? io::kInvalidData : io::kReadPastEnd);
}

TEST_F(BmpFailureTest, PixelOffsetBeyondTheFile) {
    Bytes file = MakeBmp(TwentyFour());
    Put32(file, 10, 4000);
    Expect(file, io::kReadPastEnd);
}

TEST_F(BmpFailureTest, RleStreamCutShort) {
    BmpRecipe recipe{.width = 4,
                     .height = 3,
                     .bits = 8,
                     .compression = 1,
                     .coloursUsed = 2,
                     .palette = {kA, kB},
                     .pixels = {4, 1, 0, 0, 4, 0, 0, 0, 4, 1, 0, 1}};
    Bytes file = MakeBmp(recipe);
    Expect(Bytes(file.begin(), file.end() - 2), io::kReadPastEnd);  // end code lost
    Expect(Bytes(file.begin(), file.end() - 5), io::kReadPastEnd);  // inside a run
    recipe.pixels = {0, 5, 1, 1};                                   // literal of 5 cut off
    Expect(MakeBmp(recipe), io::kReadPastEnd);
}

TEST_F(BmpFailureTest, HugeOrEmptyDimensions) {
    BmpRecipe recipe = TwentyFour();
    recipe.width = 100000;
    recipe.height = 100000;
    Expect(MakeBmp(recipe), io::kInvalidData);
    recipe.width = 0;
    recipe.height = 2;
    Expect(MakeBmp(recipe), io::kInvalidData);
}

TEST_F(BmpFailureTest, NotABmp) {
    std::mt19937 random(7);
    Bytes noise(3000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    noise[0] = 0x42;  // 'B' but not "BM"
    Expect(noise, io::kInvalidData);
    // A BMP header with a kind of pixel data the reader does not know (JPEG inside, code 4).
    BmpRecipe recipe = TwentyFour();
    recipe.compression = 4;
    Expect(MakeBmp(recipe), io::kInvalidData);
    // An unknown header size.
    Bytes file = MakeBmp(TwentyFour());
    Put32(file, 14, 20);
    Expect(file, io::kInvalidData);
}

// ---- JPEG

struct JpegRecipe {
    int width = 0;
    int height = 0;
    J_COLOR_SPACE space = JCS_RGB;
    int components = 3;
    Bytes samples = {};                  // rows top-down, `components` bytes a pixel
    J_COLOR_SPACE stored = JCS_UNKNOWN;  // the file's colour space; unknown: libjpeg's choice
    bool adobeMarker = true;             // for CMYK and YCCK files
};

// Quality 100 with every component at full resolution (4:4:4).
Bytes EncodeJpeg(const JpegRecipe& s) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(s.width);
    cinfo.image_height = static_cast<JDIMENSION>(s.height);
    cinfo.input_components = s.components;
    cinfo.in_color_space = s.space;
    jpeg_set_defaults(&cinfo);  // CMYK input also gets the Adobe marker here
    if (s.stored != JCS_UNKNOWN) jpeg_set_colorspace(&cinfo, s.stored);
    if (!s.adobeMarker) cinfo.write_Adobe_marker = FALSE;
    jpeg_set_quality(&cinfo, 100, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(s.samples.data()) +
                       static_cast<std::size_t>(cinfo.next_scanline) * s.width * s.components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

// Four 8 x 8 blocks of one colour each (whole blocks survive quality 100 almost unchanged).
const std::array<Rgb, 4> kBlocks = {Rgb{250, 10, 10}, Rgb{10, 10, 250}, Rgb{20, 200, 60},
                                    Rgb{128, 128, 129}};

JpegRecipe FourBlocks() {
    JpegRecipe s{.width = 16, .height = 16};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Rgb& c = kBlocks[static_cast<std::size_t>((y / 8) * 2 + x / 8)];
            s.samples.insert(s.samples.end(), c.begin(), c.end());
        }
    return s;
}

void ExpectNear(const Picture& p, int x, int y, const Rgb& c) {
    const Colour got = p.pixel(x, y);
    EXPECT_NEAR(Red(got), c[0], 3) << "red at (" << x << ", " << y << ")";
    EXPECT_NEAR(Green(got), c[1], 3) << "green at (" << x << ", " << y << ")";
    EXPECT_NEAR(Blue(got), c[2], 3) << "blue at (" << x << ", " << y << ")";
}

class JpegTest : public ::testing::Test {
  protected:
    Picture Load(const Bytes& bytes, const std::string& name = "p.jpg") {
        Picture p;
        LoadJpeg(dir_.write(name, bytes), p);
        return p;
    }
    test::TempDir dir_;
};

TEST_F(JpegTest, ColourBlocksKeepTheirChannels) {
    const Picture p = Load(EncodeJpeg(FourBlocks()));
    ASSERT_EQ(p.width(), 16);
    ASSERT_EQ(p.height(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ExpectNear(p, x, y, kBlocks[static_cast<std::size_t>((y / 8) * 2 + x / 8)]);
}

TEST_F(JpegTest, OddSizeIsKept) {
    JpegRecipe s{.width = 13, .height = 7};
    s.samples.assign(13 * 7 * 3, 90);
    const Picture p = Load(EncodeJpeg(s));
    EXPECT_EQ(p.width(), 13);
    EXPECT_EQ(p.height(), 7);
    ExpectNear(p, 12, 6, {90, 90, 90});
}

TEST_F(JpegTest, GreyscaleBecomesGreyRgb) {
    JpegRecipe s{.width = 16, .height = 8, .space = JCS_GRAYSCALE, .components = 1};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) s.samples.push_back(x < 8 ? 40 : 220);
    const Picture p = Load(EncodeJpeg(s));
    ASSERT_EQ(p.width(), 16);
    ASSERT_EQ(p.height(), 8);
    for (int x : {0, 7, 8, 15}) {
        const Colour c = p.pixel(x, 3);
        EXPECT_EQ(Red(c), Green(c));
        EXPECT_EQ(Green(c), Blue(c));
        ExpectNear(p, x, 3, x < 8 ? Rgb{40, 40, 40} : Rgb{220, 220, 220});
    }
}

TEST_F(JpegTest, CmykAndYcckBecomeRgb) {
    // Adobe files (and every YCCK file) store the inks inverted: C, M, Y = R, G, B at full K
    // (255), and a K of 128 darkens white to 128 grey. Files without the Adobe marker store
    // plain inks: (255 - C) * (255 - K) / 255.
    struct Case {
        J_COLOR_SPACE stored;
        bool adobe;
        std::array<std::uint8_t, 4> left, right;
    };
    const Case cases[] = {{JCS_CMYK, true, {200, 100, 50, 255}, {255, 255, 255, 128}},
                          {JCS_YCCK, true, {200, 100, 50, 255}, {255, 255, 255, 128}},
                          {JCS_CMYK, false, {55, 155, 205, 0}, {0, 0, 0, 127}}};
    for (const Case& c : cases) {
        JpegRecipe s{.width = 16,
                     .height = 8,
                     .space = JCS_CMYK,
                     .components = 4,
                     .stored = c.stored,
                     .adobeMarker = c.adobe};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) {
                const auto& ink = x < 8 ? c.left : c.right;
                s.samples.insert(s.samples.end(), ink.begin(), ink.end());
            }
        const Picture p = Load(EncodeJpeg(s));
        ASSERT_EQ(p.width(), 16);
        ExpectNear(p, 2, 2, {200, 100, 50});
        ExpectNear(p, 12, 5, {128, 128, 128});
    }
}

TEST_F(JpegTest, BundledPhotograph) {
    Picture p;
    LoadJpeg(std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg", p);
    ASSERT_EQ(p.width(), 640);
    ASSERT_EQ(p.height(), 400);
    // Read independently with ImageMagick 6.9.11 (`convert sample.jpg -crop 1x1+X+Y txt:-`).
    EXPECT_EQ(p.pixel(0, 0), MakeColour(120, 181, 202));
    EXPECT_EQ(p.pixel(320, 200), MakeColour(38, 6, 45));
    EXPECT_EQ(p.pixel(639, 399), MakeColour(49, 19, 55));
}

// ---- JPEG files that must be refused

Bytes NoisyJpeg() {
    JpegRecipe s{.width = 64, .height = 64};
    std::mt19937 random(11);
    for (int i = 0; i < 64 * 64 * 3; ++i) s.samples.push_back(static_cast<std::uint8_t>(random()));
    return EncodeJpeg(s);
}

class JpegFailureTest : public JpegTest {
  protected:
    void Expect(const Bytes& bytes, int code) {
        ExpectIoError(LoadJpeg, dir_.write("bad.jpg", bytes), code);
        ExpectIoError(LoadPicture, dir_.write("bad.jpg", bytes), code);
    }
};

TEST_F(JpegFailureTest, TruncatedFiles) {
    const Bytes file = NoisyJpeg();
    ASSERT_GT(file.size(), 4000u);
    Expect(Bytes(file.begin(), file.begin() + static_cast<long>(file.size() / 2)),
           io::kReadPastEnd);                                           // inside the picture data
    Expect(Bytes(file.begin(), file.begin() + 300), io::kReadPastEnd);  // inside the tables
    Expect(Bytes(file.begin(), file.end() - 2), io::kReadPastEnd);      // only the end marker lost
}

TEST_F(JpegFailureTest, DataBrokenOffByAMarker) {
    Bytes file = NoisyJpeg();
    const std::size_t middle = file.size() / 2;
    file[middle] = 0xFF;
    file[middle + 1] = 0xD9;  // an end-of-image marker inside the picture data
    Expect(file, io::kInvalidData);
}

TEST_F(JpegFailureTest, NotAJpeg) {
    std::mt19937 random(5);
    Bytes noise(3000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    noise[0] = 0x12;
    Expect(noise, io::kInvalidData);
    Expect(MakeBmp({.width = 1, .height = 1, .bits = 24, .pixels = {1, 2, 3, 0}}),
           io::kInvalidData);
}

TEST_F(JpegFailureTest, HugeDimensionsAreRefusedBeforeDecoding) {
    Bytes file = EncodeJpeg(FourBlocks());
    std::size_t sof = 0;
    for (std::size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    ASSERT_NE(sof, 0u);
    // Marker, length, precision, then height and width big-endian.
    file[sof + 5] = file[sof + 6] = file[sof + 7] = file[sof + 8] = 0xFF;
    Expect(file, io::kInvalidData);
}

// ---- Failures common to both loaders, and the choice by extension

class LoadFailureTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
};

TEST_F(LoadFailureTest, MissingFileOrFolderHasTheFileNotFoundCode) {
    for (const char* name : {"missing.jpg", "missing.bmp", "no-folder/x.jpg"}) {
        const std::string path = dir_ / name;
        ExpectIoError(LoadJpeg, path, io::kFileNotFound);
        ExpectIoError(LoadBmp, path, io::kFileNotFound);
        ExpectIoError(LoadPicture, path, io::kFileNotFound);
    }
}

TEST_F(LoadFailureTest, FolderIsRefused) {
    const std::string path = dir_ / "folder.jpg";
    std::filesystem::create_directory(path);
    ExpectIoError(LoadJpeg, path, io::kAccessDenied);
    ExpectIoError(LoadBmp, path, io::kAccessDenied);
}

TEST_F(LoadFailureTest, EmptyFileIsAnEndOfFile) {
    for (const char* name : {"empty.jpg", "empty.bmp"}) {
        const std::string path = dir_.write(name, {});
        ExpectIoError(LoadJpeg, path, io::kReadPastEnd);
        ExpectIoError(LoadBmp, path, io::kReadPastEnd);
        ExpectIoError(LoadPicture, path, io::kReadPastEnd);
    }
}

TEST(LoadPictureTest, ChoosesTheLoaderByExtensionInAnyCase) {
    test::TempDir dir;
    const Bytes jpeg = EncodeJpeg(FourBlocks());
    const Bytes bmp = MakeBmp({.width = 1, .height = 1, .bits = 24, .pixels = {3, 2, 1, 0}});
    for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d.JpEg"}) {
        Picture p;
        LoadPicture(dir.write(name, jpeg), p);
        EXPECT_EQ(p.width(), 16) << name;
    }
    for (const char* name : {"e.bmp", "f.BMP"}) {
        Picture p;
        LoadPicture(dir.write(name, bmp), p);
        ASSERT_EQ(p.width(), 1) << name;
        EXPECT_EQ(p.pixel(0, 0), MakeColour(1, 2, 3)) << name;
    }
    // Named after another kind: refused by name, whatever the bytes.
    for (const char* name : {"g.png", "h", "i.jpg.txt", "j.bmpx"})
        ExpectIoError(LoadPicture, dir.write(name, jpeg), io::kInvalidData);
}

}  // namespace
}  // namespace mozu
