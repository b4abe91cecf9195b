#pragma once
// The document: everything one open file gives the user to work on. It owns the conversion state
// (source, slots, palettes, flags), the video state and the one SymbOS video reader, and offers
// the operations the commands need. Views (the main window, a preview, the command-line tool)
// observe it: every operation that changes what could be on show ends with one notice saying
// what happened, and the view decides how to show it.
//
// The editor's undo history of whole pictures belongs here too: an edit takes a slot's picture
// and palette from this class and gives them back (afterEdit).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "colour/adjustments.h"
#include "colour/conversion_commands.h"
#include "colour/conversion_state.h"
#include "colour/reduction_options.h"
#include "editing/undo_history.h"
#include "video/video_navigation.h"

namespace mozu {

class Asker;
class VidReader;

// The main window's outer size. Contrast's threshold depends on the size of the window the
// picture is adjusted in; the command-line tool uses this size so that its pictures are the
// ones the window makes.
inline constexpr ContrastArea kMainWindowArea{794, 691};

// What an operation did, for observers.
struct DocumentChange {
    enum class Kind {
        Opened,           // a file replaced the document (see ConversionState::sourceSlot)
        Converted,        // `slot` (and `levelSlot`) hold a new conversion
        BlankMade,        // no picture was loaded: `slot` holds a blank picture to draw on
        SlotReshown,      // `slot` was up to date and is on show again
        SourceShown,      // the source is on show (current slot: the source)
        SourceRefreshed,  // the source is on show as it came (current slot: the source slot)
        SourceAdjusted,   // an adjustment changed the source
        PictureClosed,    // the picture was put away (no picture)
        Saved,            // slots were written
        VideoFrame,       // the video's frame on show moved
        Edited,           // the editor gave `slot` back (the source for Slot::Source)
    };
    Kind kind;
    Slot slot = Slot::Source;
    std::optional<Slot> levelSlot;
};

enum class Adjustment { Autobalance, Brighter, Darker, MoreContrast, LessContrast };

class Document {
  public:
    using Observer = std::function<void(const DocumentChange&)>;

    // `frameSource` decodes PC videos; without one, opening a PC video fails as a file that
    // cannot be read.
    explicit Document(std::unique_ptr<VideoFrameSource> frameSource = nullptr);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    ConversionState& state() { return state_; }
    const ConversionState& state() const { return state_; }
    VideoState& video() { return video_; }
    const VideoState& video() const { return video_; }
    VidReader& vidReader() { return *vidReader_; }
    const VidReader& vidReader() const { return *vidReader_; }
    bool hasPicture() const { return !state_.noPicture; }

    // Observers are told of every change in the order they were added; the id removes one.
    int addObserver(Observer observer);
    void removeObserver(int id);
    void notify(const DocumentChange& change);

    // The conversion command of a slot (see ConvertSlotCommand) with the slot's reduction
    // options; the notice says what it did.
    ConvertOutcome convert(Slot slot, Asker& asker);
    // The reduction method a dithered conversion of `slot` uses (the classic one unless set).
    // Setting other options than the slot's marks a converted slot stale, so that its next
    // conversion command converts again instead of showing the old picture. Kept for as long as
    // the document lives; files record nothing of it.
    const ReductionOptions& reductionOptions(Slot slot) const { return reduction_[slot]; }
    void setReductionOptions(Slot slot, const ReductionOptions& options);
    // Applies an adjustment to the source; false (and no notice) with no picture loaded.
    bool adjust(Adjustment adjustment, ContrastArea area);
    // Writes the chosen slots (see SaveSlots); IoError propagates after the slots are colour
    // pictures again.
    void save(Asker& asker, const std::string& baseName, const std::string& selection);
    // Converted pictures not yet written, counted over the slots the save writes (0-12).
    int unsavedCount() const;

    // The source on show: ShowSource makes the source slot current, RefreshSource makes the
    // slot the source came from current (a file's own slot, or the source).
    void showSource();
    void refreshSource();
    // No picture any more: the open video closes and nothing counts as unsaved.
    void closePicture();

    // Frame `index` of the loaded video decoded into videoFrame(), nothing else changed and no
    // notice (the frame a full preview shows). IoError when it cannot be decoded.
    const Picture& decodeVideoFrame(std::int32_t index);
    // Frame `index` of the loaded video (PC or SymbOS) on show: decoded, made the source (the
    // frame on show is what the keys convert), VideoFrame notice. IoError when it cannot be
    // decoded; nothing is shown then and the source stays as it was.
    void showVideoFrame(std::int32_t index);
    // The last decoded frame becomes the source and is on show again (VideoFrame).
    void adoptVideoFrame();
    // The last decoded frame at its shape on screen: a PC frame as decoded, a SymbOS frame
    // W x H, or W x 2H with every line doubled for sixteen colours (its pixels are wide).
    const Picture& videoFrame() const;
    // Closes the PC video and the SymbOS video.
    void closeVideo();

    // Whether the editor can open on the slot on show: a picture is loaded, the editor has a
    // geometry for the slot, and the slot is not a video's own frame (the source while a video
    // is loaded, which the next frame shown would overwrite). The GUI adds its own refusals
    // (playback, a video conversion).
    bool canEdit() const;
    // The picture and palette of the slot on show, for the editor; the slot is remembered so
    // that afterEdit can tell whether anything changed.
    EditSnapshot beginEdit();
    // The editor's history of the current edit (cleared by each edit's start and end).
    UndoHistory& editHistory() { return editHistory_; }
    // Takes the edited picture and palette back into `slot` (for the source, the source
    // picture, which is then on show). Returns whether anything changed; a change marks the
    // slot unsaved, rebuilds the level picture of an overscan slot, and for the source recounts
    // its colours and marks every slot stale. Notices Edited.
    bool afterEdit(Slot slot, const EditSnapshot& edited);

    // What the open service uses to replace the document with a new file, once it has been
    // read completely: the flags of the old pictures go, the video state is reset.
    void resetForNewFile(const std::string& path);

  private:
    ConversionState state_;
    SlotArray<ReductionOptions> reduction_;
    VideoState video_;
    std::unique_ptr<VidReader> vidReader_;
    Picture vidFrame_;  // the last SymbOS video frame decoded, at its shape on screen
    std::vector<std::pair<int, Observer>> observers_;
    UndoHistory editHistory_;
    EditSnapshot editOriginal_;  // what the current edit started from
    int nextObserverId_ = 0;
};

}  // namespace mozu
