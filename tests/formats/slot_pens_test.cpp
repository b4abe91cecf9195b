// The pens a writer takes from a slot: the area must lie in the picture, every pixel of it must
// be a pen, and a refusal names the area's first bad pixel row by row, whatever part of the
// area was being packed when it was found.
#include "formats/slot_pens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>

#include "formats/formats_test_helpers.h"
#include "formats/sgx_files.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

using test::ScriptedAsker;
using test::TempDir;

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kInvalidData);
        return e.what();
    }
    return "";
}

bool Mentions(const std::string& message, const std::string& part) {
    return message.find(part) != std::string::npos;
}

TEST(SlotPenRows, AnAreaOutsideThePictureIsRefusedAtOnce) {
    const Picture p(10, 10);
    for (const auto& area : {std::array{0, 0, 11, 10}, std::array{0, 0, 10, 11},
                             std::array{5, 0, 6, 1}, std::array{-1, 0, 2, 2}}) {
        // Plain names, not a structured binding: clang 14 cannot capture one in a lambda.
        const int x = area[0], y = area[1], w = area[2], h = area[3];
        const std::string m =
            MessageOf([&] { SlotPenRows(p, x, y, w, h, PixelEncoding::Mode1, "test area"); });
        EXPECT_TRUE(Mentions(m, "test area")) << m;
        EXPECT_TRUE(Mentions(m, "the picture is 10x10")) << m;
    }
    // The whole picture, and an empty area, are fine.
    SlotPenRows(p, 0, 0, 10, 10, PixelEncoding::Mode1, "test area");
    SlotPenRows(p, 10, 10, 0, 0, PixelEncoding::Mode1, "test area");
}

TEST(SlotPenRows, PackedRowsAreThoseOfTheAreaInThePicture) {
    std::mt19937 rng(5);
    const Picture p = test::RandomIndexPicture(rng, 100, 20, 4);
    const SlotPenRows area(p, 12, 3, 80, 10, PixelEncoding::Mode1, "area");
    for (int row = 0; row < 10; ++row) {
        std::uint8_t out[16] = {};
        area.pack(row, 8, 16, out);  // pixels 8-71 of the row, picture columns 20-83
        std::uint8_t pens[64];
        for (int i = 0; i < 64; ++i)
            pens[i] = static_cast<std::uint8_t>(Red(p.pixel(20 + i, 3 + row)));
        std::uint8_t expected[16];
        EncodePens(PixelEncoding::Mode1, pens, 16, expected);
        EXPECT_TRUE(std::equal(out, out + 16, expected)) << row;
    }
}

TEST(SlotPenRows, TheFirstBadPixelRowByRowIsNamedWhicheverAreaFailed) {
    Picture p(64, 4);
    p.setPixel(60, 1, MakeColour(0, 1, 0));  // green: found first when the right part is packed
    p.setPixel(3, 2, MakeColour(4, 0, 0));   // a pen mode 1 has not
    const SlotPenRows area(p, 0, 0, 64, 4, PixelEncoding::Mode1, "area");
    std::uint8_t out[16];
    // Packing only the left part of row 2 fails there, but the message names (60, 1).
    const std::string m = MessageOf([&] { area.pack(2, 0, 8, out); });
    EXPECT_TRUE(Mentions(m, "area: pixel (60, 1) is no pen of the 4-pen palette")) << m;
    // Rows and columns without a bad pixel pack.
    area.pack(0, 0, 16, out);
    area.pack(1, 0, 8, out);
    area.check(1, 0, 59);
    EXPECT_TRUE(Mentions(MessageOf([&] { area.check(1, 59, 2); }), "(60, 1)"));
}

TEST(SlotPenRows, PixelsRightOfTheLastWholeByteAreCheckedThoughNotStored) {
    TempDir dir;
    ScriptedAsker asker;
    // 22 pixels in mode 1: five whole bytes, two pixels left over.
    for (const Colour bad : {MakeColour(4, 0, 0), MakeColour(0, 1, 0), MakeColour(0, 0, 1)}) {
        ConversionState s;
        s.slots[Slot::SgxCpcFree] = Picture(22, 3);
        s.slots[Slot::SgxCpcFree].setPixel(21, 2, bad);
        s.saved[Slot::SgxCpcFree] = 0;
        const std::string m = MessageOf([&] { MakeSGXCPC(s, asker, dir / "t", Slot::SgxCpcFree); });
        EXPECT_TRUE(Mentions(m, "pixel (21, 2)")) << m;
        EXPECT_TRUE(dir.files().empty());
        EXPECT_EQ(s.saved[Slot::SgxCpcFree], 0);
    }
    // The same picture with good pens there is written, the spare pixels left out.
    ConversionState s;
    s.slots[Slot::SgxCpcFree] = Picture(22, 3);
    s.slots[Slot::SgxCpcFree].setPixel(21, 2, MakeColour(3, 0, 0));
    MakeSGXCPC(s, asker, dir / "t", Slot::SgxCpcFree);
    EXPECT_EQ(test::ReadBytes(dir / "t1.sgx").size(), 8u + 5 * 3 + 3);
}

TEST(SlotPenRows, AWideGraphicNamesTheFirstBadPixelAcrossItsStrips) {
    // 600 pixels make two strips; the strips are packed one after the other, so the bad pixel
    // in the second strip's first row is met after the one in the first strip's last row.
    TempDir dir;
    ScriptedAsker asker;
    ConversionState s;
    s.slots[Slot::SgxMsxFree] = Picture(600, 5);
    s.slots[Slot::SgxMsxFree].setPixel(590, 0, MakeColour(16, 0, 0));
    s.slots[Slot::SgxMsxFree].setPixel(10, 4, MakeColour(0, 0, 9));
    const std::string m = MessageOf([&] { MakeSGXMSX(s, asker, dir / "w", Slot::SgxMsxFree); });
    EXPECT_TRUE(Mentions(m, "pixel (590, 0) is no pen of the 16-pen palette")) << m;
    EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace mozu
