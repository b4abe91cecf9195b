#pragma once
// FolderDialog: what the open and save windows share. Both browse drives and folders with the
// same skin keys and report input/output errors the same way.

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_pictures.h"
#include "dialogs/drive_list.h"
#include "skin/skinned_window.h"

namespace mozu {

class Asker;
class EntryColumn;
class PictureKey;
class ScrollTrack;

class FolderDialog : public SkinnedWindow {
    Q_OBJECT
  public:
    // `path`: the file, folder or drive the error concerns.
    using ErrorHandler = std::function<void(int code, const QString& path)>;

    void setErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }
    QString homeFolder() const { return homeFolder_; }
    // The drives the drives view lists (the system's unless set, e.g. by tests).
    void setDrives(std::vector<Drive> drives) { drivesOverride_ = std::move(drives); }

  protected:
    // Dragged by its background; the home folder is read once, here.
    FolderDialog(Asker& asker, QWidget* parent);

    // An input/output error goes to the error handler with its code and the file, folder or
    // drive it concerns; without one it is shown as a notice through the asker with the code's
    // text and that path on a line of its own.
    void reportError(int code, const QString& message);
    std::vector<Drive> availableDrives() const;
    // A skin key named `name` with its `up` and `down` pictures, at `place` and of its size.
    PictureKey* addKey(const QString& name, DialogPic up, DialogPic down,
                       const dialog_layout::Box& place);
    // The entry columns ListBox1-3 at `boxes` and the vertical track at `track`, hidden. A click
    // on a row calls entryClicked; a wheel turn over a column and the track's own scrolling call
    // scrolledTo with the thumb's place in percent.
    void addColumns(const std::array<dialog_layout::Box, 3>& boxes,
                    const dialog_layout::Box& track);
    // Shows the columns that have entries, and the track from 6 rows in the first column in the
    // drives view (large rows), from 14 in a folder.
    void showColumnsAndTrack(bool drivesView);
    virtual void entryClicked(int column, int row) = 0;
    virtual void scrolledTo(int percent) = 0;

    Asker& asker_;
    QString homeFolder_;
    std::array<EntryColumn*, 3> columns_{};
    ScrollTrack* scrollTrack_ = nullptr;

  private:
    // A wheel turn moves the thumb by a row's share of the track.
    void scrollBy(int steps);

    int trackHeight_ = 1;
    ErrorHandler errorHandler_;
    std::vector<Drive> drivesOverride_;
};

}  // namespace mozu
