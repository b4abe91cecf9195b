// The PC video source over FFmpeg, reading the container from memory: open, then the first,
// a middle and the last frame (frames of a size the fuzzer cannot afford are not decoded).
#include <cstdint>
#include <span>
#include <vector>

#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (mozu::QuietFfmpegLog(), true);
    (void)quiet;
    auto source = mozu::MakeFfmpegMemorySource(std::span(data, size));
    try {
        const mozu::VideoInfo info = source->open("fuzz-video");
        const std::size_t pixels =
            static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
        if (pixels > (std::size_t{1} << 20)) return 0;
        std::vector<std::uint8_t> frame(pixels * 3);
        const std::int32_t n = info.frameCount;
        for (std::int32_t index : {0, n / 2, n - 1}) source->decodeFrame(index, frame);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
