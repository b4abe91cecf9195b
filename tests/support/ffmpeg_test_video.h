#pragma once
// Small videos made with FFmpeg's encoders, for the tests and benchmarks of the video source:
// each frame is painted by the caller, encoded with the named encoder and muxed into the
// container the file name's extension selects.

#include <functional>
#include <string>

#include "colour/picture.h"

namespace mozu::test {

struct TestVideoRecipe {
    std::string encoder;  // "mpeg4", "mpeg2video", "mjpeg", "libx264", ...
    int width = 64;
    int height = 48;
    int frames = 40;
    int fpsNum = 25;
    int fpsDen = 1;
    int gop = 10;  // frames between key frames
    int maxBFrames = 0;
    int bitRate = 0;  // 0: the encoder's quality default
};

// True when FFmpeg was built with an encoder of that name.
bool HasVideoEncoder(const std::string& name);

// Writes the video; IoError on any failure.
void WriteTestVideo(const std::string& path, const TestVideoRecipe& recipe,
                    const std::function<void(int frame, Picture& picture)>& paint);

}  // namespace mozu::test
