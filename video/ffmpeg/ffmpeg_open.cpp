// FfmpegFrameSource: opening and closing the file, and the stream's facts (frame size, rate and
// the number of frames).

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source_impl.h"

namespace mozu::detail {

namespace {

std::string AvErrorText(int err) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return text;
}

int OpenErrorCode(int err) {
    if (err == AVERROR(ENOENT)) return io::kFileNotFound;
    if (err == AVERROR(EACCES)) return io::kAccessDenied;
    return io::kInvalidData;
}

}  // namespace

const VideoInfo& FfmpegFrameSource::open(const std::string& path) {
    close();
    path_ = path;
    try {
        openStreams();
        readInfo();
        restartFromBeginning();
    } catch (...) {
        close();
        throw;
    }
    return info_;
}

void FfmpegFrameSource::close() {
    held_.reset();
    ahead_.reset();
    scratch_.reset();
    if (sws_) sws_freeContext(sws_);
    sws_ = nullptr;
    if (packet_) av_packet_free(&packet_);
    if (decoder_) avcodec_free_context(&decoder_);
    if (fmt_) avformat_close_input(&fmt_);
    if (io_) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
    info_ = VideoInfo{};
    anchors_.clear();
    counting_ = false;
}

void FfmpegFrameSource::fail(int code, const std::string& what) const {
    throw IoError(code, what + " " + path_);
}

namespace {

constexpr int kMemoryBufferSize = 4096;

}  // namespace

void FfmpegFrameSource::openMemoryInput() {
    memoryPos_ = 0;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kMemoryBufferSize));
    if (buffer) {
        const auto read = [](void* opaque, std::uint8_t* buf, int size) -> int {
            auto* self = static_cast<FfmpegFrameSource*>(opaque);
            const std::size_t left = self->memory_.size() - self->memoryPos_;
            if (left == 0) return AVERROR_EOF;
            const std::size_t n = std::min(left, static_cast<std::size_t>(size));
            std::copy_n(self->memory_.data() + self->memoryPos_, n, buf);
            self->memoryPos_ += n;
            return static_cast<int>(n);
        };
        const auto seek = [](void* opaque, std::int64_t offset, int whence) -> std::int64_t {
            auto* self = static_cast<FfmpegFrameSource*>(opaque);
            const auto size = static_cast<std::int64_t>(self->memory_.size());
            if (whence & AVSEEK_SIZE) return size;
            std::int64_t pos = offset;
            switch (whence & ~AVSEEK_FORCE) {
                case SEEK_SET:
                    break;
                case SEEK_CUR:
                    pos += static_cast<std::int64_t>(self->memoryPos_);
                    break;
                case SEEK_END:
                    pos += size;
                    break;
                default:
                    return AVERROR(EINVAL);
            }
            if (pos < 0 || pos > size) return AVERROR(EINVAL);
            self->memoryPos_ = static_cast<std::size_t>(pos);
            return pos;
        };
        io_ = avio_alloc_context(buffer, kMemoryBufferSize, 0, this, +read, nullptr, +seek);
        if (!io_) av_free(buffer);
    }
    fmt_ = io_ ? avformat_alloc_context() : nullptr;
    if (!fmt_) fail(io::kInvalidData, "out of memory opening");
    fmt_->pb = io_;
    fmt_->flags |= AVFMT_FLAG_CUSTOM_IO;
}

void FfmpegFrameSource::openStreams() {
    if (fromMemory_) openMemoryInput();
    // With a custom I/O context fmt_ is already allocated; avformat_open_input frees it (not
    // the context) on failure.
    int err = avformat_open_input(&fmt_, fromMemory_ ? nullptr : path_.c_str(), nullptr, nullptr);
    if (err < 0) {
        fmt_ = nullptr;
        fail(OpenErrorCode(err), "cannot open video (" + AvErrorText(err) + "):");
    }
    if ((err = avformat_find_stream_info(fmt_, nullptr)) < 0)
        fail(io::kInvalidData, "cannot read the streams (" + AvErrorText(err) + ") of");
    const AVCodec* codec = nullptr;
    stream_ = av_find_best_stream(fmt_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream_ == AVERROR_DECODER_NOT_FOUND) fail(io::kInvalidData, "no decoder for the video in");
    if (stream_ < 0) fail(io::kInvalidData, "no video stream in");
    for (unsigned s = 0; s < fmt_->nb_streams; ++s)
        if (static_cast<int>(s) != stream_) fmt_->streams[s]->discard = AVDISCARD_ALL;
    AVStream* st = fmt_->streams[stream_];
    decoder_ = avcodec_alloc_context3(codec);
    if (!decoder_) fail(io::kInvalidData, "out of memory opening");
    if (avcodec_parameters_to_context(decoder_, st->codecpar) < 0)
        fail(io::kInvalidData, "bad codec parameters in");
    decoder_->thread_count = 0;  // as many as the machine has
    decoder_->pkt_timebase = st->time_base;
    if ((err = avcodec_open2(decoder_, codec, nullptr)) < 0)
        fail(io::kInvalidData, "cannot start the decoder (" + AvErrorText(err) + ") for");
    packet_ = av_packet_alloc();
    held_.reset(av_frame_alloc());
    ahead_.reset(av_frame_alloc());
    scratch_.reset(av_frame_alloc());
    if (!packet_ || !held_ || !ahead_ || !scratch_) fail(io::kInvalidData, "out of memory opening");
}

void FfmpegFrameSource::readInfo() {
    AVStream* st = fmt_->streams[stream_];
    const int w = st->codecpar->width, h = st->codecpar->height;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384)
        fail(io::kInvalidData, "no usable frame size in");
    timeBase_ = st->time_base;
    rate_ = av_guess_frame_rate(fmt_, st, nullptr);
    // Without any rate the container gives, count frames as if at 25 per second.
    if (rate_.num <= 0 || rate_.den <= 0) rate_ = AVRational{25, 1};
    info_.width = w;
    info_.height = h;
    info_.timeBase = 10000000;
    const double duration = 1e7 * rate_.den / rate_.num;
    info_.frameDuration = static_cast<std::int32_t>(std::clamp(std::nearbyint(duration), 1.0, 2e9));

    std::int64_t count = st->nb_frames;
    // Lengths estimated from time stamps or the bit rate (MPEG program and transport
    // streams) are rough: count the frames' packets instead.
    if (count <= 0 && fmt_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM)
        count = countPackets();
    // Program and transport streams stamp only some pictures, and a frame's stamp after a
    // seek may differ from the one it gets when read from the start: there frames are
    // counted from the start instead, and jumps go to key frames whose number is known.
    counting_ = (fmt_->iformat->flags & AVFMT_TS_DISCONT) != 0 ||
                fmt_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM;
    if (count <= 0) {
        double seconds = -1;
        if (st->duration > 0 && st->duration != AV_NOPTS_VALUE)
            seconds = static_cast<double>(st->duration) * av_q2d(st->time_base);
        else if (fmt_->duration > 0 && fmt_->duration != AV_NOPTS_VALUE &&
                 fmt_->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE)
            seconds = static_cast<double>(fmt_->duration) / AV_TIME_BASE;
        if (seconds > 0)
            count = static_cast<std::int64_t>(std::llround(seconds * av_q2d(rate_)));
        else
            count = countPackets();
    }
    if (count <= 0) fail(io::kInvalidData, "no video frames in");
    info_.frameCount = static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
}

std::int64_t FfmpegFrameSource::countPackets() {
    std::int64_t n = 0;
    while (av_read_frame(fmt_, packet_) >= 0) {
        if (packet_->stream_index == stream_) ++n;
        av_packet_unref(packet_);
    }
    return n;
}

}  // namespace mozu::detail
