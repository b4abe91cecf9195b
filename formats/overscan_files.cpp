#include "formats/overscan_files.h"

#include <algorithm>
#include <tuple>

#include "colour/colour_ops.h"
#include "formats/amsdos_header.h"
#include "formats/file_image.h"
#include "formats/file_name.h"
#include "formats/overscan_loader.h"
#include "formats/pixel_encoding.h"
#include "formats/slot_pens.h"

namespace mozu {

namespace {

constexpr AmsdosFields kOverscanHeader = {0x0660, 0x6080, kOverscanEntryAddress, 0x006080};

int LinePixels(int mode, int bytes) {
    return bytes * PixelsPerByte(ModeEncoding(mode));
}

// Lines packed one after the other.
template <class Rows>
void PackLines(const Rows& rows, int lines, int lineBytes, std::uint8_t* out) {
    for (int y = 0; y < lines; ++y, out += lineBytes) rows.pack(y, 0, lineBytes, out);
}

// Pen 15 first, pen 0 last.
std::uint8_t* PutPaletteReversed(const std::array<std::uint8_t, 16>& palette, std::uint8_t* out) {
    return std::copy(palette.rbegin(), palette.rend(), out);
}

std::uint8_t* PutHeader(const std::string& amsName, const AmsdosFields& fields, std::uint8_t* out) {
    const auto header = MakeAmsdosHeader(amsName, fields);
    return std::copy(header.begin(), header.end(), out);
}

// Everything in front of the picture. The 185 bytes after it are never read; they stay zero.
void FinishOverscanFile(int mode, const std::array<std::uint8_t, 16>& modePalette,
                        const std::string& amsName, std::uint8_t* file) {
    std::uint8_t* out = PutHeader(amsName, kOverscanHeader, file);
    *out++ = static_cast<std::uint8_t>(mode);
    out = PutPaletteReversed(modePalette, out);
    out = std::copy(kOverscanLoaderStub.begin(), kOverscanLoaderStub.end(), out);
    std::copy(kOverscanLoaderRoutine.begin(), kOverscanLoaderRoutine.end(), out);
}
static_assert(kAmsdosHeaderSize + 1 + 16 + std::tuple_size_v<decltype(kOverscanLoaderStub)> +
                  std::tuple_size_v<decltype(kOverscanLoaderRoutine)> ==
              kOverscanPictureOffset);

void FinishLevelFile(int mode, const std::array<std::uint8_t, 16>& modePalette,
                     const std::string& amsName, std::uint8_t* file) {
    std::uint8_t* out = PutHeader(amsName, kLevelFileHeader, file);
    *out++ = static_cast<std::uint8_t>(mode);
    out = PutPaletteReversed(modePalette, out);
    std::copy(modePalette.rbegin(), modePalette.rend() - 1, out);  // pens 15 down to 1
}
static_assert(kAmsdosHeaderSize + 1 + 16 + 15 == kLevelPictureOffset);
static_assert(kLevelPictureOffset + kOverscanLines * kOverscanLineBytes == kLevelExtraOffset);

template <class Rows>
void PackOverscan(const Rows& rows, std::uint8_t* file) {
    PackLines(rows, kOverscanLines, kOverscanLineBytes, file + kOverscanPictureOffset);
}

template <class Rows>
void PackLevel(const Rows& background, const Rows& extra, std::uint8_t* file) {
    PackLines(background, kOverscanLines, kOverscanLineBytes, file + kLevelPictureOffset);
    PackLines(extra, kLevelExtraLines, kLevelExtraLineBytes, file + kLevelExtraOffset);
}

void MakeOverscan(ConversionState& state, Asker& asker, const std::string& baseName, int mode) {
    const Slot slot = OverscanSlot(mode);
    // Packed, and so checked, before anything is asked or replaced.
    const SlotPenRows rows(state.picture(slot), 0, 0, LinePixels(mode, kOverscanLineBytes),
                           kOverscanLines, ModeEncoding(mode),
                           "overscan mode " + std::to_string(mode) + " picture");
    std::vector<std::uint8_t> file(kOverscanFileSize, 0);
    PackOverscan(rows, file.data());
    const std::string path = CheckFileName(asker, baseName + std::to_string(mode) + ".sca");
    MakeModePalette(state, slot);
    FinishOverscanFile(mode, state.modePalette, AMSname(path), file.data());
    WriteFileImage(path, file);
    state.saved[slot] = 1;
}

void MakeLevel(ConversionState& state, const std::string& baseName, int mode) {
    const Slot paletteSlot = OverscanSlot(mode);
    const PixelEncoding encoding = ModeEncoding(mode);
    const int width = LinePixels(mode, kOverscanLineBytes);
    const int extraWidth = LinePixels(mode, kLevelExtraLineBytes);
    const std::string what = "level mode " + std::to_string(mode) + " picture";
    // Mode 0 keeps both parts in slot 20; mode 1 takes the background from slot 5 and the extra
    // graphics from the right of slot 21.
    const SlotPenRows background(state.picture(mode == 0 ? Slot::Level0 : Slot::Overscan1), 0, 0,
                                 width, kOverscanLines, encoding, what);
    const SlotPenRows extra(state.picture(mode == 0 ? Slot::Level0 : Slot::Level1),
                            mode == 0 ? width : 368, 0, extraWidth, kLevelExtraLines, encoding,
                            what + " (extra graphics)");
    std::vector<std::uint8_t> file(kLevelFileSize, 0);
    PackLevel(background, extra, file.data());
    // No existing-file check: a level file is replaced without a question.
    const std::string path = baseName + std::to_string(mode) + ".lvl";
    MakeModePalette(state, paletteSlot);
    FinishLevelFile(mode, state.modePalette, AMSname(path), file.data());
    WriteFileImage(path, file);
    state.saved[paletteSlot] = 1;
}

}  // namespace

std::vector<std::uint8_t> BuildOverscanFile(int mode, std::span<const std::uint8_t> pens,
                                            const std::array<std::uint8_t, 16>& modePalette,
                                            const std::string& amsName) {
    std::vector<std::uint8_t> file(kOverscanFileSize, 0);
    PackOverscan(PenRows(pens, LinePixels(mode, kOverscanLineBytes), ModeEncoding(mode)),
                 file.data());
    FinishOverscanFile(mode, modePalette, amsName, file.data());
    return file;
}

std::vector<std::uint8_t> BuildLevelFile(int mode, std::span<const std::uint8_t> background,
                                         std::span<const std::uint8_t> extra,
                                         const std::array<std::uint8_t, 16>& modePalette,
                                         const std::string& amsName) {
    std::vector<std::uint8_t> file(kLevelFileSize, 0);
    PackLevel(PenRows(background, LinePixels(mode, kOverscanLineBytes), ModeEncoding(mode)),
              PenRows(extra, LinePixels(mode, kLevelExtraLineBytes), ModeEncoding(mode)),
              file.data());
    FinishLevelFile(mode, modePalette, amsName, file.data());
    return file;
}

void MakeOverscanedMode0(ConversionState& state, Asker& asker, const std::string& baseName) {
    MakeOverscan(state, asker, baseName, 0);
}
void MakeOverscanedMode1(ConversionState& state, Asker& asker, const std::string& baseName) {
    MakeOverscan(state, asker, baseName, 1);
}
void MakeOverscanedMode2(ConversionState& state, Asker& asker, const std::string& baseName) {
    MakeOverscan(state, asker, baseName, 2);
}
void MakeLevelMode0(ConversionState& state, Asker&, const std::string& baseName) {
    MakeLevel(state, baseName, 0);
}
void MakeLevelMode1(ConversionState& state, Asker&, const std::string& baseName) {
    MakeLevel(state, baseName, 1);
}

}  // namespace mozu
