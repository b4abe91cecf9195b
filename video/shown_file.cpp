#include "video/shown_file.h"

#include <algorithm>

#include "colour/conversion_state.h"
#include "formats/cpc_file_reader.h"
#include "formats/shown_picture.h"
#include "platform/io_error.h"
#include "video/video_describe.h"

namespace mozu {

namespace {

// Every other line: a 16-colour SymbOS frame at its own height.
Picture HalveLines(const Picture& doubled) {
    Picture half(doubled.width(), doubled.height() / 2);
    for (int y = 0; y < half.height(); ++y)
        std::copy_n(doubled.row(2 * y), doubled.stride(), half.row(y));
    return half;
}

}  // namespace

Picture ShownFile(const ColourTable& colours, const std::string& path, FileType type,
                  const ShownFileOptions& options) {
    if (IsSymbosVideoType(type)) {
        Picture frame = VidFileFrame(colours, path, options.frame);
        return options.raw && type == FileType::Video16 ? HalveLines(frame) : frame;
    }
    if (!IsPictureFileType(type))
        throw IoError(io::kInvalidData, path + ": not a CPC or SymbOS picture file");
    // The reader fills the slot of the type it finds itself and checks the whole file first.
    ConversionState state;
    state.colourTable = colours;
    OpenCPCFile(state, path);
    const FileType found = FileTypeOfSlot(state.currentSlot);
    if (found != type) throw IoError(io::kInvalidData, path + ": not the file its name says");
    const Picture& picture = state.picture(SlotOfFileType(found));
    return options.raw ? picture : AtPixelShape(picture, PixelShapeOf(found));
}

}  // namespace mozu
