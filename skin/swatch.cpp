#include "skin/swatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace mozu {

Swatch::Swatch(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
}

void Swatch::setColour(const QColor& colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void Swatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(isEnabled() ? QColor(200, 205, 220) : QColor(90, 94, 104), 2));
    painter.setBrush(colour_);
    painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

void Swatch::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed(event->button());
}

void Swatch::mouseDoubleClickEvent(QMouseEvent* event) {
    Q_EMIT doubleClicked(event->button());
}

}  // namespace mozu
