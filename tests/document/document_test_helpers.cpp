#include "document/document_test_support.h"

#include <unistd.h>

#include <iterator>

#include "platform/io_error.h"

namespace mozu::test {

TempFolder::TempFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("mozu_document_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string SamplePath() {
    return std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
