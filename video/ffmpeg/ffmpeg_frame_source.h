#pragma once
// The video frame source over FFmpeg's libraries: any container and codec FFmpeg reads.

#include <memory>

#include "video/video_source.h"

namespace mozu {

std::unique_ptr<VideoFrameSource> MakeFfmpegFrameSource();

// Keeps FFmpeg's own warnings (damaged streams it repairs) off the terminal; errors still show.
void QuietFfmpegLog();

}  // namespace mozu
