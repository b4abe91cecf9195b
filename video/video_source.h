#pragma once
// The PC video frame source as the program relies on it: open a file by path and learn its
// size, rate and length; decode any frame by index; close. The FFmpeg implementation lives in
// video/ffmpeg (MakeFfmpegFrameSource); tests may supply their own.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu {

// What the program reads of an open video: five 32-bit numbers in this order.
struct VideoInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t timeBase = 0;       // time units per second (10,000,000: units of 100 ns)
    std::int32_t frameDuration = 0;  // one frame in time units
    std::int32_t frameCount = 0;
};

class VideoFrameSource {
  public:
    virtual ~VideoFrameSource() = default;
    // Opens the file (closing any video this source had open). IoError naming the file when it
    // cannot be opened, holds no video stream or cannot be decoded.
    virtual const VideoInfo& open(const std::string& path) = 0;
    // Decodes frame `index` into `buffer`: width x height pixels of blue, green, red, rows packed
    // at width x 3 bytes, the BOTTOM row first. buffer.size() must be width x height x 3.
    // IoError for an index outside 0 .. frameCount - 1, a closed source or undecodable data.
    virtual void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) = 0;
    // The same frame as a picture, top row first, into `frame`, which has the video's size.
    // This default decodes into `scratch` (resized to fit) and turns the rows over; a source
    // that can write the picture straight, or hand over one it decoded ahead, saves those two
    // passes over every pixel and leaves `scratch` alone. The same errors as decodeFrame.
    virtual void decodePicture(std::int32_t index, Picture& frame,
                               std::vector<std::uint8_t>& scratch);
    virtual void close() = 0;
    // Whether `path` holds a video this source could open, judged by the file's contents and not
    // its name: for a file whose extension names no kind Mozu knows. A picture, a sound or
    // anything with fewer than two frames is no video. Whatever video this source has open stays
    // open. A source that cannot look into files says false.
    virtual bool holdsVideo(const std::string& path) {
        (void)path;
        return false;
    }
};

}  // namespace mozu
