// FfmpegFrameSource::holdsVideo: recognising a video by its contents. FFmpeg's probe names the
// container from the first bytes alone (the name is kept from it); a file it is sure of is then
// opened by a source of its own, so that the video this source has open stays as it is.

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source_impl.h"

namespace mozu::detail {

namespace {

// Enough for every container's signature and for a transport stream's run of packets.
constexpr std::size_t kProbeBytes = 64 * 1024;

// Formats FFmpeg reads as "video" that no user would call one: single pictures (the *_pipe
// demuxers and image2) and text drawn as a picture (tty), which plain text can pass for.
bool IsPictureOrTextFormat(const AVInputFormat* format) {
    const std::string_view name = format->name;
    const std::string_view pipe = "_pipe";
    return name == "tty" || name == "image2" ||
           (name.size() > pipe.size() && name.substr(name.size() - pipe.size()) == pipe);
}

// The container FFmpeg is sure the first bytes belong to, or nullptr.
const AVInputFormat* ProbeContainer(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    std::vector<unsigned char> bytes(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
    const std::size_t n = std::fread(bytes.data(), 1, kProbeBytes, file);
    std::fclose(file);
    if (n == 0) return nullptr;
    AVProbeData probe{};
    probe.filename = "";  // the contents alone decide
    probe.buf = bytes.data();
    probe.buf_size = static_cast<int>(n);
    int score = 0;
    const AVInputFormat* format = av_probe_input_format3(&probe, 1, &score);
    // Above the score at which FFmpeg itself stops probing further bytes of a file.
    if (!format || score <= AVPROBE_SCORE_RETRY || IsPictureOrTextFormat(format)) return nullptr;
    return format;
}

}  // namespace

bool FfmpegFrameSource::holdsVideo(const std::string& path) {
    if (!ProbeContainer(path)) return false;
    try {
        FfmpegFrameSource other;
        return other.open(path).frameCount >= 2;
    } catch (const IoError&) {
        return false;  // no video stream, no decoder, no frames
    }
}

}  // namespace mozu::detail
