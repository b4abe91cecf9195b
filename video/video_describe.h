#pragma once
// One-call descriptions and single frames of PC videos and SymbOS videos, for the command-line
// tool's info and export. Texts use the labels' "\n\r" line breaks.

#include <cstdint>
#include <string>

#include "colour/colour_table.h"
#include "colour/picture.h"
#include "video/video_source.h"

namespace mozu {

// "Video", the running time, the rate ("25 fps"), the size ("640x480") and "N frames".
std::string DescribePcVideo(const VideoInfo& info);
// Opens `path` with `source` and describes it; IoError when it cannot be opened.
std::string DescribePcVideoFile(VideoFrameSource& source, const std::string& path);
// Frame `index` of a PC video, rows top-down; IoError for a bad file or index.
Picture PcVideoFrame(VideoFrameSource& source, const std::string& path, std::int32_t index);

// The SymbOS video's description ("SymbOS video", time, rate, colours), its size, frame
// count, title and information; IoError for a file that is no SymbOS video.
std::string DescribeVidFile(const ColourTable& colours, const std::string& path);
// Frame `index` as the open dialog's preview shows it (16-colour frames with doubled lines).
Picture VidFileFrame(const ColourTable& colours, const std::string& path, std::int32_t index);

}  // namespace mozu
