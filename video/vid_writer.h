#pragma once
// The SymbOS video writer as a run driven one tick at a time: the GUI's 100 ms timer calls
// tick() (MakeTimerTimer / Make16TimerTimer), the command-line tool calls it in a loop. Each
// tick converts and appends one frame; the tick after the last frame closes the file.
//
// The file is written beside its target and put in place only at the end (or at a stop), so a
// failed run leaves no half-written video and never destroys an existing one.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "colour/reduction_options.h"
#include "platform/asker.h"
#include "platform/binary_file.h"
#include "video/vid_format.h"
#include "video/video_navigation.h"

namespace mozu {

struct VideoRunSettings {
    bool sixteen = false;
    bool autobalance = false;  // the answer to "Use autobalance for all frames?"
    std::string baseName;      // path without extension; ".vid" is appended
    std::string title;
    std::string information;
    // How each frame is reduced to its pens; the default is the classic ditherer. Ordered
    // methods put a still area's pixels on the same pens in every frame, so it does not flicker.
    ReductionOptions reduction;
};

class VideoWriterRun {
  public:
    enum class Tick { Idle, Busy, Frame, Finished, Stopped };

    VideoWriterRun();
    ~VideoWriterRun();
    VideoWriterRun(const VideoWriterRun&) = delete;
    VideoWriterRun& operator=(const VideoWriterRun&) = delete;

    // The header step (Make4VideoHeader / Make16VideoHeader): plans the run from the open PC
    // video and its marks, runs CheckFileName on baseName + ".vid", creates the file and writes
    // the header. VideoRefused (nothing created) or IoError; either way the run stays idle.
    void start(ConversionState& state, VideoState& video, Asker& asker,
               const VideoRunSettings& settings);
    void Make4VideoHeader(ConversionState& state, VideoState& video, Asker& asker,
                          VideoRunSettings settings);
    void Make16VideoHeader(ConversionState& state, VideoState& video, Asker& asker,
                           VideoRunSettings settings);

    // One timer tick (MakeTimerTimer / Make16TimerTimer). Frame: one more frame written;
    // Finished: the file is complete ("Conversion successfull" notified); Stopped: the stop
    // request ended the run after this tick's frame ("Conversion terminate by user"). A failure
    // raises IoError after the incomplete file was removed; the run is then idle.
    Tick tick(ConversionState& state, VideoState& video, Asker& asker);
    Tick MakeTimerTimer(ConversionState& s, VideoState& v, Asker& a) { return tick(s, v, a); }
    Tick Make16TimerTimer(ConversionState& s, VideoState& v, Asker& a) { return tick(s, v, a); }

    // The play button during a run: the run stops after the frame in progress (or the next).
    void requestStop() { stopRequest_ = true; }

    bool running() const { return running_; }  // "video conversion running"
    const VideoRunPlan& plan() const { return plan_; }
    std::int32_t framesWritten() const { return k_; }
    int progressAngle() const { return progressAngle_; }
    const std::string& description() const { return description_; }
    const std::string& status() const { return status_; }
    const std::string& outputPath() const { return path_; }
    std::uint64_t bytesWritten() const { return bytesWritten_; }

  private:
    void makeFrame(ConversionState& state,
                   VideoState& video);  // Make4VideoFrame / Make16VideoFrame
    void closeFile(Asker& asker);       // Close4VideoFile / Close16VideoFile
    void stop(Asker& asker);
    void abandon() noexcept;

    ReductionOptions reduction_;
    bool running_ = false;
    bool frameReady_ = true;
    bool stopRequest_ = false;
    bool autobalance_ = false;
    VideoRunPlan plan_;
    std::int32_t startMark_ = 0;
    std::int32_t lastSourceFrame_ = 0;
    std::int32_t k_ = 0;
    int progressAngle_ = 0;
    std::string description_;
    std::string status_;
    std::string path_;
    std::uint64_t bytesWritten_ = 0;
    std::unique_ptr<OutputFile> out_;
    std::unique_ptr<ConversionState> resizeState_;  // a PC picture's state for ResizeBitmap
    Picture work_;
    std::vector<std::uint8_t> frameBytes_;
};

// The save dialog's answer for a video: the base name and the description string (a length
// character, the title, a length character, the information). nullopt on Cancel.
struct VideoSaveAnswer {
    std::string baseName;
    std::string description;
};
using VideoSaveDialog = std::function<std::optional<VideoSaveAnswer>()>;

// The video conversion commands (4 and 16 colours): the autobalance
// question, the save dialog, the header step. False when the dialog was cancelled.
bool Make4Video(VideoWriterRun& run, ConversionState& state, VideoState& video, Asker& asker,
                const VideoSaveDialog& dialog);
bool Make16Video(VideoWriterRun& run, ConversionState& state, VideoState& video, Asker& asker,
                 const VideoSaveDialog& dialog);

}  // namespace mozu
