// Reading SymbOS video files made byte by byte here, and refusing those no video can be.

#include "video/vid_reader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/io_error.h"
#include "video/vid_format.h"
#include "video_test_support.h"

namespace mozu {
namespace {

struct VidFile {
    int rate = 12;
    int frames = 3;
    int width = 8;
    int height = 2;
    int type = 1;
    int frameSize = 512;
    std::string title = "Title";
    std::string info = "More";
    std::vector<std::vector<std::uint8_t>> data;  // per frame, padded to frameSize
    int dropBytes = 0;                            // cut from the end of the file

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> b(512, 0);
        std::copy_n("SymVid10", 8, b.begin());
        b[10] = static_cast<std::uint8_t>(rate);
        b[11] = static_cast<std::uint8_t>(frames & 0xFF);
        b[12] = static_cast<std::uint8_t>(frames >> 8 & 0xFF);
        b[13] = static_cast<std::uint8_t>(frames >> 16 & 0xFF);
        b[14] = static_cast<std::uint8_t>(width & 0xFF);
        b[15] = static_cast<std::uint8_t>(width >> 8);
        b[16] = static_cast<std::uint8_t>(height & 0xFF);
        b[17] = static_cast<std::uint8_t>(height >> 8);
        b[18] = static_cast<std::uint8_t>(type);
        b[51] = static_cast<std::uint8_t>(frameSize & 0xFF);
        b[52] = static_cast<std::uint8_t>(frameSize >> 8);
        std::copy(title.begin(), title.end(), b.begin() + 182);
        std::copy(info.begin(), info.end(), b.begin() + 214);
        for (int f = 0; f < frames; ++f) {
            std::vector<std::uint8_t> frame(static_cast<std::size_t>(frameSize), 0);
            if (f < static_cast<int>(data.size()))
                std::copy(data[static_cast<std::size_t>(f)].begin(),
                          data[static_cast<std::size_t>(f)].end(), frame.begin());
            b.insert(b.end(), frame.begin(), frame.end());
        }
        b.resize(b.size() - static_cast<std::size_t>(dropBytes));
        return b;
    }
    std::string write(const test::TempDir& dir) const {
        const std::string path = dir / "v.vid";
        const auto b = bytes();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return path;
    }
};

class VidReaderTest : public testing::Test {
  protected:
    test::TempDir dir;
    ConversionState state;
    VidReader reader;
    const ColourTable& table = state.colourTable;
};

TEST_F(VidReaderTest, FourColourPixels) {
    VidFile v;
    v.data = {{0xA6, 0x01, 0xFF, 0x00}, {}, {0x10, 0, 0, 0}};
    VideoState nav;
    // Where the previous video was left does not carry over.
    nav.currentFrame = 500;
    nav.startMark = 400;
    OpenVIDfile(reader, state, nav, v.write(dir));
    EXPECT_EQ(nav.currentFrame, 0);
    EXPECT_EQ(nav.startMark, 0);
    EXPECT_EQ(nav.endMark, 3);
    EXPECT_EQ(nav.symbosFrameCount, 3);
    const Picture& p = reader.decodeFrame(0);
    ASSERT_EQ(p.width(), 8);
    ASSERT_EQ(p.height(), 2);
    const int row0[8] = {1, 2, 3, 0, 0, 0, 0, 2};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(p.pixel(x, 0), table[static_cast<std::size_t>(row0[x])]) << x;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(p.pixel(x, 1), table[3]);
    EXPECT_EQ(reader.decodeFrame(2).pixel(3, 0), table[1]);
    EXPECT_EQ(reader.decodeFrame(2).pixel(0, 0), table[0]);
    EXPECT_EQ(VidTitleLabel(reader), "Title\n\rMore");
    EXPECT_EQ(VidDescription(reader), "SymbOS video\n\r00:00:00\n\r12 fps\n\r4 colors");
    EXPECT_EQ(VidPlayInterval(reader), 83);
}

TEST_F(VidReaderTest, SixteenColourPixelsShownWithDoubledLines) {
    VidFile v;
    v.type = 7;
    v.width = 4;
    v.height = 2;
    v.frames = 1;
    v.title = "";
    v.data = {{0x3A, 0xF0, 0x12, 0x34}};
    reader.open(table, v.write(dir));
    Picture shown;
    showVIDframe2(reader, 0, shown);
    ASSERT_EQ(shown.width(), 4);
    ASSERT_EQ(shown.height(), 4);
    EXPECT_EQ(shown.pixel(0, 0), table[3]);
    EXPECT_EQ(shown.pixel(1, 0), table[10]);
    EXPECT_EQ(shown.pixel(2, 1), table[15]);
    EXPECT_EQ(shown.pixel(3, 1), table[0]);
    EXPECT_EQ(shown.pixel(0, 2), table[1]);
    EXPECT_EQ(shown.pixel(3, 3), table[4]);
    EXPECT_EQ(VidTitleLabel(reader), "\n\rMore");
    EXPECT_TRUE(reader.sixteen());
}

TEST_F(VidReaderTest, FramesSitAtTheirOffsets) {
    VidFile v;
    v.width = 192;
    v.height = 144;
    v.frameSize = 7168;
    v.data = {{0x00}, {0x00}, {0xFF}};
    reader.open(table, v.write(dir));
    EXPECT_EQ(reader.decodeFrame(2).pixel(0, 0), table[3]);  // byte 14848 = 512 + 2 x 7168
    EXPECT_EQ(reader.decodeFrame(1).pixel(0, 0), table[0]);
}

TEST_F(VidReaderTest, FramesPastTheEndAreReadErrors) {
    VidFile v;
    reader.open(table, v.write(dir));
    try {
        reader.decodeFrame(3);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kReadPastEnd);
    }
    EXPECT_THROW(reader.decodeFrame(-1), IoError);
    CloseVIDfile(reader);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_THROW(reader.decodeFrame(0), IoError);
}

TEST_F(VidReaderTest, RefusesFilesNoVideoCanBe) {
    const auto refused = [&](VidFile v, const std::string& why) {
        const std::string path = v.write(dir);
        try {
            reader.open(table, path);
            ADD_FAILURE() << "accepted: " << why;
        } catch (const IoError& e) {
            EXPECT_EQ(e.code(), io::kInvalidData) << why;
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_FALSE(reader.isOpen()) << why;
    };
    VidFile v;
    v.type = 3;
    refused(v, "colour type 3");
    v = VidFile{};
    v.width = 0;
    refused(v, "width 0");
    v = VidFile{};
    v.width = 6;
    refused(v, "width not a whole number of bytes");
    v = VidFile{};
    v.width = 4000;
    refused(v, "width beyond any video");
    v = VidFile{};
    v.height = 0;
    refused(v, "height 0");
    v = VidFile{};
    v.width = 192;
    v.height = 144;
    v.frameSize = 6400;  // smaller than the 6912 bytes of a frame
    refused(v, "frame size below the frame data");
    v = VidFile{};
    v.frames = 0;
    refused(v, "no frames");
    v = VidFile{};
    v.dropBytes = 1;
    refused(v, "fewer frames than the header claims");
    v = VidFile{};
    v.frames = 70000;  // a 24-bit count far beyond the file
    v.dropBytes = 0;
    {
        VidFile small;  // header claiming 70000 frames over a file of 3
        auto b = small.bytes();
        b[11] = 0x70;
        b[12] = 0x11;
        b[13] = 0x01;
        const std::string path = dir / "huge.vid";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        EXPECT_THROW(reader.open(table, path), IoError);
    }
    {
        auto b = VidFile{}.bytes();
        b[3] = 'X';
        const std::string path = dir / "magic.vid";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        EXPECT_THROW(reader.open(table, path), IoError);
        const std::string shortPath = dir / "short.vid";
        std::ofstream(shortPath, std::ios::binary).write("SymVid10", 8);
        EXPECT_THROW(reader.open(table, shortPath), IoError);
    }
    EXPECT_THROW(reader.open(table, dir / "absent.vid"), IoError);
}

TEST_F(VidReaderTest, OpeningAnotherFileReplacesTheFirst) {
    VidFile a;
    reader.open(table, a.write(dir));
    VidFile b;
    b.type = 7;
    b.frames = 1;
    b.title = "Second";
    const std::string second = dir / "second.vid";
    const auto bytes = b.bytes();
    std::ofstream(second, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    reader.open(table, second);
    EXPECT_EQ(reader.title(), "Second");
    EXPECT_EQ(reader.frameCount(), 1);
    // A refused file leaves nothing open either.
    EXPECT_THROW(reader.open(table, dir / "absent.vid"), IoError);
    EXPECT_FALSE(reader.isOpen());
}

}  // namespace
}  // namespace mozu
