#pragma once
// The video frame source over FFmpeg's libraries: any container and codec FFmpeg reads.

#include <memory>

#include "video/video_source.h"

namespace mozu {

std::unique_ptr<VideoFrameSource> MakeFfmpegFrameSource();

}  // namespace mozu
