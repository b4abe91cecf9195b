#include "document/document.h"

#include <algorithm>

#include "formats/save_flow.h"
#include "platform/io_error.h"
#include "video/vid_reader.h"

namespace mozu {

namespace {

// The slots the save writes and the unsaved question counts: the picture slots 0-12.
constexpr int kSavedSlots = 13;

// A frame source that has no video library behind it: every open fails as an unreadable file.
class NoFrameSource : public VideoFrameSource {
  public:
    const VideoInfo& open(const std::string& path) override {
        throw IoError(io::kInvalidData, path + ": no video decoder");
    }
    void decodeFrame(std::int32_t, std::span<std::uint8_t>) override {
        throw IoError(io::kInvalidData, "no video decoder");
    }
    void close() override {}
};

}  // namespace

Document::Document(std::unique_ptr<VideoFrameSource> frameSource)
    : vidReader_(std::make_unique<VidReader>()) {
    video_.source = frameSource ? std::move(frameSource) : std::make_unique<NoFrameSource>();
}

Document::~Document() {
    CloseVideoSource(video_);
}

int Document::addObserver(Observer observer) {
    observers_.emplace_back(nextObserverId_, std::move(observer));
    return nextObserverId_++;
}

void Document::removeObserver(int id) {
    std::erase_if(observers_, [id](const auto& o) { return o.first == id; });
}

void Document::notify(const DocumentChange& change) {
    for (const auto& [id, observer] : observers_) observer(change);
}

ConvertOutcome Document::convert(Slot slot, Asker& asker) {
    // With a video loaded the frame on show is the source, and its colours are counted anew.
    const ConvertOutcome outcome =
        ConvertSlotCommand(state_, asker, slot, video_.loaded, reduction_[slot]);
    if (!outcome.nothing()) state_.sourceShown = false;  // the slot's picture is on show
    if (outcome.blank)
        notify({DocumentChange::Kind::BlankMade, slot, {}});
    else if (outcome.shownOnly)
        notify({DocumentChange::Kind::SlotReshown, slot, {}});
    else if (outcome.converted)
        notify({DocumentChange::Kind::Converted, slot, outcome.levelSlot});
    return outcome;
}

void Document::setReductionOptions(Slot slot, const ReductionOptions& options) {
    if (reduction_[slot] == options) return;
    reduction_[slot] = options;
    state_.stale[slot] = true;
}

bool Document::adjust(Adjustment adjustment, ContrastArea area) {
    bool done = false;
    switch (adjustment) {
        case Adjustment::Autobalance:
            done = AutobalanceCommand(state_);
            break;
        case Adjustment::Brighter:
            done = BrightnessCommand(state_, 105);
            break;
        case Adjustment::Darker:
            done = BrightnessCommand(state_, 95);
            break;
        case Adjustment::MoreContrast:
            done = ContrastCommand(state_, 105, area);
            break;
        case Adjustment::LessContrast:
            done = ContrastCommand(state_, 95, area);
            break;
    }
    if (done) notify({DocumentChange::Kind::SourceAdjusted, Slot::Source, {}});
    return done;
}

void Document::save(Asker& asker, const std::string& baseName, const std::string& selection) {
    SaveSlots(state_, asker, baseName, selection);
    notify({DocumentChange::Kind::Saved, state_.currentSlot, {}});
}

int Document::unsavedCount() const {
    int unsaved = 0;
    for (int k = 0; k < kSavedSlots; ++k)
        if (state_.saved[SlotFromNumber(k)] == 0) ++unsaved;
    return unsaved;
}

void Document::showSource() {
    state_.sourceShown = true;
    state_.currentSlot = Slot::Source;
    notify({DocumentChange::Kind::SourceShown, Slot::Source, {}});
}

void Document::refreshSource() {
    state_.sourceShown = true;
    state_.currentSlot = state_.sourceSlot;
    notify({DocumentChange::Kind::SourceRefreshed, state_.sourceSlot, {}});
}

void Document::closePicture() {
    state_.noPicture = true;
    notify({DocumentChange::Kind::PictureClosed, state_.currentSlot, {}});
}

void Document::showVideoFrame(std::int32_t index) {
    if (!video_.open) return;
    DecodeVideoFrame(video_, index);
    notify({DocumentChange::Kind::VideoFrame, Slot::Source, {}});
}

void Document::closeVideo() {
    CloseVideoSource(video_);
    if (vidReader_->isOpen()) CloseVIDfile(*vidReader_);
    video_.loaded = false;
    video_.symbosVideo = false;
}

void Document::resetForNewFile(const std::string& path) {
    state_.noPicture = false;
    video_.loaded = false;
    video_.symbosVideo = false;
    // The new picture replaces the old ones: what was unsaved is gone now.
    for (int k = 0; k < kSavedSlots; ++k) state_.saved[SlotFromNumber(k)] = 1;
    state_.stale.fill(false);
    state_.sourceChanged = false;
    state_.sourceShown = true;
    state_.currentFileName = path;
}

}  // namespace mozu
