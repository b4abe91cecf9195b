// SaveDialog's folder browser: the drives view, a folder's subfolders and pictures in three
// columns, going up and down, and making a new folder.

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>
#include <cerrno>

#include "dialogs/dialog_widgets.h"
#include "dialogs/save_dialog.h"
#include "formats/file_name.h"
#include "platform/asker.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

constexpr int kRowHeight = 24, kFontHeight = 16;
// Tall rows for the large icons; the names at the dialog's own font size, so "Home" fits.
constexpr int kDriveRowHeight = 60, kDriveFontHeight = 16;

}  // namespace

void SaveDialog::setCurrentFolder(const QString& folder) {
    currentFolder_ = WithTrailingSlash(QDir::cleanPath(folder));
    level_ = PathDepth(currentFolder_);
}

void SaveDialog::refreshBrowser() {
    if (level_ >= 1) {
        // A remembered folder that has gone gives way to the home folder.
        for (const QString& folder : {currentFolder_, homeFolder_}) {
            if (!QFileInfo(folder).isDir()) continue;
            currentFolder_ = WithTrailingSlash(folder);
            level_ = PathDepth(currentFolder_);
            try {
                showFolder();
                return;
            } catch (const IoError&) {
            }
        }
    }
    showDrives();
}

void SaveDialog::showDrives() {
    level_ = 0;
    currentFolder_.clear();
    folderLabel_->clear();
    shownDrives_ = availableDrives();
    std::vector<Entry> entries;
    for (const Drive& d : shownDrives_) entries.push_back({d.name, DriveIcon(d)});
    const auto split =
        SplitIntoColumns(entries, ColumnSizesDrives(static_cast<int>(entries.size())));
    for (int c = 0; c < 3; ++c) {
        columns_[c]->setMetrics(kDriveRowHeight, kDriveFontHeight);
        columns_[c]->setEntries(split[c]);
    }
    scrollTrack_->setThumbOffset(0);
    showColumns();
}

void SaveDialog::showFolder() {
    const FolderListing listing = ListFolder(currentFolder_, SaveDialogMask());
    std::vector<Entry> entries;
    for (const QString& f : listing.folders) entries.push_back({f, EntryIcon::Folder});
    for (const QString& f : listing.files) entries.push_back({f, EntryIcon::Image});
    const auto split = SplitIntoColumns(entries, ColumnSizesEven(static_cast<int>(entries.size())));
    for (int c = 0; c < 3; ++c) {
        columns_[c]->setMetrics(kRowHeight, kFontHeight);
        columns_[c]->setEntries(split[c]);
    }
    folderCount_ = static_cast<int>(listing.folders.size());
    folderLabel_->setText(currentFolder_);
    scrollTrack_->setThumbOffset(0);
    showColumns();
}

void SaveDialog::showColumns() {
    showColumnsAndTrack(level_ == 0);
}

void SaveDialog::entryClicked(int column, int row) {
    EntryColumn* clicked = columns_[column];
    if (row < 0 || row >= clicked->count()) return;
    int entry = row;
    for (int c = 0; c < column; ++c) entry += columns_[c]->count();

    const QString before = currentFolder_;
    const int levelBefore = level_;
    try {
        if (level_ == 0) {
            const Drive drive = shownDrives_.at(static_cast<std::size_t>(entry));
            if (!DriveReady(drive)) {
                reportError(io::kInvalidDiskChange, drive.rootPath);
                return;
            }
            currentFolder_ = drive.rootPath;
            level_ = PathDepth(currentFolder_);
            showFolder();
        } else if (entry < folderCount_) {
            currentFolder_ += clicked->text(row) + '/';
            level_ += 1;
            showFolder();
        } else {
            // A file gives its name; the list stays.
            chosenName_ = QString::fromStdString(AMSname(clicked->text(row).toStdString()));
            nameEdit_->setText(chosenName_);
            clicked->setSelectedRow(row);
        }
    } catch (const IoError& e) {
        const QString failed = currentFolder_;
        currentFolder_ = before;
        level_ = levelBefore;
        reportError(e.code(), failed);
    }
}

void SaveDialog::goUp() {
    if (level_ == 0) {
        // Up in the drives view: the home folder.
        currentFolder_ = homeFolder_;
    } else if (level_ == 1) {
        // Above the root: the drives.
        showDrives();
        return;
    } else {
        currentFolder_ = ParentFolder(currentFolder_);
    }
    level_ = PathDepth(currentFolder_);
    try {
        showFolder();
    } catch (const IoError&) {
        refreshBrowser();  // the folder above has gone: home, or the drives view
    }
}

void SaveDialog::createFolder() {
    const std::optional<std::string> answer = asker_.askName("Enter folder name", 0);
    if (!answer || answer->empty()) return;
    const QString name = QString::fromStdString(*answer);
    if (currentFolder_.isEmpty() || name.contains('/') || name == "." || name == "..") {
        reportError(io::kPathNotFound, currentFolder_ + name);
        return;
    }
    const QString path = currentFolder_ + name;
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const int err = errno;
        reportError(ErrnoToIoCode(err), path);
        return;
    }
    currentFolder_ = path + '/';
    level_ = PathDepth(currentFolder_);
    try {
        showFolder();
    } catch (const IoError& e) {
        reportError(e.code(), currentFolder_);
    }
}

void SaveDialog::scrolledTo(int percent) {
    const int n = columns_[0]->count();
    const int row = std::max(0, n * percent / 100 - 1);
    for (EntryColumn* c : columns_)
        if (c->count() > 0) c->setSelectedRow(std::min(row, c->count() - 1));
}

}  // namespace mozu
