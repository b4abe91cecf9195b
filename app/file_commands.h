#pragma once
// The main window's file commands: open (through the open dialog), save (through the save
// dialog), files dropped on the window and files handed over by a second instance, and the
// question about unsaved pictures that comes before anything replaces them.

#include <QString>
#include <QStringList>
#include <functional>

#include "document/open_file.h"

namespace mozu {

class CommandContext;
class Document;
class GuiAsker;
class IoError;
class OpenDialog;
class SaveDialog;

class FileCommands {
  public:
    FileCommands(Document& document, CommandContext& context);

    void attach(OpenDialog* openDialog, SaveDialog* saveDialog, GuiAsker* asker) {
        openDialog_ = openDialog;
        saveDialog_ = saveDialog;
        asker_ = asker;
    }

    // A command waits on a dialog: drops and hand-offs wait too.
    bool busy() const { return busy_; }
    // A video conversion runs: nothing may replace the pictures or the video. The run answers
    // `query`; setConversionRunning stands in for a run (tests).
    void setRunQuery(std::function<bool()> query) { runQuery_ = std::move(query); }
    void setConversionRunning(bool running) { conversionRunning_ = running; }
    bool conversionRunning() const { return conversionRunning_ || (runQuery_ && runQuery_()); }
    // True (after telling the user so) while a video conversion runs: opening and exiting
    // wait for it rather than leave a half-written video behind.
    bool refuseWhileConverting();

    void openFile();
    // False when the save was cancelled or failed.
    bool saveFiles();
    void dropFiles(const QStringList& paths);
    void openHandedOverFile(const QString& path);
    // The close key: asks about unsaved pictures like open and exit, then puts the picture and
    // the video away; false when the user wanted to save and the save was cancelled or failed.
    bool closeFile();
    // The unsaved-pictures question; false when the user wanted to save and the save was
    // cancelled or failed (the command that asked must not go on).
    bool askAboutUnsaved();
    void notice(const QString& text);
    void showError(const IoError& error);
    // An error about one file: the code's text, then the file's name on a line of its own.
    void showFileError(const IoError& error, const QString& path);

  private:
    // Opens `path`; false (with the message shown) when nothing was opened.
    bool open(const QString& path, OpenOrigin origin);

    Document& document_;
    CommandContext& context_;
    OpenDialog* openDialog_ = nullptr;
    SaveDialog* saveDialog_ = nullptr;
    GuiAsker* asker_ = nullptr;
    bool busy_ = false;
    bool conversionRunning_ = false;
    std::function<bool()> runQuery_;
};

}  // namespace mozu
