#include "dialogs/folder_dialog.h"

#include <algorithm>
#include <string>

#include "dialogs/dialog_widgets.h"
#include "dialogs/folder_view.h"
#include "platform/asker.h"
#include "platform/io_error.h"
#include "skin/picture_key.h"

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

void FolderDialog::AddColumns(const std::array<dialog_layout::Box, 3>& boxes,
                              const dialog_layout::Box& track) {
    for (int c = 0; c < 3; ++c) {
        columns_[c] = new EntryColumn(QString("ListBox%1").arg(c + 1), this);
        columns_[c]->setGeometry(boxes[c].x, boxes[c].y, boxes[c].w, boxes[c].h);
        connect(columns_[c], &EntryColumn::rowClicked, this,
                [this, c](int row) { ListBoxClick(c, row); });
        connect(columns_[c], &EntryColumn::wheelTurned, this,
                [this](int steps) { WheelTurned(steps); });
    }
    trackHeight_ = track.h;
    vertical_ = new ScrollTrack(this, dialog_layout::kThumbWidth, dialog_layout::kThumbHeight);
    vertical_->place(track.x, track.y, track.w, track.h);
    vertical_->setThumbOffset(0);
    vertical_->hide();
    connect(vertical_, &ScrollTrack::scrolled, this,
            [this](int percent) { VerticalScrolled(percent); });
}

void FolderDialog::WheelTurned(int steps) {
    const int n = std::max(1, columns_[0]->count());
    vertical_->setThumbOffset(vertical_->thumbOffset() + steps * std::max(1, trackHeight_ / n));
    VerticalScrolled(
        static_cast<int>(static_cast<double>(vertical_->thumbOffset()) / trackHeight_ * 100));
}

void FolderDialog::ShowColumnsAndTrack(bool drivesView) {
    for (EntryColumn* c : columns_) c->setVisible(c->count() > 0);
    vertical_->setVisible(columns_[0]->count() >= (drivesView ? 6 : 14));
}

}  // namespace mozu
