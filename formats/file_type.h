#pragma once
// What kind of file a path holds: PC pictures and videos by their extension, the CPC and
// SymbOS files by their extension and first bytes. The value also names the slot a file is
// read into.

#include <cstdint>
#include <string>

namespace mozu {

namespace filetype {
constexpr std::uint8_t kScreenMode0 = 0;  // 0-2: screen files with the start-up routine
constexpr std::uint8_t kScreenMode1 = 1;
constexpr std::uint8_t kScreenMode2 = 2;
constexpr std::uint8_t kHeadedScreen = 3;   // a headed screen file without our routine: not read
constexpr std::uint8_t kOverscanMode0 = 4;  // 4-6: overscan files
constexpr std::uint8_t kOverscanMode1 = 5;
constexpr std::uint8_t kOverscanMode2 = 6;
constexpr std::uint8_t kSgx4 = 9;
constexpr std::uint8_t kSgx16 = 11;
constexpr std::uint8_t kVideo4 = 13;
constexpr std::uint8_t kVideo16 = 14;
constexpr std::uint8_t kBmp = 20;
constexpr std::uint8_t kJpeg = 21;
constexpr std::uint8_t kPcVideo = 22;
constexpr std::uint8_t kUnsupported = 255;
}  // namespace filetype

// Any file the main window is asked to open (types 0-6, 9, 11, 13, 14, 20-22 or 255). The
// extension is compared whole, in lower case; BMP, JPEG and video files are not opened. Other
// files are opened (IoError if that fails) and their first bytes tested; a file too short for a
// test simply does not match it.
std::uint8_t IsSupportedFile(const std::string& path);

// The CPC and SymbOS files alone (0-6, 9, 11, 13, 14 or 255): the three characters after the
// last dot are compared in upper case ("x.rimage" is checked as "RIM").
std::uint8_t CheckCPCFile(const std::string& path);

}  // namespace mozu
