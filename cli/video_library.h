#pragma once
// PC video support of mozu-cli lives in a module of its own (mozu-cli-video.so, beside the
// executable), loaded on first use: converting or describing a picture never loads FFmpeg.

#include <memory>

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

inline constexpr int kVideoLibraryVersion = 1;

// The module's one exported symbol.
inline constexpr const char* kVideoLibraryEntry = "mozu_cli_video_library";

// Loads the module once (thread-safe); CliError when it cannot be found or loaded.
const VideoLibrary& LoadVideoLibrary();

}  // namespace mozu::cli
