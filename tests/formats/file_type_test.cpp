// Recognition of files by extension and first bytes: IsSupportedFile and CheckCPCFile.
#include <gtest/gtest.h>

#include "formats/amsdos_header.h"
#include "formats/file_type.h"
#include "formats/formats_test_helpers.h"
#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

using test::TempDir;
using test::WriteBytes;

constexpr FileType kScreenTypes[] = {FileType::ScreenMode0, FileType::ScreenMode1,
                                     FileType::ScreenMode2};
constexpr FileType kOverscanTypes[] = {FileType::OverscanMode0, FileType::OverscanMode1,
                                       FileType::OverscanMode2};

std::vector<std::uint8_t> ScreenFile(int mode) {
    return BuildScreenFile(
        mode, std::vector<std::uint8_t>(static_cast<std::size_t>(160 << mode) * 200, 0), {}, "X");
}

TEST(FileType, PcFilesByExtensionOnlyWithoutOpeningThem) {
    // The files do not exist: IsSupportedFile does not open them.
    EXPECT_EQ(IsSupportedFile("/nowhere/x.bmp"), FileType::Bmp);
    EXPECT_EQ(IsSupportedFile("/nowhere/x.JPEG"), FileType::Jpeg);
    EXPECT_EQ(IsSupportedFile("/nowhere/x.jpg"), FileType::Jpeg);
    for (const char* v :
         {"a.avi", "a.DivX", "a.xvid", "a.vob", "a.mov", "a.wmv", "a.rmvb", "a.mpg", "a.MPEG"})
        EXPECT_EQ(IsSupportedFile(std::string("/nowhere/") + v), FileType::PcVideo) << v;
    // CheckCPCFile knows no PC files: it opens the file and finds nothing it reads.
    TempDir dir;
    WriteBytes(dir / "x.jpg", std::vector<std::uint8_t>(300, 0));
    EXPECT_EQ(CheckCPCFile(dir / "x.jpg"), FileType::Unsupported);
    EXPECT_THROW(CheckCPCFile("/nowhere/x.jpg"), IoError);
}

TEST(FileType, ScreenFiles) {
    TempDir dir;
    for (int mode = 0; mode < 3; ++mode) {
        WriteBytes(dir / "s.Rim", ScreenFile(mode));
        EXPECT_EQ(IsSupportedFile(dir / "s.Rim"), kScreenTypes[mode]);
        EXPECT_EQ(CheckCPCFile(dir / "s.Rim"), kScreenTypes[mode]);
    }
    for (const char* ext : {".scr", ".bin", ".SCR"}) {
        WriteBytes(dir / (std::string("s") + ext), ScreenFile(1));
        EXPECT_EQ(IsSupportedFile(dir / (std::string("s") + ext)), FileType::ScreenMode1) << ext;
    }
    // A headed file whose routine is not ours, or whose mode byte is no mode, is type 3.
    auto f = ScreenFile(0);
    f[2128] = 0x00;
    WriteBytes(dir / "h.rim", f);
    EXPECT_EQ(IsSupportedFile(dir / "h.rim"), FileType::HeadedScreen);
    EXPECT_EQ(CheckCPCFile(dir / "h.rim"), FileType::HeadedScreen);
    f = ScreenFile(0);
    f[2129] = 3;
    WriteBytes(dir / "h.rim", f);
    EXPECT_EQ(IsSupportedFile(dir / "h.rim"), FileType::HeadedScreen);
    f[2129] = 0xC9;
    WriteBytes(dir / "h.rim", f);
    EXPECT_EQ(CheckCPCFile(dir / "h.rim"), FileType::HeadedScreen);
    // A header alone (too short to hold the routine) is type 3, not an error.
    f.resize(200);
    WriteBytes(dir / "h.rim", f);
    EXPECT_EQ(IsSupportedFile(dir / "h.rim"), FileType::HeadedScreen);
    // No screen header: 255 (the checksum is not tested).
    f = ScreenFile(0);
    f[65] = 0;
    WriteBytes(dir / "n.rim", f);
    EXPECT_EQ(IsSupportedFile(dir / "n.rim"), FileType::Unsupported);
    EXPECT_EQ(CheckCPCFile(dir / "n.rim"), FileType::Unsupported);
    f = ScreenFile(0);
    f[67] ^= 0xFF;
    WriteBytes(dir / "c.rim", f);
    EXPECT_EQ(IsSupportedFile(dir / "c.rim"), FileType::ScreenMode0);
    // A tiny file is no screen file.
    WriteBytes(dir / "t.rim", {0x00});
    EXPECT_EQ(IsSupportedFile(dir / "t.rim"), FileType::Unsupported);
}

TEST(FileType, ExtensionRulesDiffer) {
    TempDir dir;
    // CheckCPCFile takes the three characters after the dot: "rimx" is checked as "RIM".
    WriteBytes(dir / "s.rimx", ScreenFile(2));
    EXPECT_EQ(CheckCPCFile(dir / "s.rimx"), FileType::ScreenMode2);
    EXPECT_EQ(IsSupportedFile(dir / "s.rimx"), FileType::Unsupported);
    // No extension, or a dot only in the folder name: nothing.
    std::filesystem::create_directory(dir / "d.rim");
    WriteBytes(dir / "d.rim/s", ScreenFile(0));
    EXPECT_EQ(IsSupportedFile(dir / "d.rim/s"), FileType::Unsupported);
    EXPECT_EQ(CheckCPCFile(dir / "d.rim/s"), FileType::Unsupported);
}

TEST(FileType, OverscanFiles) {
    TempDir dir;
    for (int mode = 0; mode < 3; ++mode) {
        std::vector<std::uint8_t> f(24834, 0);
        f[128] = static_cast<std::uint8_t>(mode);
        WriteBytes(dir / "o.SCA", f);
        EXPECT_EQ(IsSupportedFile(dir / "o.SCA"), kOverscanTypes[mode]);
        EXPECT_EQ(CheckCPCFile(dir / "o.SCA"), kOverscanTypes[mode]);
    }
    std::vector<std::uint8_t> f(24834, 0);
    f[128] = 3;
    WriteBytes(dir / "o.sca", f);
    EXPECT_EQ(IsSupportedFile(dir / "o.sca"), FileType::Unsupported);
    EXPECT_EQ(CheckCPCFile(dir / "o.sca"), FileType::Unsupported);
    f.resize(128);
    WriteBytes(dir / "o.sca", f);
    EXPECT_EQ(CheckCPCFile(dir / "o.sca"), FileType::Unsupported);
}

TEST(FileType, SymbOSGraphicsAndVideos) {
    TempDir dir;
    WriteBytes(dir / "a.sgx", {0x10, 0x40, 0x08});
    EXPECT_EQ(IsSupportedFile(dir / "a.sgx"), FileType::Sgx4);
    WriteBytes(dir / "a.sgx", {0x40, 0x05});
    EXPECT_EQ(IsSupportedFile(dir / "a.sgx"), FileType::Sgx16);
    EXPECT_EQ(CheckCPCFile(dir / "a.sgx"), FileType::Sgx16);
    WriteBytes(dir / "a.sgx", {0x40, 0x00});
    EXPECT_EQ(CheckCPCFile(dir / "a.sgx"), FileType::Sgx4);
    WriteBytes(dir / "a.sgx", {0x40, 0x07});
    EXPECT_EQ(IsSupportedFile(dir / "a.sgx"), FileType::Unsupported);
    WriteBytes(dir / "a.sgx", {0x40});
    EXPECT_EQ(IsSupportedFile(dir / "a.sgx"), FileType::Unsupported);
    std::vector<std::uint8_t> v(512, 0);
    v[18] = 1;
    WriteBytes(dir / "v.vid", v);
    EXPECT_EQ(IsSupportedFile(dir / "v.vid"), FileType::Video4);
    v[18] = 7;
    WriteBytes(dir / "v.VID", v);
    EXPECT_EQ(CheckCPCFile(dir / "v.VID"), FileType::Video16);
    v[18] = 2;
    WriteBytes(dir / "v.vid", v);
    EXPECT_EQ(IsSupportedFile(dir / "v.vid"), FileType::Unsupported);
    v.resize(18);
    WriteBytes(dir / "v.vid", v);
    EXPECT_EQ(IsSupportedFile(dir / "v.vid"), FileType::Unsupported);
}

// The numbers are shown to users ("file type 13"), and a CPC or SymbOS type names the slot of
// the same number that its file is read into.
TEST(FileType, NumbersShownToUsersAndTheSlotsTheyName) {
    const std::pair<FileType, int> numbers[] = {
        {FileType::ScreenMode0, 0},   {FileType::ScreenMode1, 1},   {FileType::ScreenMode2, 2},
        {FileType::HeadedScreen, 3},  {FileType::OverscanMode0, 4}, {FileType::OverscanMode1, 5},
        {FileType::OverscanMode2, 6}, {FileType::Sgx4, 9},          {FileType::Sgx16, 11},
        {FileType::Video4, 13},       {FileType::Video16, 14},      {FileType::Bmp, 20},
        {FileType::Jpeg, 21},         {FileType::PcVideo, 22},      {FileType::Unsupported, 255}};
    for (const auto& [type, number] : numbers) {
        EXPECT_EQ(FileTypeNumber(type), number);
        EXPECT_EQ(SlotNumber(SlotOfFileType(type)), number);
    }
    EXPECT_EQ(SlotOfFileType(FileType::OverscanMode2), Slot::Overscan2);
    EXPECT_EQ(SlotOfFileType(FileType::Sgx4), Slot::SgxCpcFree);
    EXPECT_EQ(SlotOfFileType(FileType::Sgx16), Slot::SgxMsxFree);
}

TEST(FileType, OtherFilesAreOpenedAndUnsupported) {
    TempDir dir;
    WriteBytes(dir / "x.txt", {1, 2, 3});
    EXPECT_EQ(IsSupportedFile(dir / "x.txt"), FileType::Unsupported);
    try {
        IsSupportedFile(dir / "missing.txt");
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kFileNotFound);
    }
}

}  // namespace
}  // namespace mozu
