#include "video/vid_writer.h"

#include <algorithm>
#include <utility>

#include "colour/adjustments.h"
#include "colour/dithering.h"
#include "colour/dithering_methods.h"
#include "colour/indexed.h"
#include "colour/resize.h"
#include "formats/file_name.h"
#include "platform/io_error.h"

namespace mozu {

VideoWriterRun::VideoWriterRun() = default;
VideoWriterRun::~VideoWriterRun() {
    abandon();
}

void VideoWriterRun::start(ConversionState& state, VideoState& video, Asker& asker,
                           const VideoRunSettings& settings) {
    if (running_) throw VideoRefused("A video conversion is already running");
    if (!video.open || video.info.frameCount <= 0) throw VideoRefused("No PC video is open");
    if (video.startMark < 0 || video.startMark >= video.info.frameCount)
        throw VideoRefused("The start mark lies outside the video");

    // The frame size comes from the video's own frames, scaled as a PC picture: a frame never
    // has the tall pixels of a CPC picture that may have been on show before.
    resizeState_ = std::make_unique<ConversionState>();
    resizeState_->sourceSlot = Slot::Source;
    resizeState_->colourTable = state.colourTable;
    const Slot kind = VideoKindFor(video.info.width, video.info.height, settings.sixteen);
    Picture probe(video.info.width, video.info.height);
    ResizeBitmap(*resizeState_, probe, kind);
    const VideoRunPlan plan =
        PlanVideoRun(VideoFrameRate(video.info), video.startMark, video.endMark, settings.sixteen,
                     probe.width(), probe.height());

    const std::string path = CheckFileName(asker, settings.baseName + ".vid");
    auto out = std::make_unique<OutputFile>(path);
    const auto header = MakeVidHeader(plan, settings.title, settings.information);
    out->write(header);  // a failure here drops `out`, which removes its temporary file

    plan_ = plan;
    plan_.kind = kind;
    out_ = std::move(out);
    path_ = path;
    autobalance_ = settings.autobalance;
    reduction_ = settings.reduction;
    startMark_ = video.startMark;
    lastSourceFrame_ = video.info.frameCount - 1;
    k_ = 0;
    progressAngle_ = 0;
    bytesWritten_ = out_->size();
    frameBytes_.assign(static_cast<std::size_t>(plan_.frameSize), 0);
    stopRequest_ = false;
    frameReady_ = true;
    running_ = true;
    description_ = VideoRunDescription(plan_.frames, plan_.rate);
    status_.clear();
}

void VideoWriterRun::Make4VideoHeader(ConversionState& state, VideoState& video, Asker& asker,
                                      VideoRunSettings settings) {
    settings.sixteen = false;
    start(state, video, asker, settings);
}

void VideoWriterRun::Make16VideoHeader(ConversionState& state, VideoState& video, Asker& asker,
                                       VideoRunSettings settings) {
    settings.sixteen = true;
    start(state, video, asker, settings);
}

VideoWriterRun::Tick VideoWriterRun::tick(ConversionState& state, VideoState& video, Asker& asker) {
    if (!running_) return Tick::Idle;
    if (!frameReady_) return Tick::Busy;
    if (k_ >= plan_.frames) {
        status_.clear();
        closeFile(asker);
        return Tick::Finished;
    }
    frameReady_ = false;
    ++k_;
    try {
        makeFrame(state, video);
    } catch (...) {
        abandon();
        throw;
    }
    status_ = FrameCounterText(k_, plan_.frames);
    if (stopRequest_) {
        stop(asker);
        status_ = FrameCounterText(k_, plan_.frames);
        return Tick::Stopped;
    }
    frameReady_ = true;
    return Tick::Frame;
}

void VideoWriterRun::makeFrame(ConversionState& state, VideoState& video) {
    // Frame k of the file is source frame start + step x k. With the end mark on the frame
    // count the last of these is one past the last frame: the last frame stands in for it.
    // The frames in between are not asked for: the source decodes through them on its way
    // without turning them into pictures.
    const std::int64_t wanted =
        static_cast<std::int64_t>(startMark_) + std::int64_t{plan_.step} * k_;
    const auto index = static_cast<std::int32_t>(std::min<std::int64_t>(wanted, lastSourceFrame_));
    video.currentFrame = index;
    progressAngle_ = ProgressAngle(k_, plan_.frames);

    DecodeVideoFrame(video, index);
    // Sampled straight from the frame: a copy of the whole frame first would cost as much as
    // the sampling again, and a new allocation each time as the frame is larger than work_.
    work_ = ResizeBitmap(*resizeState_, std::as_const(video.frame), plan_.kind);
    if (work_.width() != plan_.width || work_.height() != plan_.height)
        throw IoError(io::kInvalidData, "a frame of " + path_ + " changed its size");
    if (autobalance_) Autobalance(work_);

    Picture& slot = state.slots[plan_.kind];
    if (!reduction_.isDefault()) {
        DitherWithOptions(state, work_, plan_.kind, reduction_);
    } else if (plan_.sixteen) {
        DitheringCPCPalette2(state, work_, plan_.kind);
    } else {
        DitheringCPCPalette(state, work_, plan_.kind);
    }
    if (plan_.sixteen) {
        // The sixteen-colour fold gives colour indexes 0-15: pen k is colour index k.
        for (int i = 0; i < 16; ++i) {
            state.palettes[Slot::SgxMsxFree][static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(i);
            state.palettes[Slot::Video16][static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(i);
        }
        BMP2Indexed(state, slot, slot, Slot::SgxMsxFree);
    }
    if (slot.width() != plan_.width || slot.height() != plan_.height)
        throw IoError(io::kInvalidData, "a converted frame of " + path_ + " has the wrong size");
    EncodeVidFrame(slot, plan_, frameBytes_);
    out_->write(frameBytes_);
    bytesWritten_ = out_->size();
}

void VideoWriterRun::closeFile(Asker& asker) {
    try {
        out_->commit();
    } catch (...) {
        abandon();
        throw;
    }
    out_.reset();
    running_ = false;
    frameReady_ = true;
    asker.notify("Conversion successfull");
}

void VideoWriterRun::stop(Asker& asker) {
    // The header counts exactly the frames written.
    plan_.frames = k_;
    const std::uint8_t count[3] = {static_cast<std::uint8_t>(k_ & 0xFF),
                                   static_cast<std::uint8_t>((k_ >> 8) & 0xFF), 0};
    try {
        out_->writeAt(kVidCountOffset, count);
        out_->commit();
    } catch (...) {
        abandon();
        throw;
    }
    out_.reset();
    running_ = false;
    frameReady_ = true;
    description_.clear();
    asker.notify("Conversion terminate by user");
}

void VideoWriterRun::abandon() noexcept {
    if (out_) out_->discard();
    out_.reset();
    running_ = false;
    frameReady_ = true;
}

namespace {
bool MakeVideo(bool sixteen, VideoWriterRun& run, ConversionState& state, VideoState& video,
               Asker& asker, const VideoSaveDialog& dialog) {
    if (run.running()) return false;
    VideoRunSettings settings;
    settings.sixteen = sixteen;
    settings.autobalance = asker.askYesNo("Use autobalance for all frames?");
    const std::optional<VideoSaveAnswer> answer = dialog();
    if (!answer || answer->baseName == "<none>") return false;
    settings.baseName = answer->baseName;
    const VideoDescription d = ParseVideoDescription(answer->description);
    settings.title = d.title;
    settings.information = d.information;
    run.start(state, video, asker, settings);
    return true;
}
}  // namespace

bool Make4Video(VideoWriterRun& run, ConversionState& state, VideoState& video, Asker& asker,
                const VideoSaveDialog& dialog) {
    return MakeVideo(false, run, state, video, asker, dialog);
}

bool Make16Video(VideoWriterRun& run, ConversionState& state, VideoState& video, Asker& asker,
                 const VideoSaveDialog& dialog) {
    return MakeVideo(true, run, state, video, asker, dialog);
}

}  // namespace mozu
