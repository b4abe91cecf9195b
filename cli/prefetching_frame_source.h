#pragma once
// A PC video frame source that decodes ahead on a thread of its own: while the caller scales,
// reduces and writes frame k, the frames it will ask for next are being decoded. `mozu-cli
// video` runs on two cores this way; the GUI keeps its one-thread ticks.
//
// The caller asks for frames at a steady step (start + step x k); the source guesses the next
// index from the last two requests and keeps at most `depth` decoded frames waiting, so memory
// stays flat however long the video. A request it did not guess is decoded on the spot and the
// guessing starts again from there. Frames come out byte for byte as the wrapped source gives
// them, errors at the frame that caused them. decodePicture hands a decoded picture over
// without copying it: the caller's picture goes back to the reader to be decoded into again.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "video/video_source.h"

namespace mozu::cli {

class PrefetchingFrameSource : public VideoFrameSource {
  public:
    explicit PrefetchingFrameSource(std::unique_ptr<VideoFrameSource> inner, int depth = 3);
    ~PrefetchingFrameSource() override;

    const VideoInfo& open(const std::string& path) override;
    void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) override;
    void decodePicture(std::int32_t index, Picture& frame,
                       std::vector<std::uint8_t>& scratch) override;
    void close() override;
    // The inner source looks with a source of its own, beside the worker's.
    bool holdsVideo(const std::string& path) override { return inner_->holdsVideo(path); }

  private:
    struct Decoded {
        std::int32_t index;
        Picture picture;
        std::exception_ptr error;
    };
    // Gives `picture` the video's size when it has another.
    void fitToVideo(Picture& picture) const;
    // Frames decoded for a guess that failed: their pictures are decoded into again.
    void recycleReady();
    void startWorker(std::int32_t from);
    void stopWorker();
    void work();

    std::unique_ptr<VideoFrameSource> inner_;
    const std::size_t depth_;
    VideoInfo info_;
    std::int32_t lastIndex_ = -1;
    std::int32_t step_ = 1;

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Decoded> ready_;          // decoded frames in the order guessed
    std::vector<Picture> spare_;         // pictures to decode into again
    std::vector<std::uint8_t> scratch_;  // the reader's for the wrapped source
    std::int32_t next_ = 0;              // the next index the worker decodes
    bool stop_ = false;
    bool idle_ = true;  // the worker has nothing more to decode (past the end, or an error)
    std::thread worker_;
};

}  // namespace mozu::cli
