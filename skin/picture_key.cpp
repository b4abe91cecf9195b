#include "skin/picture_key.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "skin/theme.h"

namespace mozu {

PictureKey::PictureKey(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    // Tab walks through the keys; a mouse click does not take the focus from where it is.
    setFocusPolicy(Qt::TabFocus);
}

void PictureKey::click() {
    if (!isEnabled() || !isVisible()) return;
    Q_EMIT clicked();
}

void PictureKey::setCurrent(bool current) {
    if (current_ == current) return;
    current_ = current;
    update();
}

void PictureKey::setPictures(const QString& up, const QString& down) {
    upName_ = up;
    upPixmap_ = Theme::Picture(up);
    downPixmap_ = Theme::Picture(down);
    if (!upPixmap_.isNull()) resize(upPixmap_.size());
    dropFaces();
}

void PictureKey::setCaption(const QString& caption) {
    caption_ = caption;
    dropFaces();
}

void PictureKey::dropFaces() {
    faces_ = {};
    update();
}

const QPixmap& PictureKey::face() const {
    QPixmap& cached = faces_[(down_ ? 1u : 0u) + (isEnabled() ? 0u : 2u)];
    if (!cached.isNull() || size().isEmpty()) return cached;
    const qreal ratio = devicePixelRatioF();
    cached = QPixmap(size() * ratio);
    cached.setDevicePixelRatio(ratio);
    cached.fill(Qt::transparent);
    QPainter p(&cached);
    const QPixmap& face = down_ ? downPixmap_ : upPixmap_;
    if (!isEnabled()) p.setOpacity(0.55);  // a key that cannot be used fades into the case
    if (!face.isNull()) p.drawPixmap(0, 0, face);
    p.setOpacity(1.0);
    if (caption_.isEmpty()) return cached;
    p.setFont(Theme::Font(kCaptionPixelSize, true));
    // The face sinks by a pixel or two when pressed; the caption follows it. A disabled key's
    // caption is dimmed.
    const QRect r = rect().adjusted(0, down_ ? 2 : 0, 0, down_ ? 0 : -2);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(r.translated(0, 1), Qt::AlignCenter, caption_);
    p.setPen(isEnabled() ? Theme::TextColour() : QColor(110, 114, 128));
    p.drawText(r, Qt::AlignCenter, caption_);
    return cached;
}

void PictureKey::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, face());
    if (!isEnabled()) return;
    // The states over the face: a light wash under the mouse, a bar under the key of what is on
    // show, a frame around the key with the keyboard's focus.
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    if (hovered_ && !down_) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 28));
        p.drawRoundedRect(r, 5, 5);
    }
    if (current_) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 255, 140, 220));
        const qreal w = std::max<qreal>(8, r.width() * 0.4);
        p.drawRoundedRect(QRectF(r.center().x() - w / 2, r.bottom() - 3.5, w, 3), 1.5, 1.5);
    }
    if (hasFocus() && focusShown_) {
        p.setPen(QPen(QColor(255, 210, 90), 1.5, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 5, 5);
    }
}

void PictureKey::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void PictureKey::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

void PictureKey::focusInEvent(QFocusEvent* e) {
    // Only a focus the user moved with the keyboard is drawn: the window's first key takes
    // the focus when the window comes up, and a frame on it then would only puzzle.
    focusShown_ = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason ||
                  e->reason() == Qt::ShortcutFocusReason;
    update();
}

void PictureKey::focusOutEvent(QFocusEvent*) {
    focusShown_ = false;
    update();
}

void PictureKey::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        e->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QWidget::keyPressEvent(e);
}

void PictureKey::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    down_ = true;
    update();
}

void PictureKey::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !down_) return;
    down_ = false;
    update();  // painted with whatever the command changes, in one go
    if (rect().contains(e->position().toPoint())) Q_EMIT clicked();
}

void PictureKey::resizeEvent(QResizeEvent*) {
    faces_ = {};
}

void PictureKey::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) {
        down_ = false;
        update();
    }
    QWidget::changeEvent(e);
}

}  // namespace mozu
