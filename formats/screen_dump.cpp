#include "formats/screen_dump.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "formats/amsdos_header.h"
#include "formats/screen_files.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// The gate array's 32 colour numbers; 0-31 and 0x40-0x5F name the same colours. Five of them
// repeat another colour, so 27 remain.
constexpr std::array<std::uint8_t, 32> kFirmwareOfHardware = {
    13, 13, 19, 25, 1, 7, 10, 16, 7, 25, 24, 26, 6, 8, 15, 17,
    1,  19, 18, 20, 0, 2, 9,  11, 4, 22, 21, 23, 3, 5, 12, 14};

// Bytes of an art program's palette file before the first pen, and per pen (one colour for
// each of 12 animation frames).
constexpr std::size_t kPaletteHead = 3;
constexpr std::size_t kPaletteColoursPerPen = 12;

int PensOfMode(int mode) {
    return mode == 0 ? 16 : mode == 1 ? 4 : 2;
}

unsigned Word(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<unsigned>(b[at]) | static_cast<unsigned>(b[at + 1]) << 8;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

int FirmwareOfHardwareColour(std::uint8_t hardware) {
    // Bit 6 is the gate array's "set colour" command; bits 7 and 5 belong to no colour.
    if ((hardware & 0xA0) != 0) return -1;
    return kFirmwareOfHardware[hardware & 0x1F];
}

bool IsAmsdosHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kAmsdosHeaderSize) return false;
    unsigned sum = 0;
    for (std::size_t i = 0; i <= 66; ++i) sum += bytes[i];
    sum &= 0xFFFF;
    return sum != 0 && Word(bytes, 67) == sum;
}

DumpPalette ParseDumpPalette(std::span<const std::uint8_t> file, const std::string& name) {
    std::span<const std::uint8_t> p = file;
    // Saved on a CPC disc, the palette carries a header of its own.
    if (IsAmsdosHeader(p)) p = p.subspan(kAmsdosHeaderSize);
    if (p.empty()) throw IoError(io::kInvalidData, name + ": an empty palette file");
    DumpPalette palette;
    palette.mode = p[0];
    if (palette.mode > 2)
        throw IoError(io::kInvalidData, name + ": palette file with screen mode " +
                                            std::to_string(palette.mode) + " (not 0, 1 or 2)");
    const int pens = PensOfMode(palette.mode);
    const std::size_t needed =
        kPaletteHead + static_cast<std::size_t>(pens) * kPaletteColoursPerPen;
    if (p.size() < needed)
        throw IoError(io::kInvalidData, name + ": palette file of " + std::to_string(p.size()) +
                                            " bytes, too short for the " + std::to_string(pens) +
                                            " pens of mode " + std::to_string(palette.mode) + " (" +
                                            std::to_string(needed) + " bytes)");
    for (int pen = 0; pen < pens; ++pen) {
        const std::uint8_t hw =
            p[kPaletteHead + static_cast<std::size_t>(pen) * kPaletteColoursPerPen];
        const int firmware = FirmwareOfHardwareColour(hw);
        if (firmware < 0) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "&%02X", hw);
            throw IoError(io::kInvalidData, name + ": pen " + std::to_string(pen) + " has " + hex +
                                                ", no hardware colour number");
        }
        palette.firmware[static_cast<std::size_t>(pen)] = static_cast<std::uint8_t>(firmware);
    }
    return palette;
}

std::string PaletteFileBeside(const std::string& screenPath) {
    namespace fs = std::filesystem;
    const fs::path screen(screenPath);
    const std::string stem = screen.stem().string();
    if (stem.empty()) return {};
    std::error_code ec;
    for (const char* ext : {".pal", ".PAL", ".Pal"}) {
        const fs::path candidate = screen.parent_path() / (stem + ext);
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
    // Any other spelling of the extension: look through the folder once.
    const fs::path folder = screen.parent_path().empty() ? fs::path(".") : screen.parent_path();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (p.stem().string() == stem && Lower(p.extension().string()) == ".pal" &&
            it->is_regular_file(ec))
            return p.string();
    }
    return {};
}

std::optional<DumpPalette> ReadDumpPalette(const std::string& screenPath) {
    const std::string palettePath = PaletteFileBeside(screenPath);
    if (palettePath.empty()) return std::nullopt;
    InputFile in(palettePath);
    // A palette file is a few hundred bytes; anything far larger is no palette file.
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), 4096)));
    in.readAt(0, bytes);
    return ParseDumpPalette(bytes, palettePath);
}

bool LooksLikeScreenDump(std::span<const std::uint8_t> head, std::uint64_t fileSize, bool ours) {
    if (ours || head.size() < kAmsdosHeaderSize) return false;
    if (IsAmsdosHeader(head))
        return IsScreenLoadHeader(head) && Word(head, 26) != kScreenFileHeader.entryAddress &&
               fileSize >= kAmsdosHeaderSize + kScreenDumpBytes;
    return fileSize == kScreenDumpBytes;
}

std::span<const std::uint8_t> ScreenDumpImage(std::span<const std::uint8_t> file,
                                              const std::string& name) {
    if (file.size() == kScreenDumpBytes && !IsAmsdosHeader(file)) return file;
    if (file.size() >= kAmsdosHeaderSize + kScreenDumpBytes && IsAmsdosHeader(file))
        return file.subspan(kAmsdosHeaderSize, kScreenDumpBytes);
    throw IoError(io::kInvalidData, name + ": not a 16 KB CPC screen");
}

DecodedPicture DecodeScreenDump(std::span<const std::uint8_t> file, int mode,
                                const std::array<std::uint8_t, 16>& firmware,
                                const std::string& name) {
    if (mode < 0 || mode > 2)
        throw IoError(io::kInvalidData,
                      name + ": screen mode " + std::to_string(mode) + " (not 0, 1 or 2)");
    const std::span<const std::uint8_t> image = ScreenDumpImage(file, name);
    // The screen decoder reads a screen behind a header, as in our own files.
    std::vector<std::uint8_t> headed(kAmsdosHeaderSize + kScreenDumpBytes, 0);
    std::copy(image.begin(), image.end(), headed.begin() + kAmsdosHeaderSize);
    DecodedPicture decoded = DecodeScreenFile(headed, mode, name);
    decoded.firmware = firmware;
    decoded.hasPalette = true;
    return decoded;
}

DecodedPicture ReadScreenDump(const std::string& path, int mode,
                              const std::array<std::uint8_t, 16>& firmware) {
    InputFile in(path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(
        std::min<std::uint64_t>(in.size(), kAmsdosHeaderSize + kScreenDumpBytes)));
    in.readAt(0, bytes);
    return DecodeScreenDump(bytes, mode, firmware, path);
}

std::string ScreenDumpDescription(int mode, const std::string& paletteFile) {
    static constexpr const char* kSizes[] = {"160x200", "320x200", "640x200"};
    const std::string colours =
        paletteFile.empty()
            ? std::string("firmware colours")
            : "colours of " + std::filesystem::path(paletteFile).filename().string();
    return std::string("CPC screen dump\n\r") + kSizes[std::clamp(mode, 0, 2)] + "\n\r" + colours;
}

}  // namespace mozu
