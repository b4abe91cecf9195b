#include "app/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/picture_convert.h"

namespace mozu {

PictureView::PictureView(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the whole control is painted: dark, then the picture
}

void PictureView::setPicture(const Picture& picture, int lineRepeat) {
    picture_ = picture;
    lineRepeat_ = std::max(1, lineRepeat);
    shownStale_ = true;
    update();
}

QImage PictureView::image() const {
    return ToQImage(picture_, lineRepeat_);
}

void PictureView::setStretch(bool on) {
    if (stretch_ == on) return;
    stretch_ = on;
    update();
}

void PictureView::setProportional(bool on) {
    if (proportional_ == on) return;
    proportional_ = on;
    update();
}

QSize PictureView::pictureSize() const {
    return QSize(picture_.width(), picture_.height() * lineRepeat_);
}

QRect PictureView::pictureRect() const {
    if (picture_.empty()) return QRect();
    const QSize box = size();
    QSize shown = pictureSize();
    if (stretch_ && !proportional_) return rect();
    if (proportional_) {
        // Down to fit always; up to fit only when stretched as well.
        if (stretch_ || shown.width() > box.width() || shown.height() > box.height())
            shown = shown.scaled(box, Qt::KeepAspectRatio);
        return QRect(QPoint((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2),
                     shown);
    }
    return QRect(QPoint(0, 0), shown);
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect at = pictureRect();
    // Dark where the picture does not cover the control.
    for (const QRect& r : QRegion(rect()).subtracted(QRegion(at))) p.fillRect(r, QColor(6, 8, 10));
    if (at.isEmpty()) return;
    // Pixels stay crisp blocks: CPC pictures are scaled without smoothing.
    if (shownStale_ || shown_.size() != at.size()) {
        ToScaledQImage(picture_, lineRepeat_, at.size(), shown_);
        shownStale_ = false;
    }
    p.drawImage(at.topLeft(), shown_);
}

void PictureView::mousePressEvent(QMouseEvent* e) {
    e->accept();
}

void PictureView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Q_EMIT clicked();
}

}  // namespace mozu
