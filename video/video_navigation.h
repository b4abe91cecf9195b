#pragma once
// The PC video on show: the open frame source, the decoded source frame,
// the current frame and the range marks; and the arithmetic the video controls need (running
// time, slider and mark positions, progress ball). The GUI wires these to its widgets.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "colour/picture.h"
#include "video/video_source.h"

namespace mozu {

struct VideoState {
    std::unique_ptr<VideoFrameSource> source;  // the frame library, given by the owner
    bool open = false;
    VideoInfo info;                    // of the open PC video
    Picture frame;                     // the source frame picture, width x height
    std::vector<std::uint8_t> buffer;  // decodePicture's bottom-up scratch buffer, reused

    std::int32_t currentFrame = 0;
    std::int32_t startMark = 0;
    std::int32_t endMark = 0;
    std::int32_t frameCountCopy = 0;    // frameCount of the PC video
    std::int32_t symbosFrameCount = 0;  // N of an open SymbOS video
    bool loaded = false;                // a PC or SymbOS video is loaded
    bool symbosVideo = false;
    bool preview = false;  // the preview key: a video conversion shows its frames as it goes
};

// The frame count of the current source: the PC video's or the SymbOS video's.
std::int32_t SourceFrameCount(const VideoState& v);

// Opens `path` through v.source; the previous video must be closed first. IoError on failure,
// after which the state is closed.
void OpenVideoSource(VideoState& v, const std::string& path);
void CloseVideoSource(VideoState& v);
// Decodes frame `index` into v.frame (rows turned the right way up).
void DecodeVideoFrame(VideoState& v, std::int32_t index);
// OpenVideo without the display: opens, decodes frame 0, sets the current frame and the marks.
void OpenVideo(VideoState& v, const std::string& path);

// timeBase div frameDuration; 0 when the duration is not positive.
std::int32_t VideoFrameRate(const VideoInfo& info);
// "%.2d:%.2d:%.2d" of hours, minutes and seconds.
std::string RunningTimeText(std::int64_t seconds);
// A PC video's description after its kind: the running time, "\n\r", the rate and " fps".
std::string VideoInfoText(const VideoInfo& info, std::int32_t frameCountCopy);

// The last frame of the current source (0 for an empty one): the upper limit of Next, Forward,
// the slider and playback.
std::int32_t LastFrame(const VideoState& v);
// A video was opened: current frame and start mark 0, end mark `frameCount` (the end of the
// range, which playback and conversion stop before). Nothing of the previous video carries over.
void ResetVideoPosition(VideoState& v, std::int32_t frameCount);

// Navigation; Next and Previous return false (beep) at their limits (0 and the last frame).
bool NextFrame(VideoState& v);
bool PreviousFrame(VideoState& v);
void BackwardFrame(VideoState& v);
void ForwardFrame(VideoState& v);
void SetStartMark(VideoState& v);
void SetEndMark(VideoState& v);

// One PlayTimer (or VIDTimer) tick: the frame to show, after which the current frame moves on;
// nullopt when the current frame has reached the end mark (or passed the last frame) and
// playback stops there, the current frame at most the last frame.
std::optional<std::int32_t> PlaybackTick(VideoState& v);

// Slider arithmetic, in extended precision as the controls do it, truncated.
int ThumbLeft(std::int32_t current, std::int32_t count, int trackWidth, int trackLeft);
// The frame at a position on the track, at most the last frame.
int FrameAtTrackPosition(std::int32_t count, int trackWidth, int position);
int ClampThumbLeft(int left, int trackWidth, int trackLeft);
// x range of the grey mark bands.
struct MarkBands {
    int from = 0;
    int to = 0;
};
MarkBands MarkBandRange(std::int32_t start, std::int32_t end, std::int32_t count, int trackWidth);

// Progress of a video conversion: angle 0-180 and the ball's top left corner.
int ProgressAngle(std::int64_t done, std::int64_t total);
struct BallPosition {
    int left = 0;
    int top = 0;
};
BallPosition ProgressBallPosition(int angle);

}  // namespace mozu
