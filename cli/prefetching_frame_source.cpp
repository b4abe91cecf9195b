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
    frameBytes_ =
        static_cast<std::size_t>(info_.width) * static_cast<std::size_t>(info_.height) * 3;
    lastIndex_ = -1;
    step_ = 1;
    return info_;
}

void PrefetchingFrameSource::close() {
    stopWorker();
    inner_->close();
}

void PrefetchingFrameSource::decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) {
    if (index > lastIndex_ && lastIndex_ >= 0) step_ = index - lastIndex_;
    lastIndex_ = index;
    if (worker_.joinable()) {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return !ready_.empty() || idle_; });
        if (!ready_.empty() && ready_.front().index == index) {
            Decoded frame = std::move(ready_.front());
            ready_.pop_front();
            changed_.notify_all();
            hold.unlock();
            if (frame.error) std::rethrow_exception(frame.error);
            std::memcpy(buffer.data(), frame.pixels.data(),
                        std::min(buffer.size(), frame.pixels.size()));
            hold.lock();
            spare_.push_back(std::move(frame.pixels));
            return;
        }
    }
    // Not the frame guessed: decode it here and guess again from it.
    stopWorker();
    inner_->decodeFrame(index, buffer);
    startWorker(index + step_);
}

void PrefetchingFrameSource::startWorker(std::int32_t from) {
    if (from >= info_.frameCount || from < 0) return;
    ready_.clear();
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
    ready_.clear();
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
        std::vector<std::uint8_t> pixels;
        if (!spare_.empty()) {
            pixels = std::move(spare_.back());
            spare_.pop_back();
        }
        hold.unlock();
        pixels.resize(frameBytes_);
        std::exception_ptr error;
        try {
            inner_->decodeFrame(index, pixels);
        } catch (...) {
            error = std::current_exception();
        }
        hold.lock();
        ready_.push_back({index, std::move(pixels), error});
        changed_.notify_all();
        if (error) break;
    }
    idle_ = true;
    changed_.notify_all();
}

}  // namespace mozu::cli
