#pragma once
// OpenDialog: the program's own open window. The user walks through drives and folders shown
// as icons in three columns, clicks a file to see a small preview and a one-line description
// (Label2), and confirms (KeyGreen01) or cancels (KeyRed01).
//
// Use from the main window (created once, kept for the program's life; it remembers its folder):
//
//     OpenDialog dialog(asker);                // asker: the message window
//     dialog.setErrorHandler(showIoError);        // optional, see below
//     QString path = dialog.Execute(this);        // full path, or "<none>" when cancelled
//
// Execute hides the owner, shows the dialog and waits in a local event loop (the user interface
// stays live) until OK or Cancel closes it; then the owner is shown again. Show() is the same
// without waiting: `finished(path)` is emitted on closing (tests and callers that keep their own
// loop use it).
//
// The previews read every file with their own conversion state, PC video source and SymbOS
// video reader: previewing never changes the caller's pictures, palettes or open video.
// Input/output errors (a drive without a medium, a file that cannot be read) go to the error
// handler with the error code and the message; without one they are shown as a notice through
// the asker with the code's text.

#include <QString>
#include <QWidget>
#include <vector>

#include "dialogs/drive_list.h"
#include "dialogs/folder_dialog.h"
#include "dialogs/folder_view.h"

class QLabel;
class QLineEdit;

namespace mozu {

class Asker;
class FolderLabel;
class PictureKey;
class PreviewImage;

class OpenDialog : public FolderDialog {
    Q_OBJECT
  public:
    explicit OpenDialog(Asker& asker, QWidget* parent = nullptr);
    ~OpenDialog() override;

    // Shows the dialog and waits until it closes: the chosen path, or "<none>".
    QString Execute(QWidget* owner = nullptr);
    // Shows the dialog and returns at once; `finished` tells the result.
    void Show(QWidget* owner = nullptr);

    // The folder the next Execute shows (with its trailing '/'); a folder that no longer exists
    // falls back to the home folder.
    void setCurrentFolder(const QString& folder);
    QString currentFolder() const { return currentFolder_; }
    int depth() const { return depth_; }  // 0 in the drives view
    QString chosenPath() const { return chosenPath_; }

  Q_SIGNALS:
    void finished(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Handlers.
    void entryClicked(int column, int row) override;  // a row of ListBox1-3
    void goUp();                                      // Key01 and Backspace: one level up
    void confirm();                                   // KeyGreen01 and Enter: open the clicked file
    void cancel();                                    // KeyRed01 and Escape
    // Return in the path field: a folder is shown, a file is opened, anything else is reported.
    void goToTypedPath(const QString& typed);
    void setFolderText(const QString& text);  // Label1 and the path field
    // The dialog closes (by OK, Cancel or the window manager): the owner comes back and
    // `finished` tells the result.
    void finishClosing();
    void scrolledTo(int percent) override;  // the track (Vertical) or a wheel turn

    void refresh();
    void fillColumns();  // the folder view of the current folder
    void showDrives();   // the drives view
    void enterFolder(const QString& folder);
    void showColumns();
    void clearColumns();
    void setColumnsLarge(bool large);

    QWidget* owner_ = nullptr;
    bool open_ = false;

    QString currentFolder_;
    int depth_ = 0;
    bool fileClicked_ = false;
    QString chosenPath_;
    bool confirmed_ = false;
    std::vector<Drive> shownDrives_;
    FolderListing listing_;  // the current folder's subfolders and files

    // Controls, with their object names.
    FolderLabel* folderLabel_ = nullptr;    // Label1 (the text; the path field shows it)
    QLineEdit* pathEdit_ = nullptr;         // PathEdit: the folder, to be typed over
    QLabel* descriptionLabel_ = nullptr;    // Label2
    PreviewImage* previewImage_ = nullptr;  // Image2
    PictureKey* upButton_ = nullptr;        // Key01
    PictureKey* okButton_ = nullptr;        // KeyGreen01
    PictureKey* cancelButton_ = nullptr;    // KeyRed01
};

}  // namespace mozu
