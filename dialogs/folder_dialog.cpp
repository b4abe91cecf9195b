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

void FolderDialog::reportError(int code, const QString& path) {
    if (errorHandler_)
        errorHandler_(code, path);
    else
        asker_.notify(std::string(ErrorText(code)) +
                      (path.isEmpty() ? std::string() : "\n\r" + path.toStdString()));
}

std::vector<Drive> FolderDialog::availableDrives() const {
    return drivesOverride_.empty() ? ListDrives() : drivesOverride_;
}

PictureKey* FolderDialog::addKey(const QString& name, DialogPic up, DialogPic down,
                                 const dialog_layout::Box& place) {
    auto* key = new PictureKey(name, this);
    key->resize(place.w, place.h);
    key->setPictures(DialogPictureName(up), DialogPictureName(down));
    key->move(place.x, place.y);
    return key;
}

void FolderDialog::addColumns(const std::array<dialog_layout::Box, 3>& boxes,
                              const dialog_layout::Box& track) {
    for (int c = 0; c < 3; ++c) {
        columns_[c] = new EntryColumn(QString("ListBox%1").arg(c + 1), this);
        columns_[c]->setGeometry(boxes[c].x, boxes[c].y, boxes[c].w, boxes[c].h);
        connect(columns_[c], &EntryColumn::rowClicked, this,
                [this, c](int row) { entryClicked(c, row); });
        connect(columns_[c], &EntryColumn::wheelTurned, this,
                [this](int steps) { scrollBy(steps); });
    }
    trackHeight_ = track.h;
    scrollTrack_ = new ScrollTrack(this, dialog_layout::kThumbWidth, dialog_layout::kThumbHeight);
    scrollTrack_->place(track.x, track.y, track.w, track.h);
    scrollTrack_->setThumbOffset(0);
    scrollTrack_->hide();
    connect(scrollTrack_, &ScrollTrack::scrolled, this,
            [this](int percent) { scrolledTo(percent); });
}

void FolderDialog::scrollBy(int steps) {
    const int n = std::max(1, columns_[0]->count());
    scrollTrack_->setThumbOffset(scrollTrack_->thumbOffset() +
                                 steps * std::max(1, trackHeight_ / n));
    scrolledTo(
        static_cast<int>(static_cast<double>(scrollTrack_->thumbOffset()) / trackHeight_ * 100));
}

void FolderDialog::showColumnsAndTrack(bool drivesView) {
    for (EntryColumn* c : columns_) c->setVisible(c->count() > 0);
    scrollTrack_->setVisible(columns_[0]->count() >= (drivesView ? 6 : 14));
}

}  // namespace mozu
