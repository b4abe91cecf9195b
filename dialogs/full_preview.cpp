#include "dialogs/full_preview.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <vector>

namespace mozu {

PreviewShape PreviewShapeForSlot(Slot slot, int width, int height) {
    PreviewShape s{2 * width, 2 * height, true};
    switch (slot) {
        case Slot::Mode0:
        case Slot::Overscan0:
            s.width = 4 * width;  // mode 0 pixels are twice as wide as they are tall
            break;
        case Slot::Mode2:
        case Slot::Overscan2:
            s.height = 4 * height;  // mode 2 pixels are twice as tall
            break;
        case Slot::SgxMsx:
        case Slot::SgxMsxFree:
            s.height = 4 * height;  // MSX pictures: tall pixels, no scan lines
            s.mask = false;
            break;
        case Slot::Source:
            s.mask = false;  // a PC picture
            break;
        default:
            break;
    }
    return s;
}

FullPreview::FullPreview(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("FullPreview");
    setWindowTitle("Mozu");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    fitScreen();
    hide();
}

void FullPreview::fitScreen() {
    if (const QScreen* s = screen()) setGeometry(s->geometry());
}

void FullPreview::open(const Picture& picture, PreviewShape shape, QWidget* caller) {
    picture_ = picture;
    caller_ = caller;
    shownWidth_ = std::max(shape.width, 1);
    shownHeight_ = std::max(shape.height, 1);
    mask_ = shape.mask;
    maskHeight_ = shownHeight_;
    level_ = 1;
    open_ = true;
    fitScreen();
    center();
    show();
    raise();
    activateWindow();
    setFocus();
    if (caller_) caller_->hide();
}

void FullPreview::openSlotPicture(const Picture& picture, Slot slot, QWidget* caller) {
    open(picture, PreviewShapeForSlot(slot, picture.width(), picture.height()), caller);
}

void FullPreview::showFrame(const Picture& frame) {
    picture_ = frame;
    update();
}

void FullPreview::center() {
    left_ = width() / 2 - shownWidth_ / 2;
    top_ = height() / 2 - shownHeight_ / 2;
    update();
}

void FullPreview::zoomIn() {
    if (level_ >= kMaxLevel) return;
    ++level_;
    shownWidth_ *= 2;
    shownHeight_ *= 2;
    center();
}

void FullPreview::zoomOut() {
    if (level_ <= 0) return;
    --level_;
    shownWidth_ = std::max(shownWidth_ / 2, 1);
    shownHeight_ = std::max(shownHeight_ / 2, 1);
    center();
}

// Ctrl moves to the screen's edge, Shift by 10 pixels, no modifier by one; Ctrl wins when both
// are held (the bigger move is the one asked for most plainly).
void FullPreview::moveLeft(Qt::KeyboardModifiers m) {
    left_ = (m & Qt::ControlModifier) ? 0 : left_ - ((m & Qt::ShiftModifier) ? 10 : 1);
    update();
}

void FullPreview::moveRight(Qt::KeyboardModifiers m) {
    left_ = (m & Qt::ControlModifier) ? width() - shownWidth_
                                      : left_ + ((m & Qt::ShiftModifier) ? 10 : 1);
    update();
}

void FullPreview::moveUp(Qt::KeyboardModifiers m) {
    top_ = (m & Qt::ControlModifier) ? 0 : top_ - ((m & Qt::ShiftModifier) ? 10 : 1);
    update();
}

void FullPreview::moveDown(Qt::KeyboardModifiers m) {
    top_ = (m & Qt::ControlModifier) ? height() - shownHeight_
                                     : top_ + ((m & Qt::ShiftModifier) ? 10 : 1);
    update();
}

void FullPreview::exitWindow() {
    if (!open_) return;
    open_ = false;
    level_ = 1;
    if (caller_) caller_->show();
    hide();
    visible_ = QImage();
    Q_EMIT closed();
}

void FullPreview::keyPressEvent(QKeyEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers();
    switch (e->key()) {
        case Qt::Key_Left:
            moveLeft(m);
            return;
        case Qt::Key_Right:
            moveRight(m);
            return;
        case Qt::Key_Up:
            moveUp(m);
            return;
        case Qt::Key_Down:
            moveDown(m);
            return;
        case Qt::Key_Home:
            center();
            return;
        case Qt::Key_Escape:
            exitWindow();
            return;
        default:
            break;
    }
    if (e->text() == QLatin1String("+"))
        zoomIn();
    else if (e->text() == QLatin1String("-"))
        zoomOut();
    else
        QWidget::keyPressEvent(e);
}

void FullPreview::closeEvent(QCloseEvent* e) {
    // Closed by the window manager: left as with Escape, so the caller comes back.
    exitWindow();
    e->accept();
}

double FullPreview::darkShare(int y) const {
    // The mask has maskHeight_ rows, dark at 0, 2, 4 ..., stretched over the shown height.
    // Screen row y covers mask rows [a, b); the dark share is how much of that span lies on
    // even rows (whole rows at level 1 and above, half-rows squeezed together below).
    const double scale = static_cast<double>(maskHeight_) / shownHeight_;
    const double a = (y - top_) * scale;
    const double b = (y - top_ + 1) * scale;
    double dark = 0;
    for (auto m = static_cast<std::int64_t>(std::floor(a)); m < b && m < maskHeight_; ++m) {
        if (m < 0 || m % 2 != 0) continue;
        dark += std::min(b, static_cast<double>(m + 1)) - std::max(a, static_cast<double>(m));
    }
    return std::clamp(dark / (b - a), 0.0, 1.0);
}

void FullPreview::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(e->rect(), Qt::black);
    if (picture_.empty() || shownWidth_ <= 0 || shownHeight_ <= 0) return;
    const QRect shown(left_, top_, shownWidth_, shownHeight_);
    const QRect visible = shown.intersected(e->rect());
    if (visible.isEmpty()) return;

    // Nearest pixel of the picture for each visible column and row: crisp CPC pixels.
    const std::int64_t pw = picture_.width(), ph = picture_.height();
    std::vector<int> column(static_cast<std::size_t>(visible.width()));
    for (int i = 0; i < visible.width(); ++i)
        column[static_cast<std::size_t>(i)] =
            static_cast<int>((visible.left() + i - left_) * pw / shownWidth_);
    if (visible_.size() != visible.size()) visible_ = QImage(visible.size(), QImage::Format_RGB32);
    for (int j = 0; j < visible.height(); ++j) {
        const int y = visible.top() + j;
        const int sy = static_cast<int>((y - top_) * ph / shownHeight_);
        const std::uint8_t* in = picture_.row(sy);
        auto* out = reinterpret_cast<QRgb*>(visible_.scanLine(j));
        const double keep = mask_ ? 1.0 - darkShare(y) : 1.0;
        if (keep <= 0) {
            std::fill_n(out, visible.width(), qRgb(0, 0, 0));
            continue;
        }
        const int k = static_cast<int>(std::lround(keep * 256));
        for (int i = 0; i < visible.width(); ++i) {
            const std::uint8_t* px =
                in + static_cast<std::size_t>(column[static_cast<std::size_t>(i)]) * 3;
            out[i] = qRgb(px[2] * k >> 8, px[1] * k >> 8, px[0] * k >> 8);
        }
    }
    p.drawImage(visible.topLeft(), visible_);
}

}  // namespace mozu
