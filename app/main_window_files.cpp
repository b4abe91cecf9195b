// MainWindow: the open and save commands, files dropped on the window and files handed over
// by a second instance. A new file replaces the pictures only once it has been read completely;
// until then every slot, flag and the open video stay as they were.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/gui_asker.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "app/picture_view.h"
#include "app/position_bar.h"
#include "colour/count_colors.h"
#include "colour/resize.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "formats/cpc_file_reader.h"
#include "formats/display_layout.h"
#include "formats/file_name.h"
#include "formats/file_type.h"
#include "formats/save_flow.h"
#include "platform/io_error.h"
#include "platform/media/image_loader.h"
#include "skin/picture_key.h"
#include "skin/skin_label.h"
#include "skin/symbol_label.h"
#include "video/vid_reader.h"

namespace mozu {

namespace {

// Marks the main window as waiting on a dialog for as long as a command runs.
class BusyGuard {
  public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    bool& flag_;
};

QString Dimensions(const Picture& p) {
    return QString("%1x%2").arg(p.width()).arg(p.height());
}

}  // namespace

bool MainWindow::AskAboutUnsaved() {
    int unsaved = 0;
    for (int k = 0; k <= 12; ++k)
        if (state_.saved[static_cast<std::size_t>(k)] == 0) ++unsaved;
    if (unsaved == 0 || !asker_) return true;
    const QString text =
        unsaved == 1 ? QString("%1 file not saved. Do you want save it now").arg(unsaved)
                     : QString("%1 files not saved. Do you want save they now").arg(unsaved);
    if (asker_->Ask(MessageWindow::kQuestion, text) != MessageWindow::kYes) return true;
    // Yes: the pictures are saved first; a cancelled or failed save stops what asked.
    return Key21Click();
}

bool MainWindow::Key21Click() {
    if (!saveDialog_ || !asker_) return false;
    label4_->setText("Saving");
    const QString name = QString::fromStdString(AMSname(state_.currentFileName));
    const QString selection = QString::fromStdString(SaveSelectionFromFlags(state_));
    const SaveDialogResult r = saveDialog_->Execute(this, selection, name);
    if (r.cancelled()) {
        label4_->setText("");
        return false;
    }
    try {
        SaveSlots(state_, *asker_, r.name.toStdString(), r.selection.toStdString());
    } catch (const IoError& e) {
        label4_->setText("");
        ShowIoError(e);
        return false;
    }
    label4_->setText("");
    return true;
}

void MainWindow::Key20Click() {
    if (busy_) return;
    // Opening stops the conversion timers: refuse while a conversion runs rather than leave a
    // half-written video behind.
    if (videoConversionRunning_) {
        Notice("Video conversion in progress. First you need terminate this process");
        return;
    }
    BusyGuard guard(busy_);
    label4_->setText("Opening");
    label3_->setText("");
    vidTimer_->stop();
    playTimer_->stop();
    makeTimer_->stop();
    make16Timer_->stop();
    if (AskAboutUnsaved() && openDialog_) {
        const QString path = openDialog_->Execute(this);
        if (path != QLatin1String("<none>") && !path.isEmpty()) OpenFile(path, Origin::OpenDialog);
    }
    EnableVideoControls();
    label4_->setText("");
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
    QStringList paths;
    for (const QUrl& url : e->mimeData()->urls())
        paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    e->acceptProposedAction();
    // The drop is released first; questions and loading come after it.
    QTimer::singleShot(0, this, [this, paths] { WMDropFiles(paths); });
}

void MainWindow::WMDropFiles(const QStringList& paths) {
    if (videoConversionRunning_ || busy_ || paths.isEmpty()) return;
    BusyGuard guard(busy_);
    if (paths.size() > 1) {
        Notice("One file at same time only");
        return;
    }
    if (AskAboutUnsaved()) OpenFile(paths.front(), Origin::Drop);
    EnableVideoControls();
}

void MainWindow::WMCopyData(const QString& path) {
    // A second instance was started: come to the front, with or without a file.
    showNormal();
    raise();
    activateWindow();
    if (path.isEmpty() || videoConversionRunning_ || busy_) return;
    BusyGuard guard(busy_);
    if (AskAboutUnsaved()) OpenFile(path, Origin::HandOff);
    EnableVideoControls();
}

bool MainWindow::OpenFile(const QString& qpath, Origin origin) {
    const std::string path = qpath.toStdString();
    std::uint8_t type = filetype::kUnsupported;
    try {
        type = IsSupportedFile(path);
    } catch (const IoError& e) {
        ShowIoError(e);
        return false;
    }
    // The last four characters, upper case: ".JPG", "JPEG", ".AVI" ...
    const QString extension = qpath.right(4).toUpper();
    switch (type) {
        case filetype::kBmp:
        case filetype::kJpeg:
            return OpenPcPicture(path, type, origin, extension);
        case filetype::kPcVideo:
            return OpenPcVideo(path, origin, extension);
        case filetype::kVideo4:
        case filetype::kVideo16:
            return OpenSymbosVideo(path);
        case filetype::kHeadedScreen:  // a screen file without our routine: not readable
        case filetype::kUnsupported:
            Notice("Not supported file format");
            return false;
        default:
            return OpenCpcPicture(path);
    }
}

void MainWindow::ResetForNewFile() {
    videoLabel04_->setText("4");
    vidTimer_->stop();
    playTimer_->stop();
    label2_->setText("");
    image2_->hide();
    StandardImage1Layout();
    image1_->show();
    state_.noPicture = false;
    video_.loaded = false;
    video_.symbosVideo = false;
    // The new picture replaces the old ones: what was unsaved is gone now.
    for (int k = 0; k <= 12; ++k) state_.saved[static_cast<std::size_t>(k)] = 1;
    state_.stale.fill(false);
    state_.sourceChanged = false;
    state_.sourceShown = true;
    update(QRect(214, 150, 372, 268));  // the screen: dark under a picture
}

bool MainWindow::OpenPcPicture(const std::string& path, std::uint8_t type, Origin origin,
                               const QString& extension) {
    Picture loaded;
    try {
        if (type == filetype::kJpeg)
            JPEGtoBMP(path, loaded);
        else
            LoadBMP(path, loaded);
    } catch (const IoError& e) {
        ShowIoError(e);
        return false;
    }
    CloseVideo();
    ResetForNewFile();
    state_.currentFileName = path;
    state_.source = std::move(loaded);
    state_.currentSlot = state_.sourceSlot = kSourceSlot;
    state_.converted.fill(0);
    ShowPicture(state_.source);
    state_.sourceColourCount = CountColors(state_, state_.source);
    const QString head =
        origin == Origin::OpenDialog ? extension + " image\n\r" : QString("Bitmap image\n\r");
    label1_->setText(head + Dimensions(state_.source) + "\n\r" +
                     QString::number(state_.sourceColourCount) + " colors");
    return true;
}

bool MainWindow::OpenCpcPicture(const std::string& path) {
    // OpenCPCFile sets the flag of the slot it fills; the others are cleared once it succeeded.
    std::string description;
    const auto previousFlags = state_.converted;
    try {
        description = OpenCPCFile(state_, path);
    } catch (const IoError& e) {
        state_.converted = previousFlags;
        if (e.code() == io::kInvalidData)
            Notice("Not supported file format");
        else
            ShowIoError(e);
        return false;
    }
    const int type = state_.currentSlot;
    const std::uint8_t kept = state_.converted[static_cast<std::size_t>(type)];
    state_.converted.fill(0);
    state_.converted[static_cast<std::size_t>(type)] = kept;
    CloseVideo();
    ResetForNewFile();
    state_.currentFileName = path;
    const Picture& read = state_.picture(type);
    ShowCPCImage(type, read);
    // The source is the picture at its display size (mode 0 pixels doubled in width ...).
    AdoptOpenedPicture(state_, type);
    state_.sourceShown = false;
    label1_->setText(QString::fromStdString(description));
    return true;
}

bool MainWindow::OpenSymbosVideo(const std::string& path) {
    VidReader& reader = vidReader();
    Picture first;
    try {
        OpenVIDfile(reader, state_, video_, path);
        showVIDframe2(reader, 0, first);
    } catch (const IoError& e) {
        // The reader closed the SymbOS video it had open; a PC video stays as it was.
        CloseVIDfile(reader);
        if (video_.symbosVideo) video_.loaded = false;
        ShowIoError(e);
        return false;
    }
    CloseVideoSource(video_);
    ResetForNewFile();
    state_.currentFileName = path;
    state_.converted.fill(0);
    state_.currentSlot = state_.sourceSlot =
        static_cast<std::uint8_t>(reader.sixteen() ? filetype::kVideo16 : filetype::kVideo4);
    ShowPicture(first);
    state_.source = first;
    state_.sourceColourCount = CountColors(state_, state_.source);
    ResetPositionBar();
    video_.loaded = true;
    video_.symbosVideo = true;
    label1_->setText(QString::fromStdString(VidDescription(reader)));
    label2_->setText(QString::fromStdString(VidTitleLabel(reader)));
    return true;
}

void MainWindow::EnableVideoControls() {
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->objectName().startsWith("Video")) w->setEnabled(video_.loaded);
    // A SymbOS video cannot be converted again: there is no PC video behind it.
    if (video_.loaded && video_.symbosVideo) {
        videoKeys_[13]->setEnabled(false);
        videoKeys_[14]->setEnabled(false);
    }
    horizontal_->setEnabled(video_.loaded);
    hScrollButton_->setEnabled(video_.loaded);
}

}  // namespace mozu
