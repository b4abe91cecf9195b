#pragma once
// The SymbOS video file: a 512-byte header, then N frames of F bytes each. A frame is H rows of
// W/4 bytes (4 colours, the CPC mode 1 bit layout) or W/2 bytes (16 colours, left pixel in the
// high nibble), zero-filled up to F, which is the data size rounded up to a multiple of 512.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "colour/picture.h"

#include "colour/slot.h"

namespace mozu {

inline constexpr char kVidMagic[] = "SymVid10";  // 8 characters, no terminator in the file
constexpr int kVidHeaderSize = 512;
constexpr int kVidRateOffset = 10;
constexpr int kVidCountOffset = 11;      // 3 bytes
constexpr int kVidWidthOffset = 14;      // 2 bytes
constexpr int kVidHeightOffset = 16;     // 2 bytes
constexpr int kVidTypeOffset = 18;       // 1 = 4 colours, 7 = 16 colours
constexpr int kVidFrameSizeOffset = 51;  // 3 bytes
constexpr int kVidTitleOffset = 182;
constexpr int kVidInfoOffset = 214;
constexpr int kVidTextSize = 32;
constexpr int kVidModeOffset = 246;  // 0 for 4 colours, 1 for 16
constexpr int kVidFourColours = 1;
constexpr int kVidSixteenColours = 7;
constexpr int kVidMaxFrames = 65535;     // bytes 11-12 carry the count
constexpr int kVidMaxFrameSize = 65535;  // bytes 51-52 carry the frame size

// A conversion the file cannot hold or the source cannot give: refused before any file is made.
class VideoRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Video kind (the frames' picture slot): the wide slots when width / height >= 1.5.
Slot VideoKindFor(int width, int height, bool sixteen);
// Source frames advanced per written frame. 1 below 16 fps, 2 up to 30, 3 up to 45; from 46 up
// the smallest step whose written rate stays at or below 15.
int FrameStepFor(std::int32_t fps);

struct VideoRunPlan {
    bool sixteen = false;
    Slot kind = Slot::Video4;
    int step = 0;
    int rate = 0;             // written at offset 10
    std::int32_t frames = 0;  // N
    int width = 0;            // W
    int height = 0;           // H
    int dataSize = 0;         // D
    int frameSize = 0;        // F
};

// The run's numbers from the source's rate, the marks and the scaled frame size W x H.
// VideoRefused for a rate of 0, fewer than 1 or more than 65535 frames, or frames over 65535
// bytes.
VideoRunPlan PlanVideoRun(std::int32_t fps, std::int32_t startMark, std::int32_t endMark,
                          bool sixteen, int width, int height);

// Frame data size D and frame size F (D rounded up to a multiple of 512).
int VidFrameDataSize(int width, int height, bool sixteen);
int VidFrameSize(int dataSize);

// The title and information out of the save dialog's video answer: a character of code
// 32 + length, the title, a character of code 32 + length, the information. Each is cut to 32
// characters and to what the string holds.
struct VideoDescription {
    std::string title;
    std::string information;
};
VideoDescription ParseVideoDescription(const std::string& answer);
std::string MakeVideoDescription(const std::string& title, const std::string& information);

std::array<std::uint8_t, kVidHeaderSize> MakeVidHeader(const VideoRunPlan& plan,
                                                       const std::string& title,
                                                       const std::string& information);

// One frame from an index picture (pen in the red byte) of plan.width x plan.height into
// `out` (plan.frameSize bytes, the fill included).
void EncodeVidFrame(const Picture& pens, const VideoRunPlan& plan, std::span<std::uint8_t> out);
std::uint8_t EncodeFourPens(int p0, int p1, int p2, int p3);
std::uint8_t EncodeTwoPens(int p0, int p1);

// "SymbOS video\n\r" + running time + "\n\r" + rate + " fps\n\r" (the description of a run).
std::string VideoRunDescription(std::int32_t frames, int rate);
// "Frame k of N" (the status of a run).
std::string FrameCounterText(std::int32_t k, std::int32_t frames);

}  // namespace mozu
