#include "video/ffmpeg/ffmpeg_frame_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/io_error.h"

namespace mozu {

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

// Frames are told apart by their time stamps: frame i is the one shown at first + i / rate.
// A forward jump of up to this many frames decodes on from the current position instead of
// seeking (the writer's steps, playback, Next).
constexpr std::int64_t kForwardLimit = 64;
// Seeks that land after the wanted frame are retried this far back, then from the start.
constexpr std::int64_t kSeekBackFrames[] = {0, 16, 64, 256, 1024};

struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

class FfmpegFrameSource final : public VideoFrameSource {
  public:
    ~FfmpegFrameSource() override { close(); }

    const VideoInfo& open(const std::string& path) override {
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

    void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) override {
        if (!fmt_) throw IoError(io::kFileNotOpen, "no video is open");
        if (index < 0 || index >= info_.frameCount)
            throw IoError(io::kReadPastEnd, "frame " + std::to_string(index) + " is outside " +
                                                path_ + " (frames 0-" +
                                                std::to_string(info_.frameCount - 1) + ")");
        const std::size_t need =
            static_cast<std::size_t>(info_.width) * static_cast<std::size_t>(info_.height) * 3;
        if (buffer.size() != need)
            throw IoError(io::kInvalidData, "frame buffer of the wrong size for " + path_);
        const AVFrame* frame = locate(index);
        convert(frame, buffer);
    }

    void close() override {
        held_.reset();
        ahead_.reset();
        scratch_.reset();
        if (sws_) sws_freeContext(sws_);
        sws_ = nullptr;
        if (packet_) av_packet_free(&packet_);
        if (decoder_) avcodec_free_context(&decoder_);
        if (fmt_) avformat_close_input(&fmt_);
        info_ = VideoInfo{};
        anchors_.clear();
        counting_ = false;
    }

  private:
    [[noreturn]] void fail(int code, const std::string& what) const {
        throw IoError(code, what + " " + path_);
    }

    void openStreams() {
        int err = avformat_open_input(&fmt_, path_.c_str(), nullptr, nullptr);
        if (err < 0) {
            fmt_ = nullptr;
            fail(OpenErrorCode(err), "cannot open video (" + AvErrorText(err) + "):");
        }
        if ((err = avformat_find_stream_info(fmt_, nullptr)) < 0)
            fail(io::kInvalidData, "cannot read the streams (" + AvErrorText(err) + ") of");
        const AVCodec* codec = nullptr;
        stream_ = av_find_best_stream(fmt_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
        if (stream_ == AVERROR_DECODER_NOT_FOUND)
            fail(io::kInvalidData, "no decoder for the video in");
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
        if (!packet_ || !held_ || !ahead_ || !scratch_)
            fail(io::kInvalidData, "out of memory opening");
    }

    void readInfo() {
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
        info_.frameDuration =
            static_cast<std::int32_t>(std::clamp(std::nearbyint(duration), 1.0, 2e9));

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

    // The container says nothing of the length: count the video packets (no decoding).
    std::int64_t countPackets() {
        std::int64_t n = 0;
        while (av_read_frame(fmt_, packet_) >= 0) {
            if (packet_->stream_index == stream_) ++n;
            av_packet_unref(packet_);
        }
        return n;
    }

    // ---- the decoding cursor

    // Reopens the file and decodes its first frame: the one path that never depends on how
    // seeking behaves, used at open and as the last resort of a backward jump.
    void restartFromBeginning() {
        const std::string path = path_;
        const VideoInfo info = info_;
        const AVRational rate = rate_;
        const bool counting = counting_;
        std::vector<Anchor> anchors = std::move(anchors_);
        close();
        path_ = path;
        openStreams();
        info_ = info;
        rate_ = rate;
        counting_ = counting;
        anchors_ = std::move(anchors);
        timeBase_ = fmt_->streams[stream_]->time_base;
        draining_ = false;
        heldIndex_ = -1;
        aheadIndex_ = -1;
        if (!decodeNext(scratch_.get())) fail(io::kInvalidData, "cannot decode the video in");
        const std::int64_t ts = scratch_->best_effort_timestamp;
        firstTs_ = ts == AV_NOPTS_VALUE ? 0 : ts;
        aheadIndex_ = 0;
        av_frame_move_ref(ahead_.get(), scratch_.get());
        trusted_ = true;
        learn(ahead_.get(), 0);
    }

    // Takes the next frame off the decoder into `out`; false at the end of the stream.
    bool decodeNext(AVFrame* out) {
        int badPackets = 0;
        int badPictures = 0;
        for (;;) {
            int err = avcodec_receive_frame(decoder_, out);
            if (err == 0) return true;
            if (err == AVERROR_EOF) return false;
            if (err != AVERROR(EAGAIN)) {  // a broken picture: go on with the next
                if (++badPictures > 1000) return false;
                continue;
            }
            if (draining_) return false;
            err = av_read_frame(fmt_, packet_);
            if (err < 0) {
                draining_ = true;
                avcodec_send_packet(decoder_, nullptr);
                continue;
            }
            if (packet_->stream_index == stream_) {
                err = avcodec_send_packet(decoder_, packet_);
                // Corrupt packets are skipped; a stream of nothing else is not a video.
                if (err < 0 && err != AVERROR(EAGAIN) && ++badPackets > 1000) {
                    av_packet_unref(packet_);
                    return false;
                }
            }
            av_packet_unref(packet_);
        }
    }

    std::int64_t indexOf(const AVFrame* f, std::int64_t previous) const {
        const std::int64_t ts = f->best_effort_timestamp;
        if (counting_ || ts == AV_NOPTS_VALUE) return previous + 1;
        return av_rescale_q_rnd(ts - firstTs_, timeBase_, AVRational{rate_.den, rate_.num},
                                static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
    }

    static bool IsKeyFrame(const AVFrame* f) {
        return f->key_frame || f->pict_type == AV_PICTURE_TYPE_I;
    }

    // Frame `index` is the last frame (in display order) whose time stamp index is at most
    // `index`; past the last frame of the stream that is the last frame. The answer is the
    // same whichever way the cursor got there.
    const AVFrame* locate(std::int64_t index) {
        const std::int64_t at = heldIndex_ >= 0 ? heldIndex_ : aheadIndex_;
        const bool forward = trusted_ && at >= 0 && at <= index;
        if (forward && index - at <= kForwardLimit)
            if (const AVFrame* f = advance(index)) return f;
        if (counting_) {
            const Anchor* a = anchorAtOrBefore(index);
            if (a && (!forward || a->index > at) && seekToAnchor(*a, index))
                if (const AVFrame* f = advance(index)) return f;
            // Nothing known nearer: decode on from here, or from the start.
            if (!forward || !trusted_) restartFromBeginning();
            if (const AVFrame* f = advance(index)) return f;
            fail(io::kInvalidData, "cannot decode frame " + std::to_string(index) + " of");
        }
        for (const std::int64_t back : kSeekBackFrames) {
            const std::int64_t target = index - back;
            if (target <= 0) break;
            if (seekNear(target, index))
                if (const AVFrame* f = advance(index)) return f;
        }
        restartFromBeginning();
        if (const AVFrame* f = advance(index)) return f;
        fail(io::kInvalidData, "cannot decode frame " + std::to_string(index) + " of");
    }

    // Key frames met while counting from a known position, by their byte position.
    struct Anchor {
        std::int64_t pos;
        std::int64_t index;
    };

    void learn(const AVFrame* f, std::int64_t index) {
        if (!counting_ || !IsKeyFrame(f) || f->pkt_pos < 0) return;
        const auto it =
            std::lower_bound(anchors_.begin(), anchors_.end(), index,
                             [](const Anchor& a, std::int64_t i) { return a.index < i; });
        if (it != anchors_.end() && it->index == index) return;
        anchors_.insert(it, Anchor{f->pkt_pos, index});
    }

    const Anchor* anchorAtOrBefore(std::int64_t index) const {
        auto it = std::upper_bound(anchors_.begin(), anchors_.end(), index,
                                   [](std::int64_t i, const Anchor& a) { return i < a.index; });
        if (it == anchors_.begin()) return nullptr;
        return &*std::prev(it);
    }

    // Seeks to a known key frame by its byte position; false unless the decoder then starts
    // with a key frame whose number is known and not past `wanted`.
    bool seekToAnchor(const Anchor& anchor, std::int64_t wanted) {
        trusted_ = false;
        heldIndex_ = aheadIndex_ = -1;
        av_frame_unref(held_.get());
        av_frame_unref(ahead_.get());
        if (av_seek_frame(fmt_, stream_, anchor.pos, AVSEEK_FLAG_BYTE) < 0) return false;
        avcodec_flush_buffers(decoder_);
        draining_ = false;
        while (decodeNext(scratch_.get())) {
            if (IsKeyFrame(scratch_.get())) {
                const std::int64_t pos = scratch_->pkt_pos;
                const auto it = std::find_if(anchors_.begin(), anchors_.end(),
                                             [&](const Anchor& a) { return a.pos == pos; });
                if (it == anchors_.end() || it->index > wanted) return false;
                av_frame_move_ref(ahead_.get(), scratch_.get());
                aheadIndex_ = it->index;
                trusted_ = true;
                return true;
            }
            av_frame_unref(scratch_.get());
        }
        return false;
    }

    // Moves forward from a trusted position; nullptr when the frame lies before it.
    const AVFrame* advance(std::int64_t index) {
        for (;;) {
            if (aheadIndex_ >= 0) {
                if (aheadIndex_ > index) return heldIndex_ >= 0 ? held_.get() : nullptr;
                av_frame_unref(held_.get());
                av_frame_move_ref(held_.get(), ahead_.get());
                heldIndex_ = aheadIndex_;
                aheadIndex_ = -1;
                if (heldIndex_ == index) return held_.get();
            }
            if (!decodeNext(ahead_.get())) {
                trusted_ = heldIndex_ >= 0;  // at the end: the last frame stands for the rest
                return heldIndex_ >= 0 ? held_.get() : nullptr;
            }
            aheadIndex_ = std::max(indexOf(ahead_.get(), heldIndex_), heldIndex_);
            learn(ahead_.get(), aheadIndex_);
        }
    }

    // Seeks to the key frame at or before `target` and decodes up to the first key frame.
    // False when that lands after `wanted` (the caller goes further back).
    bool seekNear(std::int64_t target, std::int64_t wanted) {
        const std::int64_t ts =
            firstTs_ + av_rescale_q(target, AVRational{rate_.den, rate_.num}, timeBase_);
        trusted_ = false;
        heldIndex_ = aheadIndex_ = -1;
        av_frame_unref(held_.get());
        av_frame_unref(ahead_.get());
        if (av_seek_frame(fmt_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0) return false;
        avcodec_flush_buffers(decoder_);
        draining_ = false;
        // Pictures before the first key frame after a seek lack their references: drop them.
        while (decodeNext(scratch_.get())) {
            if (scratch_->best_effort_timestamp == AV_NOPTS_VALUE) return false;
            const std::int64_t i = indexOf(scratch_.get(), -1);
            if (i > wanted) return false;
            if (IsKeyFrame(scratch_.get())) {
                av_frame_move_ref(ahead_.get(), scratch_.get());
                aheadIndex_ = i;
                trusted_ = true;
                return true;
            }
            av_frame_unref(scratch_.get());
        }
        return false;
    }

    void convert(const AVFrame* f, std::span<std::uint8_t> buffer) {
        sws_ = sws_getCachedContext(
            sws_, f->width, f->height, static_cast<AVPixelFormat>(f->format), info_.width,
            info_.height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!sws_) fail(io::kInvalidData, "cannot convert the pictures of");
        // Bottom row first: start at the last row and walk up.
        const int stride = info_.width * 3;
        std::uint8_t* dst[4] = {buffer.data() + static_cast<std::size_t>(info_.height - 1) * stride,
                                nullptr, nullptr, nullptr};
        int dstStride[4] = {-stride, 0, 0, 0};
        if (sws_scale(sws_, f->data, f->linesize, 0, f->height, dst, dstStride) != info_.height)
            fail(io::kInvalidData, "cannot convert the pictures of");
    }

    std::string path_;
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

}  // namespace

void QuietFfmpegLog() {
    av_log_set_level(AV_LOG_ERROR);
}

std::unique_ptr<VideoFrameSource> MakeFfmpegFrameSource() {
    return std::make_unique<FfmpegFrameSource>();
}

}  // namespace mozu
