#pragma once
// What kind of file a path holds: PC pictures and videos by their extension, the CPC and
// SymbOS files by their extension and first bytes. The value also names the slot a file is
// read into.

#include <cstdint>
#include <string>

#include "colour/slot.h"

namespace mozu {

// The numbers are the ones the file type has always had: a CPC or SymbOS type is also the slot
// the file is read into.
enum class FileType : std::uint8_t {
    ScreenMode0 = 0,  // 0-2: screen files with the start-up routine
    ScreenMode1 = 1,
    ScreenMode2 = 2,
    HeadedScreen = 3,   // a headed screen file without our routine: not read
    OverscanMode0 = 4,  // 4-6: overscan files
    OverscanMode1 = 5,
    OverscanMode2 = 6,
    Sgx4 = 9,     // four-colour SymbOS graphic
    Sgx16 = 11,   // sixteen-colour SymbOS graphic
    Video4 = 13,  // SymbOS videos
    Video16 = 14,
    Bmp = 20,
    Jpeg = 21,
    PcVideo = 22,  // .avi .mpg .mov ... and .mp4 .mkv .webm and the other containers of today
    Png = 30,      // 30-33: further PC pictures, read like BMP and JPEG
    Gif = 31,
    Tga = 32,
    Pnm = 33,
    ScreenDump = 34,  // another tool's 16 KB screen, headed or not: read into slot 0, 1 or 2
    Webp = 35,        // 35-36: further PC pictures
    Tiff = 36,
    LevelMode0 = 40,  // level files: an overscan background with extra graphics beside it,
    LevelMode1 = 41,  // read into the level slots 20 and 21
    Unsupported = 255,
};

// A CPC picture file Mozu reads back into a slot: screen, overscan, level and SymbOS graphics.
constexpr bool IsPictureFileType(FileType t) {
    switch (t) {
        case FileType::LevelMode0:
        case FileType::LevelMode1:
        case FileType::ScreenMode0:
        case FileType::ScreenMode1:
        case FileType::ScreenMode2:
        case FileType::OverscanMode0:
        case FileType::OverscanMode1:
        case FileType::OverscanMode2:
        case FileType::Sgx4:
        case FileType::Sgx16:
            return true;
        default:
            return false;
    }
}

// A PC picture: BMP, JPEG, PNG, GIF, TGA, PNM, WebP or TIFF.
constexpr bool IsPcPictureType(FileType t) {
    switch (t) {
        case FileType::Bmp:
        case FileType::Jpeg:
        case FileType::Png:
        case FileType::Gif:
        case FileType::Tga:
        case FileType::Pnm:
        case FileType::Webp:
        case FileType::Tiff:
            return true;
        default:
            return false;
    }
}

constexpr bool IsSymbosVideoType(FileType t) {
    return t == FileType::Video4 || t == FileType::Video16;
}

constexpr bool IsLevelFileType(FileType t) {
    return t == FileType::LevelMode0 || t == FileType::LevelMode1;
}

// The slot a CPC or SymbOS file of type `t` is read into: the same number, but the level slots
// (20, 21) for level files, whose numbers the PC pictures had long before.
constexpr Slot SlotOfFileType(FileType t) {
    if (t == FileType::LevelMode0) return Slot::Level0;
    if (t == FileType::LevelMode1) return Slot::Level1;
    return static_cast<Slot>(t);
}

// The type of the CPC or SymbOS file a slot was read from (the reverse of SlotOfFileType for
// the slots files are read into).
constexpr FileType FileTypeOfSlot(Slot s) {
    if (s == Slot::Level0) return FileType::LevelMode0;
    if (s == Slot::Level1) return FileType::LevelMode1;
    return static_cast<FileType>(s);
}

// The number shown to users and stored nowhere else ("file type 13").
constexpr int FileTypeNumber(FileType t) {
    return static_cast<int>(t);
}

// Any file Mozu is asked to open (types 0-6, 9, 11, 13, 14, 20-22, 30-36, 40, 41 or 255). The
// extension is compared whole, in lower case; BMP, JPEG and video files are not opened. Other
// files are opened (IoError if that fails) and their first bytes tested; a file too short for a
// test simply does not match it.
FileType IsSupportedFile(const std::string& path);

// The CPC and SymbOS files alone (0-6, 9, 11, 13, 14, 34, 40, 41 or 255): the three characters
// after the last dot are compared in upper case ("x.rimage" is checked as "RIM").
FileType CheckCPCFile(const std::string& path);

}  // namespace mozu
