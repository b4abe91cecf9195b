#pragma once
// SaveDialog: the program's own save window. The user picks a folder with its own drive and
// folder browser, types a name of at most 7 characters and, for a picture, ticks the formats to
// write; for a video it asks for a title and a line of additional information instead. It writes
// nothing itself: it hands back a base name (folder + name, no extension) and the save selection.
//
// Use from the main window (created once; it remembers its folder between uses):
//
//     SaveDialog dialog(asker);               // asker: the message window ("Enter folder name")
//     SaveDialogResult r = dialog.Execute(this, selection, AMSname(currentFileName));
//     if (r.cancelled()) ...                     // selection "FFFFFFFFFFFFF", name "<none>"
//
// Picture mode: `selection` is one 'T'/'F' per picture slot (23 characters from the converted
// flags). OK without touching the options gives it back unchanged; clicking an option rebuilds it
// as 12 characters (slots 0-11), so all options off gives "FFFFFFFFFFFF", which is no cancel.
// Video mode: `selection` begins with 'V'; OK gives the video description: the character 32 +
// length of the title, the title, the character 32 + length of the information, the information
// (each at most 32 characters). name: the folder + the AMS name typed, e.g. "/home/ann/sunset".
//
// Execute hides the owner, shows the dialog and waits in a local event loop until OK or Cancel;
// Show() returns at once and `finished()` tells when result() is ready. "New Folder" asks
// "Enter folder name" through the asker (any length); a folder that cannot be made is an
// input/output error, given to the error handler (default: a notice with the code's text).

#include <QString>
#include <QWidget>
#include <array>
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
class OptionMark;

struct SaveDialogResult {
    QString selection;
    QString name;
    bool cancelled() const { return selection == QLatin1String("FFFFFFFFFFFFF"); }
};

class SaveDialog : public FolderDialog {
    Q_OBJECT
  public:
    explicit SaveDialog(Asker& asker, QWidget* parent = nullptr);
    ~SaveDialog() override;

    // Shows the dialog and waits until it closes.
    SaveDialogResult Execute(QWidget* owner, const QString& selection, const QString& name);
    // Shows the dialog and returns at once; `finished` is emitted when result() is ready.
    void Show(QWidget* owner, const QString& selection, const QString& name);
    SaveDialogResult result() const { return {selection_, name_}; }

    void setCurrentFolder(const QString& folder);
    QString currentFolder() const { return currentFolder_; }
    int level() const { return level_; }  // 0 in the drives view
    QString chosenName() const { return chosenName_; }

    // The video description OK builds from a title and an information line.
    static QString VideoDescription(const QString& title, const QString& info);

  Q_SIGNALS:
    void finished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Handlers.
    void toggleFormat(int n);  // OptionNN: writes the format of slot n or not
    void createFolder();       // Option16, "New Folder"
    void updateChosenName();   // Edit1 (and the video texts) changed
    void confirm();            // KeyGreen01 and Enter in Edit1
    void cancel();             // KeyRed01 and Escape
    void goUp();               // Key01: one level up
    void entryClicked(int column, int row) override;  // a row of ListBox1-3
    // The dialog closes (by OK, Cancel or the window manager): result() is set, the owner comes
    // back and `finished` is emitted.
    void finishClosing();
    void scrolledTo(int percent) override;  // the track (Vertical) or a wheel turn

    void refreshBrowser();
    void showDrives();
    void showFolder();
    void showColumns();
    bool videoMode() const { return selection_.startsWith('V'); }

    QWidget* owner_ = nullptr;
    bool open_ = false;

    QString currentFolder_;
    int level_ = 0;
    QString chosenName_;
    bool confirmed_ = false;
    QString selection_;
    QString name_;
    std::array<std::uint8_t, 14> flags_{};
    std::vector<Drive> shownDrives_;
    int folderCount_ = 0;  // subfolders before the files in the columns

    // Controls, with their object names.
    FolderLabel* folderLabel_ = nullptr;           // Label1
    PictureKey* upButton_ = nullptr;               // Key01
    PictureKey* okButton_ = nullptr;               // KeyGreen01
    PictureKey* cancelButton_ = nullptr;           // KeyRed01
    std::array<OptionMark*, 12> formatOptions_{};  // Option00 ... Option11 (3 and 7 unused)
    OptionMark* newFolderOption_ = nullptr;        // Option16
    QLineEdit* nameEdit_ = nullptr;                // Edit1
    QLineEdit* videoTitle_ = nullptr;              // VideoTitle
    QLineEdit* videoAdd_ = nullptr;                // VideoAdd
    std::vector<QWidget*> videoControls_;
};

}  // namespace mozu
