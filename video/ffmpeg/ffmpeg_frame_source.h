#pragma once
// The video frame source over FFmpeg's libraries: any container and codec FFmpeg reads.

#include <cstdint>
#include <memory>
#include <span>

#include "video/video_source.h"

namespace mozu {

std::unique_ptr<VideoFrameSource> MakeFfmpegFrameSource();

// The same source reading its container from `bytes` through a custom I/O context rather than
// from a file: open()'s path only names it in errors. The bytes must outlive the source. It
// lets a damaged container be decoded (and fuzzed) without touching the disk.
std::unique_ptr<VideoFrameSource> MakeFfmpegMemorySource(std::span<const std::uint8_t> bytes);

// Keeps FFmpeg's own warnings (damaged streams it repairs) off the terminal; errors still show.
void QuietFfmpegLog();

}  // namespace mozu
