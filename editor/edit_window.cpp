#include "editor/edit_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <optional>

#include "editor/desktop_clipboard.h"
#include "editor/edit_canvas.h"
#include "editor/edit_scroll_bar.h"
#include "skin/picture_key.h"
#include "skin/rounded_case.h"
#include "skin/skin_label.h"
#include "skin/swatch.h"
#include "skin/theme.h"

namespace mozu {

namespace {

// The window's own look: a dark case with rounded corners; the picture's view in the middle,
// the tools on the left, the view's keys on the right, the palette below.
constexpr int kWidth = 930, kHeight = 530;
constexpr QRect kCanvas(130, 44, kEditViewWidth, kEditViewHeight);
constexpr QRect kVertical(776, 44, 16, kEditViewHeight);
constexpr QRect kHorizontal(130, 450, kEditViewWidth, 16);
constexpr QRect kStatus(130, 14, 640, 22);
constexpr int kLeftColumn = 14, kRightColumn = 806, kKeyTop = 44, kKeyStep = 28;
constexpr int kSwatchTop = 480, kSwatchSize = 30, kSwatchStep = 36;
constexpr int kBlinkMs = 500;  // the selection frame's blinking part shows and goes

QColor ToQColor(Colour c) {
    return QColor(Red(c), Green(c), Blue(c));
}

QPixmap Background() {
    QPixmap picture = RoundedCase(kWidth, kHeight, 24);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(10, 12, 16), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kCanvas.adjusted(-2, -2, 1, 1));
    return picture;
}

}  // namespace

EditWindow::EditWindow(QWidget* parent) : SkinnedWindow(Dragging::SystemMoveFirst, parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setObjectName("TEditWindow");
    setWindowTitle("Mozu");
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setShape(RoundedCaseShape(kWidth, kHeight, 24));
    setBackground(Background());
    createControls();
    connectKeys();
    createShortcuts();
    text_ = new TextBoxController(model_, *this, *canvas_);
    canvas_->setOverlay([this](QPainter& painter) { text_->paint(painter); });
    connect(text_, &TextBoxController::changed, this, [this] { refresh(); });
    hide();
}

EditWindow::~EditWindow() = default;

void EditWindow::createControls() {
    canvas_ = new EditCanvas(model_, this);
    canvas_->setGeometry(kCanvas);
    vertical_ = new EditScrollBar("Vertical", "VScrollButton", Qt::Vertical, this);
    vertical_->setGeometry(kVertical);
    vertical_->setCanScroll([this] { return model_.view().canScrollY(); });
    horizontal_ = new EditScrollBar("Horizontal", "HScrollButton", Qt::Horizontal, this);
    horizontal_->setGeometry(kHorizontal);
    horizontal_->setCanScroll([this] { return model_.view().canScrollX(); });
    status_ = new SkinLabel("Label1", this);
    status_->setGeometry(kStatus);

    const auto makeKey = [this](const char* name, const char* hint, int x, int row) {
        auto* key = new PictureKey(name, this);
        key->setPictures("BlackKeyUp", "BlackKeyDown");
        key->move(x, kKeyTop + row * kKeyStep);
        key->setToolTip(hint);
        return key;
    };
    const struct {
        const char* name;
        const char* hint;
        Tool tool;
    } tools[] = {
        {"Image5", "Point", Tool::Freehand},   {"Image6", "Line", Tool::Line},
        {"Image7", "Square", Tool::Rectangle}, {"Image8", "Circle", Tool::Ellipse},
        {"FillKey", "Fill", Tool::Fill},       {"Image14", "Select", Tool::Select},
        {"Image19", "Text", Tool::Text},       {"Image16", "Crop", Tool::Cropped},
    };
    int row = 0;
    for (const auto& t : tools)
        toolKeys_.push_back({makeKey(t.name, t.hint, kLeftColumn, row++), t.tool, t.hint});
    ++row;
    thinKey_ = makeKey("Image12", "Thin ", kLeftColumn, row++);
    thickKey_ = makeKey("Image13", "Thick", kLeftColumn, row++);
    contourKey_ = makeKey("Image9", "Contour", kLeftColumn, row++);
    opaqueKey_ = makeKey("Image67", "Opaque", kLeftColumn, row++);

    zoomInKey_ = makeKey("ZoomInKey", "Zoom+", kRightColumn, 0);
    zoomInKey_->setCaption("Zoom +");
    zoomOutKey_ = makeKey("ZoomOutKey", "Zoom-", kRightColumn, 1);
    zoomOutKey_->setCaption("Zoom -");
    undoKey_ = makeKey("UndoKey", "Undo", kRightColumn, 2);
    undoKey_->setCaption("Undo");
    redoKey_ = makeKey("RedoKey", "Redo", kRightColumn, 3);
    redoKey_->setCaption("Redo");
    const auto selectionKey = [&](const char* name, const char* hint, const char* caption,
                                  int keyRow) {
        PictureKey* key = makeKey(name, hint, kRightColumn, keyRow);
        key->setCaption(caption);
        return key;
    };
    selectAllKey_ = selectionKey("Image46", "SelectAll", "Select all", 5);
    copyKey_ = selectionKey("Image18", "Copy", "Copy", 6);
    pasteKey_ = selectionKey("Image21", "Paste", "Paste", 7);
    transparentKey_ = selectionKey("Image10", "Transparent", "Transparent", 8);
    flipHKey_ = selectionKey("Image42", "HorizontalFlip", "Flip left-right", 9);
    flipVKey_ = selectionKey("Image43", "VerticalFlip", "Flip top-bottom", 10);
    turnLeftKey_ = selectionKey("Image44", "RotateLeft", "Turn left", 11);
    turnRightKey_ = selectionKey("Image45", "RotateRight", "Turn right", 12);
    previewKey_ = makeKey("PreviewKey", "Preview", kRightColumn, 13);
    previewKey_->setCaption("Preview");
    previewKey_->setEnabled(false);  // until a full preview is attached
    closeKey_ = makeKey("CloseKey", "Close", kRightColumn, 14);
    closeKey_->setCaption("Close");

    for (int i = 0; i < kEditorSwatches; ++i) {
        auto* swatch = new Swatch(QStringLiteral("Color%1").arg(i), this);
        swatch->setGeometry(kCanvas.x() + i * kSwatchStep, kSwatchTop, kSwatchSize, kSwatchSize);
        swatches_[static_cast<std::size_t>(i)] = swatch;
    }
    penIndicator_ = new Swatch("pencolor", this);
    penIndicator_->setGeometry(716, kSwatchTop - 6, 40, 40);
    penIndicator_->setToolTip("Pen");
    penIndicator_->setAttribute(Qt::WA_TransparentForMouseEvents);
    fillIndicator_ = new Swatch("brushcolor", this);
    fillIndicator_->setGeometry(762, kSwatchTop - 6, 40, 40);
    fillIndicator_->setToolTip("Fill");
    fillIndicator_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void EditWindow::connectKeys() {
    const auto on = [this](PictureKey* key, auto&& handler) {
        connect(key, &PictureKey::clicked, this, std::forward<decltype(handler)>(handler));
    };
    for (const ToolKey& t : toolKeys_) {
        if (t.tool == Tool::Cropped)
            on(t.key, [this] { crop(); });  // crops at once, then no tool
        else
            on(t.key, [this, tool = t.tool] { chooseTool(tool); });
    }
    on(selectAllKey_, [this] {
        model_.selectAll();
        selectionCommand(model_.selection().has_value());
    });
    on(copyKey_, [this] { copy(); });
    on(pasteKey_, [this] { paste(); });
    on(transparentKey_, [this] {
        model_.toggleTransparent();
        selectionCommand(model_.isOpen());
    });
    on(flipHKey_, [this] { selectionCommand(model_.mirror(true)); });
    on(flipVKey_, [this] { selectionCommand(model_.mirror(false)); });
    on(turnLeftKey_, [this] { selectionCommand(model_.turn(false)); });
    on(turnRightKey_, [this] { selectionCommand(model_.turn(true)); });
    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(kBlinkMs);
    connect(blinkTimer_, &QTimer::timeout, this, [this] {
        model_.blinkTick();
        if (model_.steadyFrame()) canvas_->refresh();
    });
    desktop_ = new DesktopClipboard(this);
    // At the ends of the range the width keys change nothing.
    on(thinKey_, [this] {
        model_.thinner();
        refreshControls();
    });
    on(thickKey_, [this] {
        model_.thicker();
        refreshControls();
    });
    on(contourKey_, [this] {
        model_.toggleOutline();
        refreshControls();
    });
    on(opaqueKey_, [this] {
        model_.toggleFill();
        refreshControls();
    });
    on(zoomInKey_, [this] { zoom(1); });
    on(zoomOutKey_, [this] { zoom(-1); });
    on(undoKey_, [this] { undo(); });
    on(redoKey_, [this] { redo(); });
    on(closeKey_, [this] { closeEdit(); });
    on(previewKey_, [this] {
        if (previewer_) previewer_(model_.picture(), model_.slot());
    });
    for (int i = 0; i < kEditorSwatches; ++i) {
        Swatch* swatch = swatches_[static_cast<std::size_t>(i)];
        connect(swatch, &Swatch::pressed, this,
                [this, i](Qt::MouseButton b) { swatchPressed(i, b); });
        connect(swatch, &Swatch::doubleClicked, this,
                [this, i](Qt::MouseButton b) { swatchDoubleClicked(i, b); });
    }
    connect(canvas_, &EditCanvas::edited, this, [this] { refreshControls(); });
    connect(canvas_, &EditCanvas::zoomWheel, this, [this](int direction) { zoom(direction); });
    connect(vertical_, &EditScrollBar::percentChanged, this, [this](int percent) {
        model_.view().scrollToPercentY(percent);
        canvas_->update();
    });
    connect(horizontal_, &EditScrollBar::percentChanged, this, [this](int percent) {
        model_.view().scrollToPercentX(percent);
        canvas_->update();
    });
}

void EditWindow::createShortcuts() {
    const auto shortcut = [this](const QKeySequence& keys, auto&& handler) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, std::forward<decltype(handler)>(handler));
    };
    shortcut(QKeySequence::Undo, [this] { undo(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { redo(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { redo(); });
    shortcut(QKeySequence(Qt::Key_Plus), [this] { zoom(1); });
    shortcut(QKeySequence(Qt::Key_Equal), [this] { zoom(1); });
    shortcut(QKeySequence(Qt::Key_Minus), [this] { zoom(-1); });
    shortcut(QKeySequence(Qt::Key_P), [this] { chooseTool(Tool::Freehand); });
    shortcut(QKeySequence(Qt::Key_L), [this] { chooseTool(Tool::Line); });
    shortcut(QKeySequence(Qt::Key_R), [this] { chooseTool(Tool::Rectangle); });
    shortcut(QKeySequence(Qt::Key_E), [this] { chooseTool(Tool::Ellipse); });
    shortcut(QKeySequence(Qt::Key_F), [this] { chooseTool(Tool::Fill); });
    shortcut(QKeySequence(Qt::Key_BracketLeft), [this] { thinKey_->clicked(); });
    shortcut(QKeySequence(Qt::Key_BracketRight), [this] { thickKey_->clicked(); });
    shortcut(QKeySequence::Copy, [this] { copy(); });
    shortcut(QKeySequence::Paste, [this] { paste(); });
    shortcut(QKeySequence::SelectAll, [this] { selectAllKey_->clicked(); });
}

void EditWindow::setFontChooser(TextBoxController::FontChooser chooser) {
    text_->setFontChooser(std::move(chooser));
}

void EditWindow::setPreviewer(std::function<void(const Picture&, Slot)> previewer) {
    previewer_ = std::move(previewer);
    previewKey_->setEnabled(static_cast<bool>(previewer_));
}

void EditWindow::fullScreen(Slot slot, const EditSnapshot& start, UndoHistory& history) {
    show();
    raise();
    activateWindow();
    model_.open(slot, start.picture, start.palette, history, width(), height());
    vertical_->home();
    horizontal_->home();
    blinkTimer_->start();
    refresh();
}

void EditWindow::refresh() {
    canvas_->refresh();
    refreshControls();
}

void EditWindow::refreshControls() {
    text_->sync();  // a text box opened or put down by the mouse, or dropped by Undo
    status_->setText(QString::fromStdString(model_.statusText()));
    for (const ToolKey& t : toolKeys_)
        t.key->setCaption(model_.tool() == t.tool ? QStringLiteral("> %1 <").arg(t.caption)
                                                  : QString(t.caption));
    thinKey_->setCaption(QStringLiteral("Thin  (%1)").arg(model_.settings().penWidth));
    thickKey_->setCaption(QStringLiteral("Thick (%1)").arg(model_.settings().penWidth));
    contourKey_->setCaption(model_.settings().outline ? "Contour: on" : "Contour: off");
    opaqueKey_->setCaption(model_.settings().filled ? "Opaque: on" : "Opaque: off");
    transparentKey_->setCaption(model_.transparency().on ? "Transparent: on" : "Transparent: off");
    for (int i = 0; i < kEditorSwatches; ++i) {
        Swatch* swatch = swatches_[static_cast<std::size_t>(i)];
        swatch->setVisible(model_.isOpen() && model_.swatchVisible(i));
        swatch->setColour(ToQColor(model_.shownSwatch(i)));
    }
    penIndicator_->setColour(ToQColor(model_.penColour()));
    fillIndicator_->setColour(ToQColor(model_.fillColour()));
}

void EditWindow::chooseTool(Tool tool) {
    if (!model_.isOpen()) return;
    model_.setTool(tool);
    refreshControls();
}

void EditWindow::zoom(int direction) {
    if (!model_.isOpen()) return;
    const bool done = direction > 0 ? model_.view().zoomIn() : model_.view().zoomOut();
    if (!done) {
        QApplication::beep();
        return;
    }
    if (direction < 0) {
        vertical_->home();
        horizontal_->home();
    }
    canvas_->update();
}

void EditWindow::selectionCommand(bool done) {
    if (!done) QApplication::beep();
    refresh();
}

void EditWindow::copy() {
    const bool done = model_.copy(*clipboard_);
    // Other programs can paste the block too.
    if (done) desktop_->offer(clipboard_->bitmap);
    selectionCommand(done);
}

void EditWindow::paste() {
    if (!model_.isOpen()) return;
    // Whichever clipboard was set last: an image copied in another program after the editor's
    // own copy is pasted, mapped to the slot's colours.
    if (std::optional<Picture> image = desktop_->newerImage(clipboard_->empty()))
        selectionCommand(model_.pasteImage(std::move(*image)));
    else
        selectionCommand(model_.paste(*clipboard_));
}

void EditWindow::crop() {
    if (!model_.isOpen()) return;
    const bool done = model_.crop();
    // The view is back at zoom 1 and the origin.
    vertical_->home();
    horizontal_->home();
    selectionCommand(done);
}

void EditWindow::keyPressEvent(QKeyEvent* event) {
    if (!model_.isOpen()) {
        SkinnedWindow::keyPressEvent(event);
        return;
    }
    int dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        case Qt::Key_Delete:
            selectionCommand(model_.deleteSelection());
            return;
        default:
            SkinnedWindow::keyPressEvent(event);
            return;
    }
    selectionCommand(model_.nudge(dx, dy));
}

void EditWindow::undo() {
    if (!model_.undo()) return;  // an empty history does nothing
    refresh();
}

void EditWindow::redo() {
    if (!model_.redo()) {
        QApplication::beep();
        return;
    }
    refresh();
}

void EditWindow::swatchPressed(int i, Qt::MouseButton button) {
    model_.pressSwatch(i, button == Qt::RightButton ? MouseButton::Right : MouseButton::Left);
    refreshControls();
}

void EditWindow::swatchDoubleClicked(int i, Qt::MouseButton button) {
    if (colourChooser_) {
        setEnabled(false);
        colourChooser_(i);
        setEnabled(true);
        refresh();
    }
    // Then the (possibly new) colour is picked as a press would.
    swatchPressed(i, button);
}

void EditWindow::closeEdit() {
    if (!model_.isOpen()) return;
    const Slot slot = model_.slot();
    const EditSnapshot result = model_.close();
    text_->sync();
    blinkTimer_->stop();
    vertical_->home();
    horizontal_->home();
    hide();
    Q_EMIT closed(slot, result);
}

void EditWindow::closeEvent(QCloseEvent* event) {
    // The window manager's close ends the edit as the Close key does: the picture goes back
    // and the main window comes again.
    event->ignore();
    closeEdit();
}

}  // namespace mozu
