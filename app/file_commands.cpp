// The file commands. A new file replaces the pictures only once it has been read completely
// (the open service sees to that); until then every slot and flag stays as it was.

#include "app/file_commands.h"

#include <QFileInfo>

#include "app/command_context.h"
#include "app/gui_asker.h"
#include "app/message_window.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "formats/file_name.h"
#include "formats/save_flow.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// Marks the commands as waiting on a dialog for as long as one runs.
class BusyGuard {
  public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    bool& flag_;
};

constexpr const char* kConversionRunning =
    "Video conversion in progress. First you need terminate this process";

}  // namespace

FileCommands::FileCommands(Document& document, CommandContext& context)
    : document_(document), context_(context) {}

bool FileCommands::refuseWhileConverting() {
    if (!conversionRunning()) return false;
    notice(kConversionRunning);
    return true;
}

void FileCommands::notice(const QString& text) {
    if (asker_) asker_->Ask(MessageWindow::kNotice, text);
}

void FileCommands::showError(const IoError& error) {
    if (asker_) asker_->showError(error);
}

void FileCommands::showFileError(const IoError& error, const QString& path) {
    if (asker_) asker_->Ask(MessageWindow::kError, ErrorTextNaming(error.code(), path));
}

bool FileCommands::askAboutUnsaved() {
    const int unsaved = document_.unsavedCount();
    if (unsaved == 0 || !asker_) return true;
    const QString text =
        unsaved == 1 ? QString("%1 file not saved. Do you want save it now").arg(unsaved)
                     : QString("%1 files not saved. Do you want save they now").arg(unsaved);
    if (asker_->Ask(MessageWindow::kQuestion, text) != MessageWindow::kYes) return true;
    // Yes: the pictures are saved first; a cancelled or failed save stops what asked.
    return saveFiles();
}

bool FileCommands::saveFiles() {
    if (!saveDialog_ || !asker_) return false;
    context_.setStatus("Saving");
    const ConversionState& state = document_.state();
    const QString name = QString::fromStdString(AMSname(state.currentFileName));
    const QString selection = QString::fromStdString(SaveSelectionFromFlags(state));
    const SaveDialogResult r = saveDialog_->Execute(context_.window(), selection, name);
    if (r.cancelled()) {
        context_.setStatus("");
        return false;
    }
    try {
        document_.save(*asker_, r.name.toStdString(), r.selection.toStdString());
    } catch (const IoError& e) {
        context_.setStatus("");
        showError(e);
        return false;
    }
    context_.setStatus("");
    return true;
}

void FileCommands::openFile() {
    if (busy_) return;
    if (refuseWhileConverting()) return;
    BusyGuard guard(busy_);
    context_.setStatus("Opening");
    context_.setTargetDescription("");
    context_.stopPlayback();
    if (askAboutUnsaved() && openDialog_) {
        const QString path = openDialog_->Execute(context_.window());
        if (path != QLatin1String("<none>") && !path.isEmpty()) open(path, OpenOrigin::Chosen);
    }
    context_.updateVideoControls();
    context_.setStatus("");
}

void FileCommands::dropFiles(const QStringList& paths) {
    if (conversionRunning() || busy_ || paths.isEmpty()) return;
    BusyGuard guard(busy_);
    if (paths.size() > 1) {
        notice("One file at same time only");
        return;
    }
    if (askAboutUnsaved()) open(paths.front(), OpenOrigin::Dropped);
    context_.updateVideoControls();
}

bool FileCommands::closeFile() {
    if (busy_) return false;
    if (refuseWhileConverting()) return false;
    BusyGuard guard(busy_);
    // Closing gives the converted pictures up, as opening another file does: the same question
    // first, and a cancelled or failed save keeps everything as it is.
    if (!askAboutUnsaved()) return false;
    context_.stopPlayback();
    document_.closePicture();
    context_.setDescription("");
    context_.setTitle("");
    context_.setTargetDescription("");
    context_.setStatus("");
    context_.updateVideoControls();
    return true;
}

void FileCommands::openHandedOverFile(const QString& path) {
    if (path.isEmpty() || conversionRunning() || busy_) return;
    BusyGuard guard(busy_);
    if (askAboutUnsaved()) open(path, OpenOrigin::Dropped);
    context_.updateVideoControls();
}

bool FileCommands::open(const QString& path, OpenOrigin origin) {
    OpenResult result;
    try {
        // A screen dump without a palette file asks for its mode.
        OpenSettings settings;
        settings.asker = asker_;
        // A file of no known name or bytes may still be a video FFmpeg recognises.
        const std::string file = path.toStdString();
        VideoFrameSource* videos = document_.video().source.get();
        const FileType type = videos ? RecogniseFile(file, *videos) : RecogniseFile(file);
        result = OpenFileAs(document_, file, type, origin, settings);
    } catch (const IoError& e) {
        showFileError(e, path);
        return false;
    }
    if (result.status == OpenResult::Status::Cancelled) return false;
    if (!result.opened()) {
        notice("Not supported file format");
        return false;
    }
    context_.setDescription(QString::fromStdString(result.description));
    context_.setTitle(QString::fromStdString(result.title));
    // What the last key made belongs to the file before.
    context_.setTargetDescription("");
    return true;
}

}  // namespace mozu
