#include "dialogs/folder_dialog.h"

#include <algorithm>
#include <string>

#include "app/picture_key.h"
#include "dialogs/dialog_widgets.h"
#include "dialogs/folder_view.h"
#include "platform/asker.h"
#include "platform/io_error.h"

namespace mozu {

FolderDialog::FolderDialog(Asker& asker, QWidget* parent)
    : SkinnedWindow(Dragging::Manual, parent), asker_(asker), homeFolder_(HomeFolder()) {}

void FolderDialog::ReportError(int code, const QString& message) {
    if (errorHandler_)
        errorHandler_(code, message);
    else
        asker_.notify(std::string(ErrorText(code)));
}

std::vector<Drive> FolderDialog::Drives() const {
    return drivesOverride_.empty() ? ListDrives() : drivesOverride_;
}

PictureKey* FolderDialog::AddKey(const QString& name, DialogPic up, DialogPic down,
                                 const dialog_layout::Box& place) {
    auto* key = new PictureKey(name, this);
    key->resize(place.w, place.h);
    key->setPictures(DialogPictureName(up), DialogPictureName(down));
    key->move(place.x, place.y);
    return key;
}

int FolderDialog::WheelScroll(ScrollTrack& track, int trackHeight, int rows, int steps) {
    const int n = std::max(1, rows);
    track.setThumbOffset(track.thumbOffset() + steps * std::max(1, trackHeight / n));
    return static_cast<int>(static_cast<double>(track.thumbOffset()) / trackHeight * 100);
}

}  // namespace mozu
