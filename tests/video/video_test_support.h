#pragma once
// Fixtures shared by the video tests: frames that carry their own number as big black and white
// blocks (readable after lossy coding) and a video source without a file. The shared support's
// temporary folder and scripted asker come with it.

#include <cstdint>
#include <span>
#include <vector>

#include "colour/picture.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"
#include "video/video_source.h"

namespace mozu::test {

// Paints frame number `n` (0-255) as 8 columns of blocks, bit 7 on the left: white for 1,
// black for 0, in the top half; the bottom half a grey ramp so scaling has detail to sample.
void PaintFrameNumber(int n, Picture& picture);
// Reads the number back from the centres of the blocks.
int ReadFrameNumber(const Picture& picture);
// The same from a bottom-up BGR buffer of width x height.
int ReadFrameNumber(const std::vector<std::uint8_t>& bottomUp, int width, int height);

// A video source without a file: frame i is PaintFrameNumber(i mod 256) at the given size.
class FakeFrameSource : public VideoFrameSource {
  public:
    explicit FakeFrameSource(VideoInfo info) : info_(info) {}
    const VideoInfo& open(const std::string&) override { return info_; }
    void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) override;
    void close() override { ++closed; }

    std::vector<std::int32_t> asked;  // every index decodeFrame was called with
    std::int32_t failAt = -1;         // decodeFrame raises IoError for this index
    int closed = 0;

  private:
    VideoInfo info_;
};

}  // namespace mozu::test
