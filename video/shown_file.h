#pragma once
// What a Mozu file shows, in one call: the picture a CPC or SymbOS picture file holds, in its
// colours and at its mode's pixel shape, or one frame of a SymbOS video. What `mozu-cli export`
// writes and what the thumbnailer scales down.

#include <cstdint>
#include <string>

#include "colour/colour_table.h"
#include "colour/picture.h"
#include "formats/file_type.h"

namespace mozu {

struct ShownFileOptions {
    std::int32_t frame = 0;  // the frame of a SymbOS video
    // One picture pixel per pixel: no pixel shape, and 16-colour video frames with their own
    // lines rather than doubled ones.
    bool raw = false;
};

// Files this can show: the CPC picture files (types 0-2, 4-6, 9, 11, 40, 41) and SymbOS videos
// (13, 14).
constexpr bool IsShownFileType(FileType type) {
    return IsPictureFileType(type) || IsSymbosVideoType(type);
}

// The picture file `path` of type `type` shows (a screen, overscan or SymbOS graphic in the
// colours of its palette, each pixel repeated to its mode's shape), or frame `options.frame`
// of a SymbOS video (16-colour frames with every line doubled, as they are shown). Reads the
// file with the core's readers and nothing else: no document, no GUI, no video library.
// IoError when the file cannot be read, ends early or is not what its type says
// (io::kInvalidData), and for a type IsShownFileType refuses.
Picture ShownFile(const ColourTable& colours, const std::string& path, FileType type,
                  const ShownFileOptions& options = {});

}  // namespace mozu
