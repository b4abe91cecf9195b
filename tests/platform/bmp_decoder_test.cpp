// The BMP decoder against Qt's BMP reader, which Mozu used before: for every BMP kind, random
// pictures must come out pixel for pixel as Qt shows them (Qt's indexed and 16-bit results
// converted to 32 bits, skipped RLE pixels at palette entry 0 as the old loader arranged).

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <random>

#include "media/bmp_decoder.h"
#include "media/image_loader.h"
#include "platform/io_error.h"
#include "tests/support/bmp_file.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::BmpRecipe;

// What the Qt-based loader made of the file.
Picture QtPicture(const Bytes& file, int width, int rows, bool rle) {
    QByteArray data(reinterpret_cast<const char*>(file.data()),
                    static_cast<qsizetype>(file.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage decoded;
    if (rle) {
        decoded = QImage(width, rows, QImage::Format_Indexed8);
        decoded.fill(0);
    }
    EXPECT_TRUE(reader.read(&decoded)) << reader.errorString().toStdString();
    const QImage argb = decoded.convertToFormat(QImage::Format_ARGB32);
    Picture p(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            p.setPixel(x, y, MakeColour(qRed(c), qGreen(c), qBlue(c)));
        }
    return p;
}

class BmpAgainstQt : public ::testing::Test {
  protected:
    std::mt19937 random{2024};
    std::uint8_t Byte() { return static_cast<std::uint8_t>(random()); }
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

    void Compare(const BmpRecipe& recipe, const std::string& what) {
        const Bytes file = test::MakeBmp(recipe);
        const int rows = recipe.height < 0 ? -recipe.height : recipe.height;
        const bool rle = recipe.compression == 1 || recipe.compression == 2;
        const Picture ours = DecodeBmp(file, "p.bmp");
        const Picture qt = QtPicture(file, recipe.width, rows, rle);
        ASSERT_EQ(ours.width(), qt.width()) << what;
        ASSERT_EQ(ours.height(), qt.height()) << what;
        for (int y = 0; y < qt.height(); ++y)
            for (int x = 0; x < qt.width(); ++x)
                ASSERT_EQ(ours.pixel(x, y), qt.pixel(x, y)) << what << " at " << x << "," << y;
    }

    std::vector<std::array<std::uint8_t, 3>> Palette(int n) {
        std::vector<std::array<std::uint8_t, 3>> pal(static_cast<std::size_t>(n));
        for (auto& c : pal) c = {Byte(), Byte(), Byte()};
        return pal;
    }

    Bytes Plain(int width, int rows, int bits) {
        const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
        Bytes pixels(stride * static_cast<std::size_t>(rows));
        for (auto& b : pixels) b = Byte();
        return pixels;
    }

    // A well-formed RLE stream: runs, literals, moves and rows ended early.
    Bytes Rle(int width, int rows, bool rle8, int colours) {
        Bytes s;
        int y = 0;
        while (y < rows) {
            int x = 0;
            while (x < width) {
                const int left = width - x;
                const int kind = Between(0, 9);
                if (kind == 0 && y + 1 < rows) break;  // the row ends early
                if (kind == 1 && left > 1 && y + 1 < rows) {
                    const int dx = Between(0, std::min(left - 1, 5));
                    s.insert(s.end(), {0, 2, static_cast<std::uint8_t>(dx), 1});
                    ++y;
                    x += dx;
                    if (y >= rows - 1) break;
                    continue;
                }
                const int n = Between(1, std::min(left, 12));
                auto index = [&] { return static_cast<std::uint8_t>(Between(0, colours - 1)); };
                if (kind < 6 || n < 3) {
                    const std::uint8_t v =
                        rle8 ? index() : static_cast<std::uint8_t>(index() << 4 | index());
                    s.insert(s.end(), {static_cast<std::uint8_t>(n), v});
                } else {
                    s.insert(s.end(), {0, static_cast<std::uint8_t>(n)});
                    std::size_t bytes = rle8 ? n : (n + 1) / 2;
                    for (std::size_t i = 0; i < bytes; ++i)
                        s.push_back(rle8 ? index()
                                         : static_cast<std::uint8_t>(index() << 4 | index()));
                    if (bytes & 1) s.push_back(0);
                }
                x += n;
            }
            s.insert(s.end(), {0, 0});
            ++y;
        }
        s.insert(s.end(), {0, 1});
        return s;
    }
};

TEST_F(BmpAgainstQt, PaletteDepthsBothRowOrdersAndShortPalettes) {
    for (int bits : {1, 4, 8})
        for (int trial = 0; trial < 6; ++trial) {
            const int width = Between(1, 37), rows = Between(1, 9);
            const int colours = trial % 2 ? Between(1, 1 << bits) : 0;
            const bool core = trial == 4;
            BmpRecipe r{.infoSize = core ? 12u : 40u,
                        .width = width,
                        .height = trial == 3 ? -rows : rows,
                        .bits = static_cast<std::uint16_t>(bits),
                        .coloursUsed = core ? 0u : static_cast<std::uint32_t>(colours),
                        .palette = Palette(core || colours == 0 ? 1 << bits : colours),
                        .pixels = Plain(width, rows, bits)};
            Compare(r, std::to_string(bits) + " bits, trial " + std::to_string(trial));
        }
}

TEST_F(BmpAgainstQt, DirectColourAndBitFields) {
    for (int trial = 0; trial < 4; ++trial) {
        const int width = Between(1, 29), rows = Between(1, 7);
        const std::int32_t height = trial == 1 ? -rows : rows;
        Compare({.width = width, .height = height, .bits = 24, .pixels = Plain(width, rows, 24)},
                "24");
        Compare({.width = width, .height = height, .bits = 32, .pixels = Plain(width, rows, 32)},
                "32");
        Compare({.width = width, .height = height, .bits = 16, .pixels = Plain(width, rows, 16)},
                "16 plain");
        Compare({.width = width,
                 .height = height,
                 .bits = 16,
                 .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x001F},
                 .pixels = Plain(width, rows, 16)},
                "565");
        Compare({.width = width,
                 .height = height,
                 .bits = 32,
                 .compression = 3,
                 .masks = {0x0000FF00, 0x00FF0000, 0xFF000000},
                 .pixels = Plain(width, rows, 32)},
                "32 bit fields");
        Compare({.infoSize = 124,
                 .width = width,
                 .height = height,
                 .bits = 32,
                 .compression = 3,
                 .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                 .pixels = Plain(width, rows, 32)},
                "V5 alpha");
        Compare({.infoSize = 108,
                 .width = width,
                 .height = height,
                 .bits = 16,
                 .compression = 3,
                 .masks = {0x0F00, 0x00F0, 0x000F, 0xF000},
                 .pixels = Plain(width, rows, 16)},
                "V4 4444");
    }
}

TEST_F(BmpAgainstQt, RunLengthStreams) {
    for (bool rle8 : {true, false})
        for (int trial = 0; trial < 12; ++trial) {
            const int width = Between(1, 40), rows = Between(1, 8);
            const int colours = rle8 ? 256 : 16;
            Compare({.width = width,
                     .height = rows,
                     .bits = static_cast<std::uint16_t>(rle8 ? 8 : 4),
                     .compression = rle8 ? 1u : 2u,
                     .palette = Palette(colours),
                     .pixels = Rle(width, rows, rle8, colours)},
                    std::string(rle8 ? "RLE8" : "RLE4") + " trial " + std::to_string(trial));
        }
}

// Bounded loading: a header claiming a huge picture is refused before its pixels are looked
// for, with the size in the message.
TEST(BmpLimits, HugeHeightIsRefusedByName) {
    BmpRecipe r{.width = 4, .height = 30'000'000, .bits = 24, .pixels = Bytes(48)};
    try {
        DecodeBmp(test::MakeBmp(r), "tall.bmp");
        FAIL() << "a 4 x 30,000,000 BMP was accepted";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kInvalidData);
        EXPECT_NE(std::string(e.what()).find("too large (4 x 30000000"), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace mozu
