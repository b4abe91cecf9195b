#include "formats/cpc_file_reader.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/count_colors.h"
#include "colour/indexed.h"
#include "colour/resize.h"
#include "formats/file_type_detail.h"
#include "formats/level_reader.h"
#include "formats/overscan_files.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// A SymbOS graphic can hold at most the 4096 x 4096 canvas (plus headers); a file far beyond
// that is not one, and is not read into memory.
constexpr std::uint64_t kMaxSgxFileSize = 64ull * 1024 * 1024;

std::vector<std::uint8_t> ReadPrefix(InputFile& in, std::uint64_t bytes) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min(bytes, in.size())));
    in.readAt(0, data);
    return data;
}

DecodedPicture Decode(InputFile& in, FileType type) {
    const std::string& name = in.path();
    switch (type) {
        case FileType::ScreenMode0:
        case FileType::ScreenMode1:
        case FileType::ScreenMode2:
            return DecodeScreenFile(ReadPrefix(in, kScreenFileBytesNeeded), FileTypeNumber(type),
                                    name);
        case FileType::OverscanMode0:
        case FileType::OverscanMode1:
        case FileType::OverscanMode2:
            return DecodeOverscanFile(
                ReadPrefix(in, kOverscanFileBytesNeeded),
                FileTypeNumber(type) - FileTypeNumber(FileType::OverscanMode0), name);
        case FileType::LevelMode0:
        case FileType::LevelMode1:
            // One byte more than a level file, so that a longer file is seen as one.
            return DecodeLevelFile(ReadPrefix(in, kLevelFileSize + 1),
                                   type == FileType::LevelMode0 ? 0 : 1, name);
        default:
            break;
    }
    if (in.size() > kMaxSgxFileSize)
        throw IoError(io::kInvalidData, name + ": too large for a SymbOS graphic");
    return DecodeSgxFile(ReadPrefix(in, in.size()), type == FileType::Sgx16, name);
}

void SetIdentity(PaletteSlot& palette, int positions) {
    for (int i = 0; i < positions; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
}

// Columns x0 .. x0 + width - 1 of the pens as an index picture (pen in the red channel).
Picture PenColumns(const PenPicture& pens, int x0, int width) {
    Picture out(width, pens.height);
    for (int y = 0; y < pens.height; ++y) {
        std::uint8_t* row = out.row(y);
        const std::uint8_t* src =
            pens.pens.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pens.width) +
            static_cast<std::size_t>(x0);
        for (int x = 0; x < width; ++x) row[static_cast<std::size_t>(x) * 3 + 2] = src[x];
    }
    return out;
}

int LevelMode(FileType type) {
    return type == FileType::LevelMode0 ? 0 : 1;
}

void StoreReadLevel(ConversionState& state, Slot slot, FileType type,
                    const DecodedPicture& decoded);

}  // namespace

PictureSize OpenedSourceSize(Slot type, int w, int h) {
    switch (type) {
        case Slot::Mode0:
        case Slot::Mode1:
            return {320, 200};
        case Slot::Mode2:
            return {640, 200};
        case Slot::Overscan0:
        case Slot::Overscan1:
        case Slot::Level0:  // the background alone, as its overscan picture
        case Slot::Level1:
            return {368, 264};
        case Slot::Overscan2:
            return {736, 264};
        case Slot::SgxCpcFree:
        case Slot::SgxMsxFree:
            return {w, h};
        default:
            return {};
    }
}

std::string CpcFileDescription(FileType type, int width, int height) {
    switch (type) {
        case FileType::ScreenMode0:
            return "CPC image\n\r160x200";
        case FileType::ScreenMode1:
            return "CPC image\n\r320x200";
        case FileType::ScreenMode2:
            return "CPC image\n\r640x200";
        case FileType::OverscanMode0:
            return "CPC image\n\r184x264\n\roverscaned mode 0";
        case FileType::OverscanMode1:
            return "CPC image\n\r368x264\n\roverscaned mode 1";
        case FileType::OverscanMode2:
            return "CPC image\n\r736x264\n\roverscaned mode 2";
        case FileType::Sgx4:
        case FileType::Sgx16:
            return "SymbOS image\n\r" + std::to_string(width) + "x" + std::to_string(height) +
                   "\n\r" + (type == FileType::Sgx4 ? "4 colors" : "16 colors");
        case FileType::LevelMode0:
            return "CPC level\n\r184x264 + 48x96\n\rmode 0";
        case FileType::LevelMode1:
            return "CPC level\n\r368x264 + 96x96\n\rmode 1";
        case FileType::Unsupported:
            return "Undefined";
        default:
            return {};
    }
}

DecodedPicture ReadCpcPicture(const std::string& path, FileType type) {
    if (!IsPictureFileType(type))
        throw IoError(io::kInvalidData, "Not supported file format: " + path);
    InputFile in(path);
    return Decode(in, type);
}

std::string OpenCPCFile(ConversionState& state, const std::string& path) {
    InputFile in(path);
    const FileType type = detail::ClassifyOpenFile(in, detail::CpcKindOf(path, false));
    const Slot slot = SlotOfFileType(type);
    if (IsSymbosVideoType(type)) {
        state.currentSlot = slot;
        SetIdentity(state.palette(Slot::SgxCpcFree), 4);
        SetIdentity(state.palette(Slot::SgxMsxFree), 16);
        state.sourceSlot = slot;
        return {};
    }
    if (!IsPictureFileType(type))
        throw IoError(io::kInvalidData, "Not supported file format: " + path);

    // Everything is read and checked before the state changes.
    const DecodedPicture decoded = Decode(in, type);
    if (IsLevelFileType(type)) {
        StoreReadLevel(state, slot, type, decoded);
    } else {
        StoreReadPicture(state, slot, decoded);
        if (type == FileType::ScreenMode0 || type == FileType::ScreenMode1)
            CountColors(state, state.picture(slot));
    }
    return CpcFileDescription(type, decoded.picture.width, decoded.picture.height);
}

void StoreReadPicture(ConversionState& state, Slot slot, const DecodedPicture& decoded) {
    const Picture pens = PenColumns(decoded.picture, 0, decoded.picture.width);
    state.currentSlot = slot;
    SetIdentity(state.palette(Slot::SgxCpcFree), 4);
    SetIdentity(state.palette(Slot::SgxMsxFree), 16);
    if (decoded.hasPalette) {
        PaletteSlot& palette = state.palette(slot);
        std::copy(decoded.firmware.begin(), decoded.firmware.end(), palette.begin());
        PaletteFromFirmware(state, slot);
    }
    Indexed2BMP(state, pens, state.picture(slot), slot);
    state.converted[slot] = 1;
    state.sourceSlot = slot;
}

namespace {

// A level picture is written with its overscan slot's palette, and the mode 1 writer takes the
// background from the overscan slot: both get what the file holds, so that saving again writes
// the same level file. The level slot is the one converted.
void StoreReadLevel(ConversionState& state, Slot slot, FileType type,
                    const DecodedPicture& decoded) {
    const Picture pens = PenColumns(decoded.picture, 0, decoded.picture.width);
    state.currentSlot = slot;
    SetIdentity(state.palette(Slot::SgxCpcFree), 4);
    SetIdentity(state.palette(Slot::SgxMsxFree), 16);
    const int mode = LevelMode(type);
    const Slot overscan = OverscanSlot(mode);
    PaletteSlot& palette = state.palette(overscan);
    std::copy(decoded.firmware.begin(), decoded.firmware.end(), palette.begin());
    PaletteFromFirmware(state, overscan);
    std::copy_n(palette.begin(), 16, state.palette(slot).begin());
    Indexed2BMP(state, pens, state.picture(slot), overscan);
    Indexed2BMP(state, PenColumns(decoded.picture, 0, LevelBackgroundWidth(mode)),
                state.picture(overscan), overscan);
    state.converted[slot] = 1;
    state.sourceSlot = slot;
}

}  // namespace

void AdoptOpenedPicture(ConversionState& state, FileType fileType) {
    if (!IsPictureFileType(fileType))
        throw std::invalid_argument("no picture slot for file type " +
                                    std::to_string(FileTypeNumber(fileType)));
    const Slot slot = SlotOfFileType(fileType);
    const Picture& shown = state.picture(slot);
    const PictureSize size = OpenedSourceSize(slot, shown.width(), shown.height());
    // A level file's source is its background; the extra graphics beside it are no part of
    // the picture to convert again.
    const int width =
        IsLevelFileType(fileType) ? LevelBackgroundWidth(LevelMode(fileType)) : shown.width();
    state.source = SamplePicture(shown, 0, 0, width, shown.height(), size.width, size.height);
    state.sourceColourCount = CountColors(state, state.source);
    state.currentSlot = slot;
    state.noPicture = false;
}

}  // namespace mozu
