#pragma once
// The main window: a view of one document. It owns the document and the controls, hands each
// key press to a small command object (files, conversion, video) and shows what the document's
// notices say (Image1 through PictureDisplay).

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/command_context.h"
#include "document/document.h"
#include "skin/skinned_window.h"

namespace mozu {

class ConvertCommands;
class FileCommands;
class GuiAsker;
class PictureDisplay;
class ReductionMenu;
class OpenDialog;
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

    Document& document() { return *document_; }
    const Document& document() const { return *document_; }
    // A video conversion runs: opening, dropping and exiting are refused meanwhile.
    bool videoConversionRunning() const;
    void setVideoConversionRunning(bool running);
    // The command-line file, opened at the first show.
    void setCommandLineFile(const QString& path) { commandLineFile_ = path; }

    // The picture shown in Image1 (what the user sees), for tests and the editor.
    QImage shownImage() const;

    // A file handed over by a second instance: the window comes to the front and opens it.
    void openHandedOverFile(const QString& path);
    // Files dropped on the window (one at a time).
    void dropFiles(const QStringList& paths);
    // The exit key: asks about unsaved pictures, then closes the window and ends the program.
    void exitProgram();

    // The progress ball of a video conversion.
    void setProgressAngle(int angle);
    void startProgress();
    void stopProgress();

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
    void onDocumentChange(const DocumentChange& change);
    void showInformation();
    void hideInformation();

    std::unique_ptr<Document> document_;
    std::unique_ptr<MainWindowControls> controls_;
    std::unique_ptr<PictureDisplay> display_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<ConvertCommands> conversion_;
    std::unique_ptr<ReductionMenu> reduction_;
    VideoCommands* video_ = nullptr;  // a child QObject: its timers live with the window

    bool firstShow_ = true;
    bool exiting_ = false;
    QString commandLineFile_;
};

}  // namespace mozu
