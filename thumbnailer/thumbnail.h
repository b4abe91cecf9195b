#pragma once
// The thumbnail of a Mozu file: what the file shows (video/shown_file.h), fitted into a square
// of the size a file manager asks for.

#include <string>

#include "colour/picture.h"

namespace mozu {

struct ThumbnailSize {
    int width = 0, height = 0;
};

// The size of the thumbnail of a width x height picture in a size x size square: the
// proportions kept, the longer side `size`, never larger than the picture itself (a file
// manager scales small thumbnails up better than a guess made here), at least 1 x 1.
ThumbnailSize FitThumbnail(int width, int height, int size);

// `shown` sampled down to FitThumbnail's size: every thumbnail pixel is one of the picture's
// pixels, so the thumbnail keeps the CPC's own colours rather than blends of them.
Picture MakeThumbnail(const Picture& shown, int size);

// Reads `input` (a CPC picture file or a SymbOS video, recognised as Mozu recognises it) and
// writes its thumbnail to `output` as PNG. The PNG is written beside `output` and renamed into
// place only when complete. IoError for a file Mozu does not show, a damaged file or a failed
// write; then nothing is written.
void WriteThumbnail(const std::string& input, const std::string& output, int size);

}  // namespace mozu
