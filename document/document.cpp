#include "document/document.h"

#include <algorithm>

#include "colour/count_colors.h"
#include "colour/level_picture.h"
#include "editing/edit_geometry.h"
#include "editing/slot_colours.h"
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
    // The user was asked about unsaved pictures before closing: what is left unsaved is given
    // up (the exit does not ask about it again), and a video closes with its picture.
    for (int k = 0; k < kSavedSlots; ++k) state_.saved[SlotFromNumber(k)] = 1;
    closeVideo();
    notify({DocumentChange::Kind::PictureClosed, state_.currentSlot, {}});
}

const Picture& Document::decodeVideoFrame(std::int32_t index) {
    if (video_.symbosVideo) {
        // A fresh picture at the frame's own size, never drawn into whatever was on show.
        showVIDframe2(*vidReader_, index, vidFrame_);
        return vidFrame_;
    }
    DecodeVideoFrame(video_, index);
    return video_.frame;
}

const Picture& Document::videoFrame() const {
    return video_.symbosVideo ? vidFrame_ : video_.frame;
}

void Document::showVideoFrame(std::int32_t index) {
    if (!video_.open && !(video_.symbosVideo && vidReader_->isOpen())) return;
    decodeVideoFrame(index);
    adoptVideoFrame();
}

void Document::adoptVideoFrame() {
    if (videoFrame().empty()) return;
    state_.source = videoFrame();
    state_.currentSlot = state_.sourceSlot;
    state_.sourceShown = true;
    notify({DocumentChange::Kind::VideoFrame, state_.sourceSlot, {}});
}

void Document::closeVideo() {
    CloseVideoSource(video_);
    if (vidReader_->isOpen()) CloseVIDfile(*vidReader_);
    vidFrame_ = Picture();
    video_.loaded = false;
    video_.symbosVideo = false;
}

bool Document::canEdit() const {
    if (state_.noPicture) return false;
    const Slot slot = state_.currentSlot;
    if (!EditGeometryOf(slot)) return false;
    if (slot == Slot::Source && video_.loaded) return false;
    return !state_.picture(slot).empty();
}

EditSnapshot Document::beginEdit() {
    const Slot slot = state_.currentSlot;
    // The slot's own picture, whatever Image1 shows (after an overscan conversion it shows the
    // level picture).
    editOriginal_ = {state_.picture(slot), SlotEditPalette(state_, slot)};
    return editOriginal_;
}

bool Document::afterEdit(Slot slot, const EditSnapshot& edited) {
    editHistory_.clear();
    const bool changed = edited != editOriginal_;
    editOriginal_ = {};
    if (changed && EditGeometryOf(slot)) {
        Picture& target = state_.picture(slot);
        const std::optional<EditGeometry> g = EditGeometryOf(slot);
        // Fixed-size slots keep their size; the free ones and the source take the editor's.
        if (g->width == 0 || (target.width() == edited.picture.width() &&
                              target.height() == edited.picture.height()))
            target = edited.picture;
        else
            target.draw(edited.picture, 0, 0);
        StoreEditPalette(state_, slot, edited.palette);
        if (slot == Slot::Source) {
            // The next conversion key converts the edited picture, and asks the exact-colour
            // question on its true count.
            state_.sourceColourCount = CountColors(state_, state_.source);
            state_.stale.fill(true);
            state_.sourceShown = true;
            state_.currentSlot = Slot::Source;
        } else {
            state_.saved[slot] = 0;
            // The level picture is the overscan picture with its thumbnail: made again from the
            // edited picture by the exact path, with the overscan slot's pens.
            if (const std::optional<Slot> level = LevelSlotOf(slot);
                level && state_.converted[*level] == 1)
                MakeLevelPicture(state_, slot, state_.slots[slot], false);
        }
    }
    // The level pictures are written with the overscan slots' pens.
    std::copy_n(state_.palette(Slot::Overscan0).begin(), 16, state_.palette(Slot::Level0).begin());
    std::copy_n(state_.palette(Slot::Overscan1).begin(), 16, state_.palette(Slot::Level1).begin());
    notify({DocumentChange::Kind::Edited, slot, {}});
    return changed;
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
