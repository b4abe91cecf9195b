#include "video/video_navigation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/io_error.h"

namespace mozu {

std::int32_t SourceFrameCount(const VideoState& v) {
    return v.symbosVideo ? v.symbosFrameCount : v.frameCountCopy;
}

void OpenVideoSource(VideoState& v, const std::string& path) {
    if (!v.source) throw IoError(io::kFileNotOpen, "no video library to open " + path);
    v.open = false;
    v.frame = Picture();
    v.info = VideoInfo{};
    const VideoInfo info = v.source->open(path);
    v.info = info;
    v.frame.reset(info.width, info.height);
    v.buffer.clear();  // sized by the first frame that needs it
    v.open = true;
}

void CloseVideoSource(VideoState& v) {
    if (!v.open) return;
    v.frame = Picture();
    v.buffer = {};
    v.info = VideoInfo{};
    v.open = false;
    v.source->close();
}

void DecodeVideoFrame(VideoState& v, std::int32_t index) {
    if (!v.open) throw IoError(io::kFileNotOpen, "no video is open");
    v.source->decodePicture(index, v.frame, v.buffer);
}

void OpenVideo(VideoState& v, const std::string& path) {
    CloseVideoSource(v);
    OpenVideoSource(v, path);
    v.frameCountCopy = v.info.frameCount;
    DecodeVideoFrame(v, 0);
    ResetVideoPosition(v, v.info.frameCount);
    v.loaded = true;
    v.symbosVideo = false;
}

std::int32_t VideoFrameRate(const VideoInfo& info) {
    if (info.frameDuration <= 0 || info.timeBase < 0) return 0;
    return info.timeBase / info.frameDuration;
}

std::string RunningTimeText(std::int64_t seconds) {
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = (seconds - hours * 3600) / 60;
    const std::int64_t secs = seconds - hours * 3600 - minutes * 60;
    char text[64];
    std::snprintf(text, sizeof text, "%.2lld%s%.2lld%s%.2lld", static_cast<long long>(hours), ":",
                  static_cast<long long>(minutes), ":", static_cast<long long>(secs));
    return text;
}

std::string VideoInfoText(const VideoInfo& info, std::int32_t frameCountCopy) {
    const std::int32_t fps = VideoFrameRate(info);
    // Below one frame a second the whole-number rate is 0; the running time then comes from
    // the frame duration itself.
    const std::int64_t seconds = fps > 0             ? frameCountCopy / fps
                                 : info.timeBase > 0 ? static_cast<std::int64_t>(frameCountCopy) *
                                                           info.frameDuration / info.timeBase
                                                     : 0;
    return RunningTimeText(seconds) + "\n\r" + std::to_string(fps) + " fps";
}

std::int32_t LastFrame(const VideoState& v) {
    return std::max(SourceFrameCount(v) - 1, 0);
}

void ResetVideoPosition(VideoState& v, std::int32_t frameCount) {
    v.currentFrame = 0;
    v.startMark = 0;
    v.endMark = frameCount;
}

bool NextFrame(VideoState& v) {
    // The last frame is the limit: the frame count itself is one past the end of the video.
    if (v.currentFrame >= LastFrame(v)) return false;
    ++v.currentFrame;
    return true;
}

bool PreviousFrame(VideoState& v) {
    if (v.currentFrame <= 0) return false;
    --v.currentFrame;
    return true;
}

void BackwardFrame(VideoState& v) {
    v.currentFrame = v.currentFrame > v.startMark ? v.startMark : 0;
}

void ForwardFrame(VideoState& v) {
    // The end mark may be the frame count (the end of the range): the last frame stands in.
    const std::int32_t mark = std::min(v.endMark, LastFrame(v));
    v.currentFrame = v.currentFrame < mark ? mark : LastFrame(v);
}

void SetStartMark(VideoState& v) {
    v.startMark = v.currentFrame;
}
void SetEndMark(VideoState& v) {
    v.endMark = v.currentFrame;
}

std::optional<std::int32_t> PlaybackTick(VideoState& v) {
    // With the end mark on the frame count playback stops after the last frame, which stays
    // the current one: no position past the end of the video.
    if (v.currentFrame >= v.endMark || v.currentFrame > LastFrame(v)) {
        v.currentFrame = std::min(v.currentFrame, LastFrame(v));
        return std::nullopt;
    }
    return v.currentFrame++;
}

int ThumbLeft(std::int32_t current, std::int32_t count, int trackWidth, int trackLeft) {
    if (count <= 0) return trackLeft - 7;
    const long double q = static_cast<long double>(current) / count;
    return static_cast<int>(std::trunc(q * trackWidth)) + trackLeft - 7;
}

int FrameAtTrackPosition(std::int32_t count, int trackWidth, int position) {
    if (trackWidth <= 0 || count <= 0) return 0;
    const long double q = static_cast<long double>(count) / trackWidth;
    // The track's right end would be the frame count itself: the last frame is the limit.
    return std::clamp(static_cast<int>(std::trunc(q * position)), 0, count - 1);
}

int ClampThumbLeft(int left, int trackWidth, int trackLeft) {
    return std::min(std::max(left, trackLeft - 7), trackLeft + trackWidth - 7);
}

MarkBands MarkBandRange(std::int32_t start, std::int32_t end, std::int32_t count, int trackWidth) {
    if (count <= 0) return {};
    const auto x = [&](std::int32_t mark) {
        return static_cast<int>(std::trunc(static_cast<long double>(mark) / count * trackWidth));
    };
    return {x(start), x(end)};
}

int ProgressAngle(std::int64_t done, std::int64_t total) {
    if (total <= 0) return 0;
    return static_cast<int>(
        std::trunc(static_cast<double>(done) / static_cast<double>(total) * 180));
}

BallPosition ProgressBallPosition(int angle) {
    const double rad = (angle + 180) * std::numbers::pi / 180.0;
    return {static_cast<int>(std::nearbyint(std::cos(rad) * 87 + 389)),
            static_cast<int>(std::nearbyint(std::sin(rad) * 87 + 576))};
}

}  // namespace mozu
