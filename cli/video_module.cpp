// The entry of mozu-cli-video.so: the video command and FFmpeg's frame source for mozu-cli.

#include "cli/commands.h"
#include "cli/video_library.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"

namespace {

std::unique_ptr<mozu::VideoFrameSource> MakeQuietFrameSource() {
    mozu::QuietFfmpegLog();
    return mozu::MakeFfmpegFrameSource();
}

constexpr mozu::cli::VideoLibrary kLibrary{mozu::cli::kVideoLibraryVersion,
                                           mozu::cli::RunVideoCommand, MakeQuietFrameSource};

}  // namespace

extern "C" __attribute__((visibility("default"))) const mozu::cli::VideoLibrary*
mozu_cli_video_library() {
    return &kLibrary;
}
