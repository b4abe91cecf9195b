// The main window: creation, the keys' wiring, the window's own events (drops, close, the
// double click) and the texts the commands set.

#include "app/main_window.h"

#include <QCloseEvent>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QUrl>

#include "app/convert_commands.h"
#include "app/file_commands.h"
#include "app/main_window_controls.h"
#include "app/main_window_layout.h"
#include "app/picture_display.h"
#include "app/picture_view.h"
#include "app/reduction_menu.h"
#include "app/video_commands.h"
#include "skin/picture_key.h"
#include "skin/shape.h"
#include "skin/skin_label.h"
#include "skin/theme.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"

namespace mozu {

namespace L = layout;

namespace {

// The screen behind Image1: dark under a picture, the skin's prompt without one.
const QRect kScreen(214, 150, 372, 268);

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : SkinnedWindow(Dragging::SystemMoveFirst, parent),
      document_(std::make_unique<Document>(MakeFfmpegFrameSource())) {
    setObjectName("TMainWindow");
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(Theme::Picture("MozuIcon")));
    setFixedSize(L::kWindowWidth, L::kWindowHeight);
    // The mask cuts the outline; inside it the skin covers every pixel, so the window paints
    // opaquely (no blending with what lies behind it).
    setAttribute(Qt::WA_OpaquePaintEvent);
    setShape(MainWindowShape());
    setAcceptDrops(true);
    setBackground(Theme::Opaque("MainBackground", QColor(22, 24, 30)));

    controls_ = std::make_unique<MainWindowControls>(
        CreateMainWindowControls(this, [this] { hideInformation(); }));
    display_ = std::make_unique<PictureDisplay>(*document_, *controls_->image1);
    CommandContext& context = *this;
    files_ = std::make_unique<FileCommands>(*document_, context);
    conversion_ = std::make_unique<ConvertCommands>(*document_, context);
    std::vector<std::pair<QWidget*, Slot>> convertKeys(controls_->convertKeys.begin(),
                                                       controls_->convertKeys.end());
    reduction_ =
        std::make_unique<ReductionMenu>(*document_, convertKeys, *controls_->targetDescription);
    video_ = new VideoCommands(*document_, controls_->video, this);
    document_->addObserver([this](const DocumentChange& change) { onDocumentChange(change); });
    connectKeys();
    updateVideoControls();  // nothing loaded: all disabled
}

MainWindow::~MainWindow() = default;

void MainWindow::attachWindows(OpenDialog* open, SaveDialog* save, GuiAsker* asker) {
    files_->attach(open, save, asker);
    conversion_->attach(asker);
}

void MainWindow::connectKeys() {
    const MainWindowControls& c = *controls_;
    const auto on = [this](PictureKey* key, auto&& handler) {
        connect(key, &PictureKey::clicked, this, std::forward<decltype(handler)>(handler));
    };
    on(c.openKey, [this] { files_->openFile(); });
    // The key ignores whether the save went through.
    on(c.saveKey, [this] { files_->saveFiles(); });
    on(c.sourceKey, [this] { conversion_->showSource(); });
    on(c.closeKey, [this] { conversion_->closePicture(); });
    on(c.infoKey, [this] { showInformation(); });
    on(c.exitKey, [this] { exitProgram(); });
    for (const auto& [key, slot] : c.convertKeys)
        on(key, [this, slot = slot] { conversion_->convert(slot); });
    const auto adjust = [this](Adjustment a) {
        return [this, a] { conversion_->adjust(a, ContrastArea{width(), height()}); };
    };
    on(c.autobalanceKey, adjust(Adjustment::Autobalance));
    on(c.moreContrastKey, adjust(Adjustment::MoreContrast));
    on(c.lessContrastKey, adjust(Adjustment::LessContrast));
    on(c.brighterKey, adjust(Adjustment::Brighter));
    on(c.darkerKey, adjust(Adjustment::Darker));
}

void MainWindow::onDocumentChange(const DocumentChange& change) {
    // With a picture loaded the screen is dark around it; without one the skin's prompt shows.
    if (change.kind == DocumentChange::Kind::Opened)
        update(kScreen);
    else if (change.kind == DocumentChange::Kind::PictureClosed)
        update(controls_->image1->geometry().adjusted(-2, -2, 2, 2) |
               kScreen.adjusted(2, 2, -2, -2));
}

bool MainWindow::videoConversionRunning() const {
    return files_->conversionRunning();
}

void MainWindow::setVideoConversionRunning(bool running) {
    files_->setConversionRunning(running);
}

QImage MainWindow::shownImage() const {
    return display_->shownImage();
}

void MainWindow::openHandedOverFile(const QString& path) {
    // A second instance was started: come to the front, with or without a file.
    showNormal();
    raise();
    activateWindow();
    files_->openHandedOverFile(path);
}

void MainWindow::dropFiles(const QStringList& paths) {
    files_->dropFiles(paths);
}

void MainWindow::exitProgram() {
    if (files_->refuseWhileConverting()) return;
    if (!files_->askAboutUnsaved()) return;  // the save was cancelled or failed: keep running
    exiting_ = true;
    close();
}

void MainWindow::setProgressAngle(int angle) {
    video_->setProgressAngle(angle);
}

void MainWindow::startProgress() {
    video_->startProgress();
}

void MainWindow::stopProgress() {
    video_->stopProgress();
}

void MainWindow::showInformation() {
    controls_->infoPicture->show();
    controls_->infoPicture->raise();
}

void MainWindow::hideInformation() {
    controls_->infoPicture->hide();
}

void MainWindow::setStatus(const QString& text) {
    controls_->status->setText(text);
}

void MainWindow::setDescription(const QString& text) {
    controls_->description->setText(text);
}

void MainWindow::setTitle(const QString& text) {
    controls_->title->setText(text);
}

void MainWindow::setTargetDescription(const QString& text) {
    controls_->targetDescription->setText(text);
}

void MainWindow::updateVideoControls() {
    video_->updateControls();
}

void MainWindow::stopPlayback() {
    video_->stopPlayback();
}

void MainWindow::showEvent(QShowEvent* e) {
    SkinnedWindow::showEvent(e);
    for (PictureKey* key : findChildren<PictureKey*>(Qt::FindDirectChildrenOnly))
        if (key->objectName().startsWith("Key")) key->setPictures("BlackKeyUp", "BlackKeyDown");
    if (!firstShow_) return;
    firstShow_ = false;
    // The command line's file, opened once the window is up (a second instance hands its file
    // over instead).
    if (!commandLineFile_.isEmpty()) {
        const QString path = commandLineFile_;
        QTimer::singleShot(0, this, [this, path] { openHandedOverFile(path); });
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    PaintBackground(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // With a picture loaded the screen is dark around it (the prompt is for an empty screen).
    if (document_->hasPicture() || document_->video().loaded)
        p.fillRect(
            QRect(L::kImage1.x, L::kImage1.y, L::kImage1.w, L::kImage1.h).adjusted(-1, -1, 1, 1),
            QColor(6, 8, 10));
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!exiting_) {
        // Closed by the window manager: the exit command decides, with its questions.
        e->ignore();
        QTimer::singleShot(0, this, [this] { exitProgram(); });
        return;
    }
    // No more dropped files.
    setAcceptDrops(false);
    e->accept();
    Q_EMIT exited();
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent*) {
    document_->state().currentFileName = "brak";
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
    QTimer::singleShot(0, this, [this, paths] { dropFiles(paths); });
}

}  // namespace mozu
