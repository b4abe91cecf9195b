#pragma once
// The main window: a view of one document. It owns the document and the controls, hands each
// key press to a small command object (files, conversion, video) and shows what the document's
// notices say (Image1 through PictureDisplay).

#include <QImage>
#include <QKeyCombination>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/command_context.h"
#include "document/document.h"
#include "skin/skinned_window.h"

class QTimer;

namespace mozu {

class ColourDialog;
class ConvertCommands;
class EditCommand;
class EditWindow;
class FileCommands;
class FullPreview;
class GuiAsker;
class PictureDisplay;
class ReductionMenu;
class OpenDialog;
class PictureKey;
class SaveDialog;
class VideoCommands;
struct MainWindowControls;

inline constexpr const char* kCaption = "Mozu v1.0";
inline constexpr const char* kApplicationTitle = "Mozu";

class MainWindow : public SkinnedWindow, private CommandContext {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows the commands use, created after this one.
    void attachWindows(OpenDialog* open, SaveDialog* save, GuiAsker* asker);
    // The editor and its colour dialog, for the edit key and blank pictures.
    void attachEditor(EditWindow* editor, ColourDialog* colours);
    // The full preview, which a click on the picture opens.
    void attachPreview(FullPreview* preview);

    Document& document() { return *document_; }
    const Document& document() const { return *document_; }
    // A video conversion runs: opening, dropping and exiting are refused meanwhile.
    bool videoConversionRunning() const;
    // Tests stand in for a run with this; a real run is known from the run itself.
    void setVideoConversionRunning(bool running);
    // The command-line file, opened at the first show.
    void setCommandLineFile(const QString& path) { commandLineFile_ = path; }

    // The picture shown in Image1 (what the user sees), for tests and the editor.
    QImage shownImage() const;

    // A file handed over by a second instance: the window comes to the front and opens it.
    // While a message, a question or a dialog is open, that stays in front with the focus and
    // the file waits until it is answered (the last file handed over is the one opened).
    void openHandedOverFile(const QString& path);
    QString waitingHandOff() const { return pendingHandOff_; }
    // The close key: asks about unsaved pictures, then puts the picture and the video away.
    void closeFile();
    // Files dropped on the window (one at a time).
    void dropFiles(const QStringList& paths);
    // The exit key: asks about unsaved pictures, then closes the window and ends the program.
    void exitProgram();

  Q_SIGNALS:
    // The exit command closed the window: the program ends.
    void exited();

  protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dropEvent(QDropEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    // CommandContext
    void setStatus(const QString& text) override;
    void setDescription(const QString& text) override;
    void setTitle(const QString& text) override;
    void setTargetDescription(const QString& text) override;
    void updateVideoControls() override;
    void stopPlayback() override;
    QWidget* window() override { return this; }

    void connectKeys();
    // The keyboard: shortcuts press the keys' buttons; each key's tooltip names its shortcut.
    void bindShortcuts();
    void bind(QKeyCombination combination, PictureKey* key);
    void onDocumentChange(const DocumentChange& change);
    // The window title names the file and marks unsaved conversions ("photo.jpg* - Mozu").
    void updateWindowTitle();
    // The key of the slot on show is marked as current.
    void markCurrentKey(const DocumentChange& change);
    // The program's window the user must answer first (a message, a question, a dialog), or
    // null when the main window is free.
    QWidget* windowInFront() const;
    void openWaitingHandOff();
    void showInformation();
    void hideInformation();

    std::unique_ptr<Document> document_;
    std::unique_ptr<MainWindowControls> controls_;
    std::unique_ptr<PictureDisplay> display_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<ConvertCommands> conversion_;
    std::unique_ptr<ReductionMenu> reduction_;
    VideoCommands* video_ = nullptr;  // a child QObject: its timers live with the window
    EditCommand* edit_ = nullptr;     // a child QObject

    OpenDialog* openDialog_ = nullptr;
    SaveDialog* saveDialog_ = nullptr;
    GuiAsker* asker_ = nullptr;
    struct Shortcut {
        QKeyCombination combination;
        PictureKey* key;
    };
    std::vector<Shortcut> shortcuts_;
    QString pendingHandOff_;
    QTimer* handOffTimer_ = nullptr;

    bool firstShow_ = true;
    bool exiting_ = false;
    QString commandLineFile_;
};

}  // namespace mozu
