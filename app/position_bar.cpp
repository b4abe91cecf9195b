#include "app/position_bar.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin/theme.h"

namespace mozu {

PositionBar::PositionBar(QWidget* parent) : QWidget(parent) {
    setObjectName("Horizontal");
    setAttribute(Qt::WA_TranslucentBackground);
}

void PositionBar::setMarks(int from, int to) {
    marked_ = true;
    greyFrom_ = from;
    greyTo_ = to;
    update();
}

void PositionBar::clearMarks() {
    marked_ = false;
    update();
}

void PositionBar::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) Q_EMIT pressed(e->position().toPoint().x());
}

void PositionBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    if (marked_) {
        // Bands across the track, rows 4-9 and 15-20: green, grey over the marked range.
        p.fillRect(QRect(QPoint(0, 4), QPoint(w, 9)), QColor(0, 255, 0));
        p.fillRect(QRect(QPoint(0, 15), QPoint(w, 20)), QColor(0, 255, 0));
        if (greyTo_ > greyFrom_) {
            p.fillRect(QRect(QPoint(greyFrom_, 4), QPoint(greyTo_, 9)), QColor(0xA0, 0xA0, 0xA0));
            p.fillRect(QRect(QPoint(greyFrom_, 15), QPoint(greyTo_, 20)), QColor(0xA0, 0xA0, 0xA0));
        }
    }
    // The groove: dark from (1,14) up to (1,10) and along to (w-1,10), light back down and
    // along to (1,14).
    p.setPen(QColor(48, 48, 48));
    p.drawLine(1, 14, 1, 10);
    p.drawLine(1, 10, w - 1, 10);
    p.setPen(QColor(123, 123, 123));
    p.drawLine(w - 1, 10, w - 1, 14);
    p.drawLine(w - 1, 14, 1, 14);
}

PositionThumb::PositionThumb(const QString& picture, QWidget* parent)
    : QWidget(parent), picture_(Theme::Picture(picture)) {
    setObjectName("HScrollButton");
    setAttribute(Qt::WA_TranslucentBackground);
    resize(picture_.size());
}

int PositionThumb::windowX(QMouseEvent* e) const {
    return mapToParent(e->position().toPoint()).x();
}

void PositionThumb::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45);
    p.drawPixmap(0, 0, picture_);
}

void PositionThumb::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) Q_EMIT pressed(windowX(e));
}

void PositionThumb::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (e->buttons() & Qt::LeftButton) Q_EMIT dragged(windowX(e));
}

void PositionThumb::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) Q_EMIT released();
}

}  // namespace mozu
