#include "cli/prefetching_frame_source.h"

#include <algorithm>
#include <cstring>

namespace mozu::cli {

PrefetchingFrameSource::PrefetchingFrameSource(std::unique_ptr<VideoFrameSource> inner, int depth)
    : inner_(std::move(inner)), depth_(static_cast<std::size_t>(std::max(1, depth))) {}

PrefetchingFrameSource::~PrefetchingFrameSource() {
    stopWorker();
}

const VideoInfo& PrefetchingFrameSource::open(const std::string& path) {
    stopWorker();
    info_ = inner_->open(path);
    spare_.clear();
    lastIndex_ = -1;
    step_ = 1;
    return info_;
}

void PrefetchingFrameSource::close() {
    stopWorker();
    inner_->close();
}

void PrefetchingFrameSource::decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) {
    Picture frame(info_.width, info_.height);
    std::vector<std::uint8_t> scratch;
    decodePicture(index, frame, scratch);
    // Bottom row first.
    const std::size_t stride = frame.stride();
    for (int y = 0; y < frame.height(); ++y) {
        const std::size_t at = static_cast<std::size_t>(frame.height() - 1 - y) * stride;
        if (at + stride > buffer.size()) continue;
        std::memcpy(buffer.data() + at, frame.row(y), stride);
    }
}

void PrefetchingFrameSource::decodePicture(std::int32_t index, Picture& frame,
                                           std::vector<std::uint8_t>& scratch) {
    if (index > lastIndex_ && lastIndex_ >= 0) step_ = index - lastIndex_;
    lastIndex_ = index;
    if (worker_.joinable()) {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return !ready_.empty() || idle_; });
        if (!ready_.empty() && ready_.front().index == index) {
            Decoded decoded = std::move(ready_.front());
            ready_.pop_front();
            changed_.notify_all();
            hold.unlock();
            if (decoded.error) std::rethrow_exception(decoded.error);
            // The caller's picture goes back to the reader.
            std::swap(frame, decoded.picture);
            hold.lock();
            spare_.push_back(std::move(decoded.picture));
            return;
        }
    }
    // Not the frame guessed: decode it here and guess again from it.
    stopWorker();
    fitToVideo(frame);
    inner_->decodePicture(index, frame, scratch);
    startWorker(index + step_);
}

void PrefetchingFrameSource::fitToVideo(Picture& picture) const {
    if (picture.width() != info_.width || picture.height() != info_.height)
        picture.reset(info_.width, info_.height);
}

void PrefetchingFrameSource::recycleReady() {
    for (Decoded& frame : ready_) spare_.push_back(std::move(frame.picture));
    ready_.clear();
}

void PrefetchingFrameSource::startWorker(std::int32_t from) {
    if (from >= info_.frameCount || from < 0) return;
    recycleReady();
    next_ = from;
    stop_ = false;
    idle_ = false;
    worker_ = std::thread([this] { work(); });
}

void PrefetchingFrameSource::stopWorker() {
    if (!worker_.joinable()) return;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
    recycleReady();
    idle_ = true;
}

void PrefetchingFrameSource::work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [&] { return stop_ || ready_.size() < depth_; });
        if (stop_) break;
        if (next_ >= info_.frameCount) break;
        const std::int32_t index = next_;
        next_ += step_;
        Picture picture;
        if (!spare_.empty()) {
            picture = std::move(spare_.back());
            spare_.pop_back();
        }
        hold.unlock();
        std::exception_ptr error;
        try {
            fitToVideo(picture);
            inner_->decodePicture(index, picture, scratch_);
        } catch (...) {
            error = std::current_exception();
        }
        hold.lock();
        ready_.push_back({index, std::move(picture), error});
        changed_.notify_all();
        if (error) break;
    }
    idle_ = true;
    changed_.notify_all();
}

}  // namespace mozu::cli
