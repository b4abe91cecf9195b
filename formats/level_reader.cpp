#include "formats/level_reader.h"

#include <algorithm>
#include <cstdio>

#include "formats/amsdos_header.h"
#include "formats/overscan_files.h"
#include "formats/pixel_encoding.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

constexpr std::size_t kModeByte = kAmsdosHeaderSize;
constexpr std::size_t kPaletteOffset = kModeByte + 1;          // pens 15 down to 0
constexpr std::size_t kRepeatedPalette = kPaletteOffset + 16;  // pens 15 down to 1
constexpr int kFirmwareColours = 27;

unsigned Word(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<unsigned>(b[at] | (b[at + 1] << 8));
}

unsigned RealLength(std::span<const std::uint8_t> b) {
    return static_cast<unsigned>(b[64] | (b[65] << 8) | (b[66] << 16));
}

std::string Hex(unsigned v) {
    char text[16];
    std::snprintf(text, sizeof text, "&%04X", v);
    return text;
}

[[noreturn]] void Refuse(const std::string& name, const std::string& what) {
    throw IoError(io::kInvalidData, name + ": not a level file as Mozu writes it (" + what + ")");
}

void CheckField(const std::string& name, const char* field, unsigned found, unsigned expected) {
    if (found != expected)
        Refuse(name, std::string("its header's ") + field + " is " + Hex(found) + ", not " +
                         Hex(expected));
}

}  // namespace

int LevelBackgroundWidth(int mode) {
    return kOverscanLineBytes * PixelsPerByte(ModeEncoding(mode));
}

int LevelExtraWidth(int mode) {
    return kLevelExtraLineBytes * PixelsPerByte(ModeEncoding(mode));
}

int LevelFileMode(std::span<const std::uint8_t> head) {
    if (head.size() <= kModeByte) return -1;
    const bool header = head[18] == 2 && Word(head, 21) == kLevelFileHeader.loadAddress &&
                        RealLength(head) == kLevelFileHeader.realLength;
    const int mode = head[kModeByte];
    return header && (mode == 0 || mode == 1) ? mode : -1;
}

DecodedPicture DecodeLevelFile(std::span<const std::uint8_t> file, int mode,
                               const std::string& name) {
    ByteReader r(file, name);
    if (file.size() < kLevelFileSize) r.seek(kLevelFileSize);  // raises: the file ends early
    if (file.size() > kLevelFileSize)
        Refuse(name, std::to_string(file.size()) + " bytes, not " + std::to_string(kLevelFileSize));
    if (mode != 0 && mode != 1) Refuse(name, "mode " + std::to_string(mode));

    CheckField(name, "file type", file[18], 2);
    CheckField(name, "load address", Word(file, 21), kLevelFileHeader.loadAddress);
    CheckField(name, "logical length", Word(file, 24), kLevelFileHeader.logicalLength);
    CheckField(name, "entry address", Word(file, 26), kLevelFileHeader.entryAddress);
    CheckField(name, "real length", RealLength(file), kLevelFileHeader.realLength);
    CheckField(name, "checksum", Word(file, 67), AmsdosChecksum(file.first(kAmsdosHeaderSize)));
    if (file[kModeByte] != mode)
        Refuse(name,
               "mode byte " + std::to_string(file[kModeByte]) + ", not " + std::to_string(mode));

    DecodedPicture d;
    for (int i = 0; i < 16; ++i) {
        const std::uint8_t colour = file[kPaletteOffset + 15 - static_cast<std::size_t>(i)];
        if (colour >= kFirmwareColours)
            Refuse(name, "pen " + std::to_string(i) + " has colour " + std::to_string(colour) +
                             ", which the CPC has not");
        d.firmware[static_cast<std::size_t>(i)] = colour;
    }
    if (!std::equal(file.begin() + kRepeatedPalette, file.begin() + kLevelPictureOffset,
                    file.begin() + kPaletteOffset))
        Refuse(name, "its second palette differs from the first");
    d.hasPalette = true;

    const PixelEncoding encoding = ModeEncoding(mode);
    const int backgroundWidth = LevelBackgroundWidth(mode);
    const int extraWidth = LevelExtraWidth(mode);
    PenPicture& p = d.picture;
    p.width = backgroundWidth + extraWidth;
    p.height = kOverscanLines;
    p.pens.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    const auto row = [&](int y) {
        return p.pens.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
    };
    const std::uint8_t* background = file.data() + kLevelPictureOffset;
    const std::uint8_t* extra = file.data() + kLevelExtraOffset;
    for (int y = 0; y < kOverscanLines; ++y, background += kOverscanLineBytes) {
        DecodeBytes(encoding, background, kOverscanLineBytes, row(y));
        // The extra graphics are 96 lines tall; the file holds nothing below them.
        if (y < kLevelExtraLines) {
            DecodeBytes(encoding, extra, kLevelExtraLineBytes, row(y) + backgroundWidth);
            extra += kLevelExtraLineBytes;
        } else {
            std::fill_n(row(y) + backgroundWidth, extraWidth, std::uint8_t{0});
        }
    }
    return d;
}

}  // namespace mozu
