#include "editor/text_box_controller.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "editing/editor_model.h"
#include "editing/western_charset.h"
#include "editor/qt_text_painter.h"
#include "skin/pixel_font.h"

namespace mozu {

namespace {

constexpr int kCaretMs = 500;
constexpr QRgb kCaretColour = qRgb(255, 0, 0);

std::optional<TextKey> TextKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Backspace:
            return TextKey::Backspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return TextKey::Enter;
        case Qt::Key_Escape:
            return TextKey::Escape;
        case Qt::Key_Left:
            return TextKey::Left;
        case Qt::Key_Up:
            return TextKey::Up;
        case Qt::Key_Right:
            return TextKey::Right;
        case Qt::Key_Down:
            return TextKey::Down;
        case Qt::Key_Delete:
            return TextKey::Delete;
        default:
            return std::nullopt;
    }
}

QFont FontOf(const FontChoice& choice) {
    return PixelFont(QString::fromStdString(choice.family), choice.size, choice.bold, choice.italic,
                     choice.underline);
}

}  // namespace

TextBoxController::TextBoxController(EditorModel& model, QWidget& window, QWidget& canvas)
    : QObject(&window), model_(model), window_(window), canvas_(canvas) {
    hideTimer_ = new QTimer(this);
    hideTimer_->setObjectName("Timer1");
    showTimer_ = new QTimer(this);
    showTimer_->setObjectName("Timer2");
    for (QTimer* timer : {hideTimer_, showTimer_}) {
        timer->setInterval(kCaretMs);
        timer->setSingleShot(true);
    }
    connect(hideTimer_, &QTimer::timeout, this, [this] {
        caretShown_ = false;
        showTimer_->start();
        Q_EMIT changed();
    });
    connect(showTimer_, &QTimer::timeout, this, [this] {
        caretShown_ = true;
        hideTimer_->start();
        Q_EMIT changed();
    });
    // Until the font dialog was accepted once, the box writes in the desktop's font, without
    // anti-aliasing.
    applyFont(std::make_unique<QtTextPainter>(FontOf(choice_)));
}

TextBoxController::~TextBoxController() {
    if (open_) QApplication::instance()->removeEventFilter(this);
}

void TextBoxController::applyFont(std::unique_ptr<QtTextPainter> font) {
    // The model draws with the new font before the old one goes.
    model_.setTextFont(*font, {model_.penColour(), choice_.shadow, model_.fillColour()});
    font_ = std::move(font);
}

void TextBoxController::sync() {
    const bool open = model_.textBoxOpen();
    if (open == open_) return;
    open_ = open;
    if (!open) {
        QApplication::instance()->removeEventFilter(this);
        stopCaret();
        return;
    }
    QApplication::instance()->installEventFilter(this);
    canvas_.setFocus(Qt::OtherFocusReason);
    // The box starts in the pen colour (and the fill colour for a shadow), so that it never
    // writes a colour of another slot's palette.
    model_.setTextFont(*font_, {model_.penColour(), choice_.shadow, model_.fillColour()});
    restartCaret();
    // Out of the mouse handler that opened the box: the dialog waits in a loop of its own.
    if (chooser_) QTimer::singleShot(0, this, [this] { chooseFont(); });
}

void TextBoxController::chooseFont() {
    if (!chooser_ || !model_.textBoxOpen()) return;
    const int count = model_.colourCount();
    const std::vector<Colour> palette(model_.palette().begin(), model_.palette().begin() + count);
    window_.setEnabled(false);
    const std::optional<FontChoice> chosen =
        chooser_(choice_, palette, model_.penColour(), model_.fillColour());
    window_.setEnabled(true);
    // The edit may have ended meanwhile (a file handed over by a second instance).
    if (!model_.textBoxOpen()) return;
    canvas_.setFocus(Qt::OtherFocusReason);
    if (chosen) {
        choice_ = *chosen;
        const AcceptedFontColours colours =
            AcceptFontColours(choice_, palette, model_.fillColour());
        // The shadow is drawn in the fill colour: the chosen shadow colour becomes it.
        if (choice_.shadow) model_.pressSwatch(choice_.shadowColour, MouseButton::Right);
        auto font = std::make_unique<QtTextPainter>(FontOf(choice_));
        model_.setTextFont(*font, {colours.text, choice_.shadow, colours.fill});
        font_ = std::move(font);
    }
    restartCaret();
    Q_EMIT changed();
}

bool TextBoxController::eventFilter(QObject* watched, QEvent* event) {
    if (!open_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_ || !window_.isEnabled()) return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Typing goes to the box: the window's one-letter shortcuts (tools, zoom) stay quiet.
        event->accept();
        return true;
    }
    return key(keyEvent->key(), keyEvent->text(), keyEvent->modifiers());
}

bool TextBoxController::key(int qtKey, const QString& text, Qt::KeyboardModifiers modifiers) {
    if (!model_.textBoxOpen()) return false;
    TextKeyResult result = TextKeyResult::Nothing;
    stopCaret();
    if (const std::optional<TextKey> textKey = TextKeyOf(qtKey)) {
        result = model_.pressTextKey(*textKey);
    } else if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        for (const char32_t c : text.toUcs4()) {
            const std::optional<unsigned char> byte = UnicodeToWestern(c);
            if (!byte) continue;
            result = model_.typeText(*byte);
            if (result == TextKeyResult::Refused) break;
        }
    }
    if (result == TextKeyResult::Refused) QApplication::beep();
    if (model_.textBoxOpen())
        restartCaret();
    else
        sync();
    Q_EMIT changed();
    return true;
}

void TextBoxController::stopCaret() {
    hideTimer_->stop();
    showTimer_->stop();
    caretShown_ = false;
}

void TextBoxController::restartCaret() {
    // After a key the caret shows at once at its new place, then blinks.
    hideTimer_->stop();
    showTimer_->stop();
    caretShown_ = true;
    hideTimer_->start();
}

void TextBoxController::paint(QPainter& painter) const {
    const TextBoxTool* tool = model_.textBox();
    if (!tool || !tool->isOpen()) return;
    const FloatingBlock& box = *tool->box();
    const ViewMapping view = model_.viewMapping();
    const WindowRect shown = box.shownRect(view);
    const Picture& pixels = box.pixels();
    QImage image(pixels.width(), pixels.height(), QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const Colour c = pixels.pixel(x, y);
            line[x] = c == kKeyColour ? qRgba(0, 0, 0, 0) : qRgb(Red(c), Green(c), Blue(c));
        }
    }
    const QRect target(shown.left, shown.top, shown.width, shown.height);
    painter.drawImage(target, image);
    // The box's edge, dashed as a floating block's: the key colour shows nothing of it.
    painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target.adjusted(0, 0, -1, -1));
    if (!caretShown_) return;
    // The caret: one box pixel wide, a line high, at the caret's place in the box.
    PixelPoint caret = tool->store().caret(*font_);
    caret.x = std::min(caret.x, pixels.width() - 1);  // after a line that fills the box
    const double sx = box.displayScaleX() * view.zoom, sy = box.displayScaleY() * view.zoom;
    const QRect line(target.left() + static_cast<int>(caret.x * sx),
                     target.top() + static_cast<int>(caret.y * sy),
                     std::max(1, static_cast<int>(sx)),
                     std::max(1, static_cast<int>(font_->lineHeight() * sy)));
    painter.fillRect(line.intersected(target), QColor::fromRgb(kCaretColour));
}

}  // namespace mozu
