#include "formats/cpc_file_reader.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/count_colors.h"
#include "colour/indexed.h"
#include "colour/resize.h"
#include "formats/display_layout.h"
#include "formats/file_type_detail.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// A SymbOS graphic can hold at most the 4096 x 4096 canvas (plus headers); a file far beyond
// that is not one, and is not read into memory.
constexpr std::uint64_t kMaxSgxFileSize = 64ull * 1024 * 1024;

bool IsReadableType(std::uint8_t t) {
    return t <= 2 || (t >= 4 && t <= 6) || t == 9 || t == 11;
}

std::vector<std::uint8_t> ReadPrefix(InputFile& in, std::uint64_t bytes) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min(bytes, in.size())));
    in.readAt(0, data);
    return data;
}

DecodedPicture Decode(InputFile& in, std::uint8_t type) {
    const std::string& name = in.path();
    if (type <= 2) return DecodeScreenFile(ReadPrefix(in, kScreenFileBytesNeeded), type, name);
    if (type >= 4 && type <= 6)
        return DecodeOverscanFile(ReadPrefix(in, kOverscanFileBytesNeeded), type - 4, name);
    if (in.size() > kMaxSgxFileSize)
        throw IoError(io::kInvalidData, name + ": too large for a SymbOS graphic");
    return DecodeSgxFile(ReadPrefix(in, in.size()), type == 11, name);
}

void SetIdentity(PaletteSlot& palette, int positions) {
    for (int i = 0; i < positions; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
}

}  // namespace

std::string CpcFileDescription(std::uint8_t type, int width, int height) {
    switch (type) {
        case 0:
            return "CPC image\n\r160x200";
        case 1:
            return "CPC image\n\r320x200";
        case 2:
            return "CPC image\n\r640x200";
        case 4:
            return "CPC image\n\r184x264\n\roverscaned mode 0";
        case 5:
            return "CPC image\n\r368x264\n\roverscaned mode 1";
        case 6:
            return "CPC image\n\r736x264\n\roverscaned mode 2";
        case 9:
        case 11:
            return "SymbOS image\n\r" + std::to_string(width) + "x" + std::to_string(height) +
                   "\n\r" + (type == 9 ? "4 colors" : "16 colors");
        case 255:
            return "Undefined";
        default:
            return {};
    }
}

DecodedPicture ReadCpcPicture(const std::string& path, std::uint8_t type) {
    if (!IsReadableType(type))
        throw IoError(io::kInvalidData, "Not supported file format: " + path);
    InputFile in(path);
    return Decode(in, type);
}

std::string OpenCPCFile(ConversionState& state, const std::string& path) {
    InputFile in(path);
    const std::uint8_t type = detail::ClassifyOpenFile(in, detail::CpcKindOf(path, false));
    if (type == filetype::kVideo4 || type == filetype::kVideo16) {
        state.currentSlot = type;
        SetIdentity(state.palette(9), 4);
        SetIdentity(state.palette(11), 16);
        state.sourceSlot = type;
        return {};
    }
    if (!IsReadableType(type))
        throw IoError(io::kInvalidData, "Not supported file format: " + path);

    // Everything is read and checked before the state changes.
    const DecodedPicture decoded = Decode(in, type);
    Picture pens(decoded.picture.width, decoded.picture.height);
    for (int y = 0; y < pens.height(); ++y) {
        std::uint8_t* row = pens.row(y);
        const std::uint8_t* src =
            decoded.picture.pens.data() +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(pens.width());
        for (int x = 0; x < pens.width(); ++x) row[static_cast<std::size_t>(x) * 3 + 2] = src[x];
    }

    state.currentSlot = type;
    SetIdentity(state.palette(9), 4);
    SetIdentity(state.palette(11), 16);
    if (decoded.hasPalette) {
        PaletteSlot& palette = state.palette(type);
        std::copy(decoded.firmware.begin(), decoded.firmware.end(), palette.begin());
        Paleta2(state, type);
    }
    Picture& slot = state.picture(type);
    Indexed2BMP(state, pens, slot, type);
    state.converted[type] = 1;
    if (type == filetype::kScreenMode0 || type == filetype::kScreenMode1) CountColors(state, slot);
    state.sourceSlot = type;
    return CpcFileDescription(type, decoded.picture.width, decoded.picture.height);
}

void AdoptOpenedPicture(ConversionState& state, int fileType) {
    if (!IsReadableType(static_cast<std::uint8_t>(fileType)))
        throw std::invalid_argument("no picture slot for file type " + std::to_string(fileType));
    const Picture& shown = state.picture(fileType);
    const PictureSize size = Image5Size(fileType, shown.width(), shown.height());
    state.source =
        SamplePicture(shown, 0, 0, shown.width(), shown.height(), size.width, size.height);
    state.sourceColourCount = CountColors(state, state.source);
    state.currentSlot = static_cast<std::uint8_t>(fileType);
    state.noPicture = false;
}

}  // namespace mozu
