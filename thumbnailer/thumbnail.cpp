#include "thumbnailer/thumbnail.h"

#include <algorithm>

#include "colour/colour_table.h"
#include "colour/resize.h"
#include "formats/file_type.h"
#include "media/png_file.h"
#include "platform/io_error.h"
#include "video/shown_file.h"

namespace mozu {

ThumbnailSize FitThumbnail(int width, int height, int size) {
    if (width <= 0 || height <= 0 || size <= 0) return {};
    const int longer = std::max(width, height);
    const int target = std::min(size, longer);
    // Rounded to the nearest pixel, in 64 bits: a 4096-pixel side times a large size fits.
    auto scaled = [&](int side) {
        const long long s = (static_cast<long long>(side) * target + longer / 2) / longer;
        return static_cast<int>(std::max(1LL, s));
    };
    return {scaled(width), scaled(height)};
}

Picture MakeThumbnail(const Picture& shown, int size) {
    const ThumbnailSize fit = FitThumbnail(shown.width(), shown.height(), size);
    if (fit.width == shown.width() && fit.height == shown.height()) return shown;
    return SamplePicture(shown, 0, 0, shown.width(), shown.height(), fit.width, fit.height);
}

void WriteThumbnail(const std::string& input, const std::string& output, int size) {
    const FileType type = IsSupportedFile(input);
    if (!IsShownFileType(type))
        throw IoError(io::kInvalidData, input + ": not a CPC or SymbOS file Mozu shows");
    // The first frame of a video; a picture file as it looks on its machine.
    const Picture shown = ShownFile(kDefaultColourTable, input, type);
    WritePng(output, MakeThumbnail(shown, size));
}

}  // namespace mozu
