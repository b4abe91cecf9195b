#include "skin/picture_key.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "skin/theme.h"

namespace mozu {

PictureKey::PictureKey(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
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
