// The FFmpeg frame source's factory, its frame requests and the conversion of a decoded picture
// to the program's frame buffers. Opening lives in ffmpeg_open.cpp, finding a frame in
// ffmpeg_seek.cpp.

#include "video/ffmpeg/ffmpeg_frame_source.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <string>

#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source_impl.h"

namespace mozu {

namespace detail {

void FfmpegFrameSource::checkIndex(std::int32_t index) const {
    if (!fmt_) throw IoError(io::kFileNotOpen, "no video is open");
    if (index < 0 || index >= info_.frameCount)
        throw IoError(io::kReadPastEnd, "frame " + std::to_string(index) + " is outside " + path_ +
                                            " (frames 0-" + std::to_string(info_.frameCount - 1) +
                                            ")");
}

void FfmpegFrameSource::decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) {
    checkIndex(index);
    const std::size_t need =
        static_cast<std::size_t>(info_.width) * static_cast<std::size_t>(info_.height) * 3;
    if (buffer.size() != need)
        throw IoError(io::kInvalidData, "frame buffer of the wrong size for " + path_);
    const AVFrame* frame = locate(index);
    // Bottom row first: start at the last row and walk up.
    const int stride = info_.width * 3;
    convert(frame, buffer.data() + static_cast<std::size_t>(info_.height - 1) * stride, -stride);
}

void FfmpegFrameSource::decodePicture(std::int32_t index, Picture& frame,
                                      std::vector<std::uint8_t>&) {
    checkIndex(index);
    const AVFrame* f = locate(index);
    if (frame.width() != info_.width || frame.height() != info_.height)
        frame.reset(info_.width, info_.height);
    // Straight into the picture's rows, top row first: no buffer to turn over afterwards.
    convert(f, frame.data(), static_cast<int>(frame.stride()));
}

void FfmpegFrameSource::convert(const AVFrame* f, std::uint8_t* firstRow, int step) {
    sws_ = sws_getCachedContext(sws_, f->width, f->height, static_cast<AVPixelFormat>(f->format),
                                info_.width, info_.height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr,
                                nullptr, nullptr);
    if (!sws_) fail(io::kInvalidData, "cannot convert the pictures of");
    std::uint8_t* dst[4] = {firstRow, nullptr, nullptr, nullptr};
    int dstStride[4] = {step, 0, 0, 0};
    if (sws_scale(sws_, f->data, f->linesize, 0, f->height, dst, dstStride) != info_.height)
        fail(io::kInvalidData, "cannot convert the pictures of");
}

}  // namespace detail

void QuietFfmpegLog() {
    av_log_set_level(AV_LOG_ERROR);
}

std::unique_ptr<VideoFrameSource> MakeFfmpegFrameSource() {
    return std::make_unique<detail::FfmpegFrameSource>();
}

std::unique_ptr<VideoFrameSource> MakeFfmpegMemorySource(std::span<const std::uint8_t> bytes) {
    return std::make_unique<detail::FfmpegFrameSource>(bytes);
}

}  // namespace mozu
