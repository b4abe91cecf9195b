#include "app/picture_display.h"

#include "app/display_layout.h"
#include "app/main_window_layout.h"
#include "app/picture_view.h"
#include "formats/file_type.h"
#include "formats/shown_picture.h"

namespace mozu {

PictureDisplay::PictureDisplay(Document& document, PictureView& image1)
    : document_(document), image1_(image1) {
    standardLayout();
    document_.addObserver([this](const DocumentChange& change) { onChange(change); });
}

QImage PictureDisplay::shownImage() const {
    return image1_.image();
}

void PictureDisplay::standardLayout() {
    image1_.setGeometry(layout::kImage1.x, layout::kImage1.y, layout::kImage1.w, layout::kImage1.h);
    image1_.setStretch(false);
    image1_.setProportional(true);
}

void PictureDisplay::showPicture(const Picture& picture) {
    image1_.setPicture(picture);
}

void PictureDisplay::showCpcImage(Slot slot, const Picture& picture) {
    const DisplayLayout d = GetDisplayLayout(slot, picture.width(), picture.height());
    if (!d.draws) return;
    if (d.placesControl) image1_.setGeometry(d.left, d.top, d.width, d.height);
    image1_.setStretch(d.stretched);
    image1_.setProportional(d.proportional);
    image1_.setPicture(picture, d.linesDoubled ? 2 : 1);  // each line twice: tall MSX pixels
    image1_.repaint();  // shown now, not at the next frame: the command's result is on screen
}

void PictureDisplay::showLevelFile(FileType type, const Picture& picture) {
    // The background and the extra graphics beside it, whole and at the mode's pixel shape, in
    // the overscan pictures' place: wider than the place, so kept in proportion.
    const DisplayLayout box = GetDisplayLayout(Slot::Overscan0, 1, 1);
    image1_.setGeometry(box.left, box.top, box.width, box.height);
    image1_.setStretch(false);
    image1_.setProportional(true);
    image1_.setPicture(AtPixelShape(picture, PixelShapeOf(type)));
    image1_.repaint();
}

void PictureDisplay::refreshImage() {
    // A picture read from a CPC file is shown at its file type's shape; a PC picture (or a
    // video frame) in the standard layout.
    const ConversionState& state = document_.state();
    const Slot s = state.sourceSlot;
    if (s == Slot::Source || SlotNumber(s) >= SlotNumber(Slot::Level0) ||
        !GetDisplayLayout(s, 1, 1).draws) {
        standardLayout();
        showPicture(state.source);
    } else {
        showCpcImage(s, state.source);
    }
}

void PictureDisplay::onChange(const DocumentChange& change) {
    const ConversionState& state = document_.state();
    using Kind = DocumentChange::Kind;
    switch (change.kind) {
        case Kind::Opened: {
            standardLayout();
            image1_.show();
            // A picture file shows in its slot's shape; a PC picture, a video frame or the first
            // frame of a SymbOS video in the standard place.
            const FileType type = FileTypeOfSlot(state.sourceSlot);
            if (state.sourceSlot != Slot::Source && IsLevelFileType(type))
                showLevelFile(type, state.picture(state.sourceSlot));
            else if (state.sourceSlot != Slot::Source && IsPictureFileType(type))
                showCpcImage(state.sourceSlot, state.picture(state.sourceSlot));
            else
                showPicture(state.source);
            break;
        }
        case Kind::BlankMade:
            image1_.show();
            showCpcImage(change.slot, state.picture(change.slot));
            break;
        case Kind::Converted:
        case Kind::SlotReshown:
            showCpcImage(change.slot, state.picture(change.slot));
            if (change.levelSlot) showCpcImage(*change.levelSlot, state.picture(*change.levelSlot));
            break;
        case Kind::SourceShown:
            standardLayout();
            showPicture(state.source);
            break;
        case Kind::SourceRefreshed:
            refreshImage();
            break;
        case Kind::SourceAdjusted:
            showPicture(state.source);
            break;
        case Kind::PictureClosed:
            image1_.hide();
            break;
        case Kind::VideoFrame:
            // The frame on show is the source (a SymbOS frame at its own size, fresh each time).
            standardLayout();
            showPicture(state.source);
            break;
        case Kind::Edited:
            // The edited source is shown as the show-source key shows it.
            if (change.slot == Slot::Source) {
                standardLayout();
                showPicture(state.source);
            } else {
                showCpcImage(change.slot, state.picture(change.slot));
            }
            break;
        case Kind::Saved:
            break;
    }
}

}  // namespace mozu
