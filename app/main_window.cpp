// The main window: creation, the keys' wiring, the window's own events (drops, close, the
// double click) and the texts the commands set.

#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QUrl>

#include "app/convert_commands.h"
#include "app/edit_command.h"
#include "app/file_commands.h"
#include "app/gui_asker.h"
#include "app/main_window_controls.h"
#include "app/main_window_layout.h"
#include "app/message_window.h"
#include "app/picture_display.h"
#include "app/picture_view.h"
#include "app/reduction_menu.h"
#include "app/video_commands.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
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
    video_ = new VideoCommands(*document_, context, controls_->video, this);
    files_->setRunQuery([this] { return video_->conversionRunning(); });
    edit_ = new EditCommand(
        *document_, *controls_->editKey, *this,
        [this] { return video_->playing() || files_->conversionRunning(); }, this);
    // A conversion key pressed with no picture makes a blank picture to draw on.
    conversion_->setBlankHandler([this] { edit_->edit(); });
    document_->addObserver([this](const DocumentChange& change) { onDocumentChange(change); });
    connectKeys();
    bindShortcuts();
    updateVideoControls();  // nothing loaded: all disabled
    // A file handed over while the user must answer something first is opened once the
    // answer is given: looked at a few times a second, so no dialog has to report closing.
    handOffTimer_ = new QTimer(this);
    handOffTimer_->setInterval(150);
    connect(handOffTimer_, &QTimer::timeout, this, [this] { openWaitingHandOff(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::attachWindows(OpenDialog* open, SaveDialog* save, GuiAsker* asker) {
    openDialog_ = open;
    saveDialog_ = save;
    asker_ = asker;
    files_->attach(open, save, asker);
    conversion_->attach(asker);
    video_->attach(asker, save);
}

void MainWindow::attachPreview(FullPreview* preview) {
    video_->attachPreview(preview);
}

void MainWindow::attachEditor(EditWindow* editor, ColourDialog* colours) {
    edit_->attach(editor, colours);
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
    on(c.closeKey, [this] { closeFile(); });
    on(c.infoKey, [this] { showInformation(); });
    on(c.editKey, [this] { edit_->edit(); });
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

void MainWindow::bind(QKeyCombination combination, PictureKey* key) {
    if (key) shortcuts_.push_back({combination, key});
}

void MainWindow::bindShortcuts() {
    const MainWindowControls& c = *controls_;
    bind(Qt::CTRL | Qt::Key_O, c.openKey);
    bind(Qt::CTRL | Qt::Key_S, c.saveKey);
    bind(Qt::CTRL | Qt::Key_W, c.closeKey);
    bind(Qt::CTRL | Qt::Key_Q, c.exitKey);
    bind(QKeyCombination(Qt::Key_Escape), c.exitKey);
    bind(QKeyCombination(Qt::Key_F1), c.infoKey);
    // The conversion keys by the digits, down the left column and then the right one.
    int digit = 0;
    for (const auto& [key, slot] : c.convertKeys)
        bind(QKeyCombination(static_cast<Qt::Key>(Qt::Key_0 + digit++)), key);
    bind(QKeyCombination(Qt::Key_S), c.sourceKey);
    bind(QKeyCombination(Qt::Key_A), c.autobalanceKey);
    bind(QKeyCombination(Qt::Key_C), c.moreContrastKey);
    bind(QKeyCombination(Qt::Key_X), c.lessContrastKey);
    bind(QKeyCombination(Qt::Key_B), c.brighterKey);
    bind(QKeyCombination(Qt::Key_D), c.darkerKey);
    // The video keys: play/stop and a frame back or on (they act once a video is loaded).
    bind(QKeyCombination(Qt::Key_Space), c.video.keys[4]);
    bind(QKeyCombination(Qt::Key_Left), c.video.keys[3]);
    bind(QKeyCombination(Qt::Key_Right), c.video.keys[5]);
    // Each key's tooltip: what it does (its caption or its old tooltip) and its shortcuts.
    std::vector<std::pair<PictureKey*, QStringList>> tips;
    for (const Shortcut& s : shortcuts_) {
        auto at = std::find_if(tips.begin(), tips.end(),
                               [&s](const auto& t) { return t.first == s.key; });
        if (at == tips.end()) at = tips.insert(tips.end(), {s.key, {}});
        at->second << QKeySequence(s.combination).toString(QKeySequence::NativeText);
    }
    for (const auto& [key, keys] : tips) {
        const QString what = key->caption().isEmpty() ? key->toolTip() : key->caption();
        const QString joined = keys.join(", ");
        key->setToolTip(what.isEmpty() ? joined : QString("%1 (%2)").arg(what, joined));
    }
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
    // Escape first puts the information picture away, if it is up.
    if (e->key() == Qt::Key_Escape && controls_->infoPicture->isVisible()) {
        hideInformation();
        return;
    }
    // Keypad digits count as digits.
    const QKeyCombination pressed(e->modifiers() & ~Qt::KeypadModifier, Qt::Key(e->key()));
    for (const Shortcut& s : shortcuts_) {
        if (s.combination != pressed) continue;
        s.key->click();
        return;
    }
    SkinnedWindow::keyPressEvent(e);
}

void MainWindow::updateWindowTitle() {
    const std::string& file = document_->state().currentFileName;
    if (document_->state().noPicture || file.empty()) {
        setWindowTitle(kCaption);
        return;
    }
    const QString name = QFileInfo(QString::fromStdString(file)).fileName();
    setWindowTitle(QString("%1%2 - %3")
                       .arg(name, document_->unsavedCount() > 0 ? "*" : "", kApplicationTitle));
}

void MainWindow::markCurrentKey(const DocumentChange& change) {
    using Kind = DocumentChange::Kind;
    if (change.kind == Kind::VideoFrame || change.kind == Kind::Saved) return;
    PictureKey* current = nullptr;
    const Slot shown = change.kind == Kind::PictureClosed ? Slot::Unused3
                       : change.kind == Kind::SourceShown || change.kind == Kind::SourceAdjusted
                           ? Slot::Source
                           : change.slot;
    if (shown == Slot::Source) current = controls_->sourceKey;
    for (const auto& [key, slot] : controls_->convertKeys)
        if (slot == shown) current = key;
    for (PictureKey* key : findChildren<PictureKey*>(Qt::FindDirectChildrenOnly))
        key->setCurrent(key == current);
}

QWidget* MainWindow::windowInFront() const {
    // The message window first: it may stand over a dialog that asked it.
    if (asker_ && asker_->window() && asker_->window()->busy()) return asker_->window();
    for (QWidget* dialog : {static_cast<QWidget*>(openDialog_), static_cast<QWidget*>(saveDialog_)})
        if (dialog && dialog->isVisible()) return dialog;
    // Any other of the program's windows on show (the editor, the full preview).
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && qobject_cast<SkinnedWindow*>(w)) return w;
    return nullptr;
}

void MainWindow::openWaitingHandOff() {
    if (pendingHandOff_.isEmpty()) {
        handOffTimer_->stop();
        return;
    }
    // Still answering something, or a command still works on its answer.
    if (windowInFront() || files_->busy() || !isEnabled()) return;
    handOffTimer_->stop();
    openHandedOverFile(std::exchange(pendingHandOff_, QString()));
}

void MainWindow::closeFile() {
    files_->closeFile();
}

void MainWindow::onDocumentChange(const DocumentChange& change) {
    updateWindowTitle();
    markCurrentKey(change);
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
    edit_->updateKey();
}

QImage MainWindow::shownImage() const {
    return display_->shownImage();
}

void MainWindow::openHandedOverFile(const QString& path) {
    // An edit in progress is taken back first, so the file cannot replace the pictures under
    // it; the main window is then the one in front.
    edit_->endEdit();
    if (QWidget* front = windowInFront(); front || files_->busy() || !isEnabled()) {
        // The user must answer something first: that stays in front and keeps the focus (the
        // main window raised over it would hide it and take every click while disabled), and
        // the file waits for the answer.
        if (!path.isEmpty()) pendingHandOff_ = path;
        if (front) {
            front->raise();
            front->activateWindow();
        }
        if (!pendingHandOff_.isEmpty()) handOffTimer_->start();
        return;
    }
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
