// FfmpegFrameSource: finding frame n. A cursor decodes forward from a trusted position; jumps
// seek near the frame (by time stamp, or by a key frame's byte position when frames are
// counted) and decode on from there, and the start of the file is the last resort.

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <string>
#include <vector>

#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source_impl.h"

namespace mozu::detail {

namespace {

// Frames are told apart by their time stamps: frame i is the one shown at first + i / rate.
// A forward jump of up to this many frames decodes on from the current position instead of
// seeking (the writer's steps, playback, Next).
constexpr std::int64_t kForwardLimit = 64;
// Seeks that land after the wanted frame are retried this far back, then from the start.
constexpr std::int64_t kSeekBackFrames[] = {0, 16, 64, 256, 1024};

}  // namespace

void FfmpegFrameSource::restartFromBeginning() {
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

bool FfmpegFrameSource::decodeNext(AVFrame* out) {
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

std::int64_t FfmpegFrameSource::indexOf(const AVFrame* f, std::int64_t previous) const {
    const std::int64_t ts = f->best_effort_timestamp;
    if (counting_ || ts == AV_NOPTS_VALUE) return previous + 1;
    return av_rescale_q_rnd(ts - firstTs_, timeBase_, AVRational{rate_.den, rate_.num},
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

bool FfmpegFrameSource::IsKeyFrame(const AVFrame* f) {
    return f->key_frame || f->pict_type == AV_PICTURE_TYPE_I;
}

const AVFrame* FfmpegFrameSource::locate(std::int64_t index) {
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

void FfmpegFrameSource::learn(const AVFrame* f, std::int64_t index) {
    if (!counting_ || !IsKeyFrame(f) || f->pkt_pos < 0) return;
    const auto it = std::lower_bound(anchors_.begin(), anchors_.end(), index,
                                     [](const Anchor& a, std::int64_t i) { return a.index < i; });
    if (it != anchors_.end() && it->index == index) return;
    anchors_.insert(it, Anchor{f->pkt_pos, index});
}

const FfmpegFrameSource::Anchor* FfmpegFrameSource::anchorAtOrBefore(std::int64_t index) const {
    auto it = std::upper_bound(anchors_.begin(), anchors_.end(), index,
                               [](std::int64_t i, const Anchor& a) { return i < a.index; });
    if (it == anchors_.begin()) return nullptr;
    return &*std::prev(it);
}

bool FfmpegFrameSource::seekToAnchor(const Anchor& anchor, std::int64_t wanted) {
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

const AVFrame* FfmpegFrameSource::advance(std::int64_t index) {
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

bool FfmpegFrameSource::seekNear(std::int64_t target, std::int64_t wanted) {
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

}  // namespace mozu::detail
