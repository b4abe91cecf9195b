#pragma once
// PC video support of mozu-cli lives in a module of its own (mozu-cli-video.so, beside the
// executable), loaded on first use: converting or describing a picture never loads FFmpeg.

#include <memory>
#include <string>

#include "formats/file_type.h"
#include "video/video_source.h"

namespace mozu::cli {

// What the module offers; filled in by the module, read by mozu-cli.
struct VideoLibrary {
    int version;
    // `mozu-cli video ...`: argv[0] is "video".
    int (*runVideoCommand)(int argc, char** argv);
    // An FFmpeg frame source with FFmpeg's own log silenced.
    std::unique_ptr<VideoFrameSource> (*makeFrameSource)();
};

inline constexpr int kVideoLibraryVersion = 2;  // 2: frame sources can look into files

// The module's one exported symbol.
inline constexpr const char* kVideoLibraryEntry = "mozu_cli_video_library";

// Loads the module once (thread-safe); CliError when it cannot be found or loaded.
const VideoLibrary& LoadVideoLibrary();

// The file's type as the window recognises it: by name and first bytes, and a file none of
// those rules takes (type 255) looked into by the video module, which is loaded only then, and
// taken for a PC video (22) when it holds one. Without the module such a file stays type 255.
FileType RecogniseAnyFile(const std::string& path);

}  // namespace mozu::cli
