#pragma once
// FolderDialog: what the open and save windows share. Both browse drives and folders with the
// same skin keys and report input/output errors the same way.

#include <QString>
#include <functional>
#include <vector>

#include "app/skinned_window.h"
#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_pictures.h"
#include "dialogs/drive_list.h"

namespace mozu {

class Asker;
class PictureKey;
class ScrollTrack;

class FolderDialog : public SkinnedWindow {
    Q_OBJECT
  public:
    using ErrorHandler = std::function<void(int code, const QString& message)>;

    void setErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }
    QString homeFolder() const { return homeFolder_; }
    // The drives the drives view lists (the system's unless set, e.g. by tests).
    void setDrives(std::vector<Drive> drives) { drivesOverride_ = std::move(drives); }

  protected:
    // Dragged by its background; the home folder is read once, here.
    FolderDialog(Asker& asker, QWidget* parent);

    // An input/output error goes to the error handler with its code and message; without one
    // it is shown as a notice through the asker with the code's text.
    void ReportError(int code, const QString& message);
    std::vector<Drive> Drives() const;
    // A skin key named `name` with its `up` and `down` pictures, at `place` and of its size.
    PictureKey* AddKey(const QString& name, DialogPic up, DialogPic down,
                       const dialog_layout::Box& place);
    // A wheel turn of `steps` over the columns moves the thumb of `track` (`trackHeight` high)
    // by a row's share of the track, `rows` being the first column's rows; returns the thumb's
    // place in percent, as the track's own scrolling gives it.
    static int WheelScroll(ScrollTrack& track, int trackHeight, int rows, int steps);

    Asker& asker_;
    QString homeFolder_;

  private:
    ErrorHandler errorHandler_;
    std::vector<Drive> drivesOverride_;
};

}  // namespace mozu
