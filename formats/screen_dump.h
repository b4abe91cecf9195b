#pragma once
// Screens written by other CPC tools: a plain 16 KB dump of the screen memory (&C000-&FFFF),
// with or without an AMSDOS header in front, and no start-up routine of ours. The screen holds
// neither its mode nor its colours; art programs keep them in a palette file of the same name
// beside it (NAME.PAL): the mode byte, then each pen's hardware colour numbers.
//
// How a dump is told from a Mozu screen file, which is always 16512 bytes (header + screen)
// with our routine at file offset 2128:
// - a headed dump passes the same header test (load address &C000, 16 KB), has a correct
//   AMSDOS checksum, at least 16384 bytes after the header, no routine of ours, and an entry
//   address other than &C7D0: a header entered at &C7D0 is one of ours whose routine was
//   damaged, which stays a headed screen file that is not read;
// - a headerless dump is exactly 16384 bytes and its first 128 bytes are no AMSDOS header.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "formats/picture_decoding.h"

namespace mozu {

constexpr std::size_t kScreenDumpBytes = 16384;

// The colours the firmware gives pens 0-15 at start-up (firmware colour numbers); the two
// flashing pens, 14 and 15, take their first colour.
inline constexpr std::array<std::uint8_t, 16> kFirmwareDefaultInks = {
    1, 24, 20, 6, 26, 0, 2, 8, 10, 12, 14, 16, 18, 22, 1, 16};

// The firmware colour number (0-26) of a hardware colour number (0-31, or 0x40-0x5F as the
// gate array is sent it); -1 for a byte that is no hardware colour.
int FirmwareOfHardwareColour(std::uint8_t hardware);

// True when the 128 bytes are an AMSDOS header: the 16-bit sum of bytes 0-66 is stored at
// 67-68, and is not zero (128 zero bytes are a black screen line, not a header).
bool IsAmsdosHeader(std::span<const std::uint8_t> bytes);

// What a palette file gives: the screen mode and the firmware colours of pens 0-15 (the pens a
// mode does not use keep the firmware's defaults).
struct DumpPalette {
    int mode = 1;
    std::array<std::uint8_t, 16> firmware = kFirmwareDefaultInks;
};

// Reads an art program's palette file (with or without an AMSDOS header): byte 0 the mode
// (0-2), two bytes of colour animation, then 12 hardware colours for each pen, of which the
// first is the pen's colour. IoError io::kInvalidData naming `name` when the file is too short
// for the pens of its mode, its mode byte is no mode, or a pen's colour is no hardware colour.
DumpPalette ParseDumpPalette(std::span<const std::uint8_t> file, const std::string& name);

// The palette file beside a screen: the same name with the extension .pal (in any case), or
// an empty string when there is none.
std::string PaletteFileBeside(const std::string& screenPath);

// The dump's palette: from the palette file beside it when there is one (IoError when that is
// unreadable or broken), else nullopt.
std::optional<DumpPalette> ReadDumpPalette(const std::string& screenPath);

// The 16384 screen bytes of a dump: `file` from its first byte (headed or not, as told above).
// IoError io::kInvalidData when it is no dump.
std::span<const std::uint8_t> ScreenDumpImage(std::span<const std::uint8_t> file,
                                              const std::string& name);

// True when a file of `fileSize` bytes starting with `head` (at least its first 128 bytes, or
// the whole file when shorter) is a dump by the rules above. `ours` tells whether the file
// carries our start-up routine at offset 2128.
bool LooksLikeScreenDump(std::span<const std::uint8_t> head, std::uint64_t fileSize, bool ours);

// The dump's pens in `mode` (0-2) with the palette `firmware`: the screen decoded as Mozu's
// own screen files are.
DecodedPicture DecodeScreenDump(std::span<const std::uint8_t> file, int mode,
                                const std::array<std::uint8_t, 16>& firmware,
                                const std::string& name);

// Reads the dump `path` and decodes it (DecodeScreenDump). IoError when it cannot be read or is
// no dump.
DecodedPicture ReadScreenDump(const std::string& path, int mode,
                              const std::array<std::uint8_t, 16>& firmware);

// Label1's text for a dump read in `mode`: "CPC screen dump\n\r160x200\n\r" and where its
// colours came from ("colours of NAME.PAL" or "firmware colours").
std::string ScreenDumpDescription(int mode, const std::string& paletteFile);

}  // namespace mozu
