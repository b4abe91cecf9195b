// The read-ahead frame source of `mozu-cli video`: frames byte for byte as the source gives
// them at any step, requests it did not guess, errors at their own frame, and a bounded number
// of frames decoded ahead.

#include "cli/prefetching_frame_source.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "platform/io_error.h"

namespace mozu::cli {
namespace {

// Frame k is filled with the bytes k, k+1, k+2 ...; frame `broken` raises IoError.
class FakeSource : public VideoFrameSource {
  public:
    explicit FakeSource(std::atomic<int>& decodes, std::int32_t broken = -1)
        : decodes_(decodes), broken_(broken) {}
    const VideoInfo& open(const std::string&) override { return info_; }
    void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) override {
        ++decodes_;
        if (index == broken_) throw IoError(io::kInvalidData, "frame " + std::to_string(index));
        for (std::size_t i = 0; i < buffer.size(); ++i)
            buffer[i] = static_cast<std::uint8_t>(index + static_cast<std::int32_t>(i));
    }
    void close() override {}

  private:
    VideoInfo info_{4, 2, 10'000'000, 400'000, 60};
    std::atomic<int>& decodes_;
    std::int32_t broken_;
};

std::vector<std::uint8_t> Expected(std::int32_t index) {
    std::vector<std::uint8_t> b(4 * 2 * 3);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(index + static_cast<std::int32_t>(i));
    return b;
}

TEST(PrefetchingFrameSource, FramesAsTheSourceGivesThemAtAnyStepAndAfterJumps) {
    std::atomic<int> decodes{0};
    PrefetchingFrameSource source(std::make_unique<FakeSource>(decodes));
    source.open("x");
    std::vector<std::uint8_t> buffer(24);
    std::vector<std::int32_t> requests = {0, 5, 8, 11, 14, 17, 20, 3, 4, 5, 6, 59, 58, 7};
    for (std::int32_t k = 21; k < 57; k += 3) requests.push_back(k);
    for (std::int32_t index : requests) {
        source.decodeFrame(index, buffer);
        EXPECT_EQ(buffer, Expected(index)) << index;
    }
    source.close();
}

TEST(PrefetchingFrameSource, AnErrorComesWithItsFrameAndTheOthersStillDecode) {
    std::atomic<int> decodes{0};
    PrefetchingFrameSource source(std::make_unique<FakeSource>(decodes, 6));
    source.open("x");
    std::vector<std::uint8_t> buffer(24);
    for (std::int32_t index : {2, 4}) source.decodeFrame(index, buffer);
    EXPECT_THROW(source.decodeFrame(6, buffer), IoError);
    source.decodeFrame(8, buffer);
    EXPECT_EQ(buffer, Expected(8));
}

TEST(PrefetchingFrameSource, DecodesOnlyAFewFramesAhead) {
    std::atomic<int> decodes{0};
    PrefetchingFrameSource source(std::make_unique<FakeSource>(decodes), 3);
    source.open("x");
    std::vector<std::uint8_t> buffer(24);
    source.decodeFrame(0, buffer);
    source.decodeFrame(1, buffer);
    // Give the reader time to run as far ahead as it may.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(decodes.load(), 2 + 3 + 1);  // the two asked for, three waiting, one in hand
    EXPECT_GE(decodes.load(), 3);          // it does read ahead
}

// A picture is the frame turned the right way up, handed over rather than copied: the
// caller's picture goes back to the reader, so a long run cycles through a few pictures.
TEST(PrefetchingFrameSource, PicturesAreHandedOverAndReused) {
    std::atomic<int> decodes{0};
    PrefetchingFrameSource source(std::make_unique<FakeSource>(decodes), 3);
    source.open("x");
    Picture picture;
    std::vector<std::uint8_t> scratch;
    std::set<const std::uint8_t*> storage;
    std::vector<std::int32_t> requests;
    for (std::int32_t k = 0; k < 40; k += 2) requests.push_back(k);
    requests.insert(requests.end(), {7, 3, 59, 41, 42, 43});
    for (std::int32_t index : requests) {
        source.decodePicture(index, picture, scratch);
        ASSERT_EQ(picture.width(), 4);
        ASSERT_EQ(picture.height(), 2);
        const std::vector<std::uint8_t> bottomUp = Expected(index);
        EXPECT_TRUE(std::equal(picture.row(0), picture.row(0) + 12, bottomUp.begin() + 12))
            << index;
        EXPECT_TRUE(std::equal(picture.row(1), picture.row(1) + 12, bottomUp.begin())) << index;
        storage.insert(picture.data());
    }
    EXPECT_GE(storage.size(), 2u);      // handed over, not copied into one picture
    EXPECT_LE(storage.size(), 3u + 2);  // three waiting, one being decoded, the caller's
}

}  // namespace
}  // namespace mozu::cli
