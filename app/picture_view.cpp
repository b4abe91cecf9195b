#include "app/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace mozu {

PictureView::PictureView(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the whole control is painted: dark, then the picture
}

void PictureView::setImage(QImage image) {
    image_ = std::move(image);
    update();
}

void PictureView::setStretch(bool on) {
    stretch_ = on;
    update();
}

void PictureView::setProportional(bool on) {
    proportional_ = on;
    update();
}

QRect PictureView::pictureRect() const {
    if (image_.isNull()) return QRect();
    const QSize box = size();
    QSize shown = image_.size();
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
    p.fillRect(rect(), QColor(6, 8, 10));
    if (image_.isNull()) return;
    // Pixels stay crisp blocks: CPC pictures are scaled without smoothing.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(pictureRect(), image_);
}

void PictureView::mousePressEvent(QMouseEvent* e) {
    e->accept();
}

void PictureView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Q_EMIT clicked();
}

}  // namespace mozu
