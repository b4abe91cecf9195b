#pragma once
// The class behind MakeFfmpegFrameSource, private to this folder. Its members live in three
// files: ffmpeg_open.cpp opens and closes the file and reads the stream's facts (size, rate,
// frame count), ffmpeg_seek.cpp finds a frame (the decoding cursor, key-frame anchors, seeks)
// and ffmpeg_frame_source.cpp answers a frame request and converts the picture.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "video/video_source.h"

namespace mozu::detail {

struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

class FfmpegFrameSource final : public VideoFrameSource {
  public:
    FfmpegFrameSource() = default;
    // Reads the container from `memory` instead of the file open() names.
    explicit FfmpegFrameSource(std::span<const std::uint8_t> memory)
        : memory_(memory), fromMemory_(true) {}
    ~FfmpegFrameSource() override { close(); }

    const VideoInfo& open(const std::string& path) override;
    void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) override;
    void decodePicture(std::int32_t index, Picture& frame,
                       std::vector<std::uint8_t>& scratch) override;
    void close() override;
    bool holdsVideo(const std::string& path) override;

  private:
    // Key frames met while counting from a known position, by their byte position.
    struct Anchor {
        std::int64_t pos;
        std::int64_t index;
    };

    [[noreturn]] void fail(int code, const std::string& what) const;

    // ---- opening and the stream's facts (ffmpeg_open.cpp)

    void openStreams();
    // A custom I/O context over memory_ handed to fmt_ before it is opened.
    void openMemoryInput();
    void readInfo();
    // The container says nothing of the length: count the video packets (no decoding).
    std::int64_t countPackets();

    // ---- the decoding cursor (ffmpeg_seek.cpp)

    // Reopens the file and decodes its first frame: the one path that never depends on how
    // seeking behaves, used at open and as the last resort of a backward jump.
    void restartFromBeginning();
    // Takes the next frame off the decoder into `out`; false at the end of the stream.
    bool decodeNext(AVFrame* out);
    std::int64_t indexOf(const AVFrame* f, std::int64_t previous) const;
    static bool IsKeyFrame(const AVFrame* f);
    // Frame `index` is the last frame (in display order) whose time stamp index is at most
    // `index`; past the last frame of the stream that is the last frame. The answer is the
    // same whichever way the cursor got there.
    const AVFrame* locate(std::int64_t index);
    void learn(const AVFrame* f, std::int64_t index);
    const Anchor* anchorAtOrBefore(std::int64_t index) const;
    // Seeks to a known key frame by its byte position; false unless the decoder then starts
    // with a key frame whose number is known and not past `wanted`.
    bool seekToAnchor(const Anchor& anchor, std::int64_t wanted);
    // Moves forward from a trusted position; nullptr when the frame lies before it.
    const AVFrame* advance(std::int64_t index);
    // Seeks to the key frame at or before `target` and decodes up to the first key frame.
    // False when that lands after `wanted` (the caller goes further back).
    bool seekNear(std::int64_t target, std::int64_t wanted);

    // ---- the picture (ffmpeg_frame_source.cpp)

    // IoError for a closed source or an index outside the video.
    void checkIndex(std::int32_t index) const;
    // Converts f to blue, green, red rows of width x 3 bytes; `firstRow` receives the top row
    // and each next row lies `step` bytes on (negative: bottom row first).
    void convert(const AVFrame* f, std::uint8_t* firstRow, int step);

    std::string path_;
    std::span<const std::uint8_t> memory_;
    bool fromMemory_ = false;  // else the file at path_
    std::size_t memoryPos_ = 0;
    AVIOContext* io_ = nullptr;
    AVFormatContext* fmt_ = nullptr;
    AVCodecContext* decoder_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* sws_ = nullptr;
    int stream_ = -1;
    VideoInfo info_;
    AVRational rate_{25, 1};
    AVRational timeBase_{1, 25};
    std::int64_t firstTs_ = 0;
    bool draining_ = false;
    bool counting_ = false;        // frames numbered by counting, not by their time stamps
    std::vector<Anchor> anchors_;  // sorted by index
    bool trusted_ = false;         // the decoder runs from a key frame and frames keep their order
    FramePtr held_;                // the last frame taken off the decoder (heldIndex_)
    FramePtr ahead_;               // a frame decoded past the last request (aheadIndex_)
    FramePtr scratch_;
    std::int64_t heldIndex_ = -1;
    std::int64_t aheadIndex_ = -1;
};

}  // namespace mozu::detail
