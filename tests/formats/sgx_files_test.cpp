// SymbOS graphics: strip division, byte layout, and what the reader accepts and rejects.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "formats/formats_test_helpers.h"
#include "formats/picture_decoding.h"
#include "formats/sgx_files.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

using test::ReadBytes;
using test::ScriptedAsker;
using test::TempDir;

std::vector<int> StripBytes(int width, bool sixteen) {
    std::vector<int> out;
    for (const SgxStrip& s : SgxStripDivision(width, sixteen)) out.push_back(s.bytes);
    return out;
}

TEST(SgxStrips, DivisionExamples) {
    EXPECT_EQ(StripBytes(200, false), (std::vector<int>{50}));
    EXPECT_EQ(StripBytes(320, false), (std::vector<int>{40, 40}));
    EXPECT_EQ(StripBytes(640, false), (std::vector<int>{80, 80}));
    EXPECT_EQ(StripBytes(762, false), (std::vector<int>{63, 63, 64}));
    EXPECT_EQ(StripBytes(256, true), (std::vector<int>{64, 64}));
    EXPECT_EQ(StripBytes(320, true), (std::vector<int>{80, 80}));
    // Narrower than 254: one strip; the pixels beyond the last whole byte are dropped.
    EXPECT_EQ(StripBytes(253, false), (std::vector<int>{63}));
    EXPECT_EQ(StripBytes(253, true), (std::vector<int>{126}));
    const auto strips = SgxStripDivision(762, false);
    EXPECT_EQ(strips[1].firstPixel, 252);
    EXPECT_EQ(strips[2].firstPixel, 504);
}

int Word(const std::vector<std::uint8_t>& f, std::size_t at) {
    return f[at] | (f[at + 1] << 8);
}

TEST(SgxFiles, FourColours320x200AllPenZero) {
    TempDir dir;
    ConversionState s;
    s.slots[Slot::SgxCpc] = Picture(320, 200);
    s.saved[Slot::SgxCpc] = 0;
    ScriptedAsker asker;
    MakeSGXCPC(s, asker, dir / "pic", Slot::SgxCpc);
    EXPECT_EQ(s.saved[Slot::SgxCpc], 1);
    const auto f = ReadBytes(dir / "picC.sgx");
    ASSERT_EQ(f.size(), 16019u);  // 8 + 40 x 200 + 8 + 40 x 200 + 3
    const std::vector<std::uint8_t> head = {0x40, 0x00, 0x28, 0x00, 0xA0, 0x00, 0xC8, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), f.begin()));
    EXPECT_TRUE(std::equal(head.begin(), head.end(), f.begin() + 8 + 8000));
    for (std::size_t i = 0; i < f.size(); ++i)
        if (i >= 8 && (i < 8008 || i >= 8016)) {
            ASSERT_EQ(f[i], 0) << i;
        }
}

TEST(SgxFiles, SixteenColours128x100FirstByte) {
    TempDir dir;
    ConversionState s;
    s.slots[Slot::SgxMsxFree] = Picture(128, 100);
    s.slots[Slot::SgxMsxFree].setPixel(0, 0, MakeColour(1, 0, 0));
    s.slots[Slot::SgxMsxFree].setPixel(1, 0, MakeColour(15, 0, 0));
    ScriptedAsker asker;
    MakeSGXMSX(s, asker, dir / "pic", Slot::SgxMsxFree);
    const auto f = ReadBytes(dir / "picM.sgx");
    const std::vector<std::uint8_t> head = {0x40, 0x05, 0x40, 0x00, 0x80, 0x00, 0x64, 0x00, 0x1F};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), f.begin()));
    EXPECT_EQ(f.size(), 8u + 64 * 100 + 3);
}

TEST(SgxFiles, SuffixesAndStripsOfAWidePicture) {
    std::mt19937 rng(41);
    TempDir dir;
    ConversionState s;
    s.slots[Slot::SgxCpcFree] = test::RandomIndexPicture(rng, 762, 3, 4);
    s.slots[Slot::SgxMsx] = test::RandomIndexPicture(rng, 512, 212, 16);
    ScriptedAsker asker;
    MakeSGXCPC(s, asker, dir / "a", Slot::SgxCpcFree);
    MakeSGXMSX(s, asker, dir / "a", Slot::SgxMsx);
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"a1.sgx", "a7.sgx"}));
    const auto f = ReadBytes(dir / "a1.sgx");
    ASSERT_EQ(f.size(), 3u * 8 + (63 + 63 + 64) * 3 + 3);
    // Second strip header after 8 + 63 x 3 bytes; its widths and height.
    const std::size_t second = 8 + 63 * 3;
    EXPECT_EQ(f[second], 0x40);
    EXPECT_EQ(Word(f, second + 2), 63);
    EXPECT_EQ(Word(f, second + 4), 252);
    EXPECT_EQ(Word(f, second + 6), 3);
    const auto m = ReadBytes(dir / "a7.sgx");
    EXPECT_EQ(m.size(), 2u * 8 + 2 * 128 * 212 + 3);
}

TEST(SgxFiles, APictureWithoutAWholeByteIsRefused) {
    TempDir dir;
    ConversionState s;
    s.slots[Slot::SgxCpcFree] = Picture(3, 10);
    ScriptedAsker asker;
    EXPECT_THROW(MakeSGXCPC(s, asker, dir / "a", Slot::SgxCpcFree), IoError);
    EXPECT_TRUE(dir.files().empty());
    EXPECT_EQ(s.saved[Slot::SgxCpcFree], 1);  // untouched (starts at 1)
}

// ---- the reader

std::vector<std::uint8_t> Strip(int type, int bytes, int height, std::uint8_t fill) {
    // The whole strip at once, then its header (GCC 12 at -O3 misreads growing the 8-byte header
    // as out of bounds, -Warray-bounds).
    std::vector<std::uint8_t> s(8 + static_cast<std::size_t>(bytes * height), fill);
    const std::uint8_t header[8] = {0x40,
                                    static_cast<std::uint8_t>(type),
                                    static_cast<std::uint8_t>(bytes & 0xFF),
                                    static_cast<std::uint8_t>(bytes >> 8),
                                    static_cast<std::uint8_t>((bytes * 4) & 0xFF),
                                    static_cast<std::uint8_t>((bytes * 4) >> 8),
                                    static_cast<std::uint8_t>(height & 0xFF),
                                    static_cast<std::uint8_t>(height >> 8)};
    std::copy(std::begin(header), std::end(header), s.begin());
    return s;
}

std::vector<std::uint8_t> Cat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

int ErrorCode(const std::vector<std::uint8_t>& file, bool sixteen) {
    try {
        DecodeSgxFile(file, sixteen, "t.sgx");
    } catch (const IoError& e) {
        return e.code();
    }
    return 0;
}

TEST(SgxReader, TwoStripsOf64And16Bytes) {
    const auto f = Cat({Strip(0, 64, 200, 0x80), Strip(0, 16, 200, 0x10), {0, 0, 0}});
    const DecodedPicture d = DecodeSgxFile(f, false, "t.sgx");
    EXPECT_EQ(d.picture.width, 320);
    EXPECT_EQ(d.picture.height, 200);
    EXPECT_FALSE(d.hasPalette);
    // 0x80 is pen 1 then three pens 0; 0x10 is pens 0, 0, 0, 1.
    EXPECT_EQ(d.picture.pens[0], 1);
    EXPECT_EQ(d.picture.pens[1], 0);
    EXPECT_EQ(d.picture.pens[256], 0);
    EXPECT_EQ(d.picture.pens[259], 1);
    EXPECT_EQ(d.picture.pens[199 * 320 + 319], 1);
}

TEST(SgxReader, MarkersAfterAStrip) {
    // 0xFF x x 0x40 goes on with a strip header.
    auto f = Cat({Strip(0, 2, 1, 0xFF), {0xFF, 1, 2}, Strip(0, 1, 1, 0x80), {0}});
    DecodedPicture d = DecodeSgxFile(f, false, "t.sgx");
    EXPECT_EQ(d.picture.width, 12);
    EXPECT_EQ(d.picture.pens[8], 1);
    // 0xFF x x y (y not 0x40) ends the file.
    f = Cat({Strip(0, 2, 1, 0xFF), {0xFF, 1, 2, 3, 9, 9, 9}});
    EXPECT_EQ(DecodeSgxFile(f, false, "t.sgx").picture.width, 8);
    // Any other byte: another block of the same size at the same place.
    f = Cat({Strip(0, 2, 1, 0xFF), {0x17, 0x00, 0x00}, {0}});
    d = DecodeSgxFile(f, false, "t.sgx");
    EXPECT_EQ(d.picture.width, 8);
    EXPECT_EQ(d.picture.pens[0], 0);
    // The file may end right after a strip, without the three zeros.
    EXPECT_EQ(DecodeSgxFile(Strip(5, 3, 2, 0x12), true, "t.sgx").picture.width, 6);
}

TEST(SgxReader, NonsenseAndOversizedGraphicsAreRejected) {
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 0, 10, 0), {0, 0, 0}}), false), io::kInvalidData);
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 10, 0, 0), {0, 0, 0}}), false), io::kInvalidData);
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 1025, 1, 0), {0, 0, 0}}), false), io::kInvalidData);
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 1024, 1, 0), {0, 0, 0}}), false), 0);  // 4096 pixels
    EXPECT_EQ(ErrorCode(Cat({Strip(5, 2049, 1, 0), {0, 0, 0}}), true), io::kInvalidData);
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 1, 4097, 0), {0, 0, 0}}), false), io::kInvalidData);
    // Strips that together pass the canvas.
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 1000, 1, 0), Strip(0, 25, 1, 0), {0, 0, 0}}), false),
              io::kInvalidData);
    // A strip of a later header that is nonsense.
    EXPECT_EQ(ErrorCode(Cat({Strip(0, 4, 1, 0), Strip(0, 0, 1, 0), {0, 0, 0}}), false),
              io::kInvalidData);
}

TEST(SgxReader, FilesThatEndEarlyGiveReadError100) {
    const auto good = Cat({Strip(0, 8, 4, 0x55), Strip(0, 8, 4, 0xAA), {0, 0, 0}});
    for (std::size_t n : {0u, 1u, 5u, 7u, 8u, 20u, 39u, 41u, 45u, 60u})
        EXPECT_EQ(
            ErrorCode(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(n)),
                      false),
            io::kReadPastEnd)
            << n;
    EXPECT_EQ(ErrorCode(good, false), 0);
}

}  // namespace
}  // namespace mozu
