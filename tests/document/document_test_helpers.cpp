#include "document/document_test_support.h"

#include "platform/io_error.h"

namespace mozu::test {

std::string SamplePath() {
    return std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg";
}

FlatFrameSource::FlatFrameSource(std::int32_t frames) {
    info_.width = 64;
    info_.height = 48;
    info_.timeBase = 10000000;
    info_.frameDuration = 400000;
    info_.frameCount = frames;
}

const VideoInfo& FlatFrameSource::open(const std::string& path) {
    if (path.find("broken") != std::string::npos) throw IoError(io::kInvalidData, path);
    ++opened;
    return info_;
}

void FlatFrameSource::decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) {
    if (index < 0 || index >= info_.frameCount) throw IoError(io::kReadPastEnd, "frame");
    for (std::size_t i = 0; i < buffer.size(); i += 3) {
        buffer[i] = 40;                                         // blue
        buffer[i + 1] = 80;                                     // green
        buffer[i + 2] = static_cast<std::uint8_t>(10 * index);  // red
    }
}

}  // namespace mozu::test
