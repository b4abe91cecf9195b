#include "skin/rounded_case.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace mozu {

QPixmap RoundedCase(int width, int height, qreal radius) {
    QPixmap picture(width, height);
    picture.fill(QColor(22, 24, 30));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, QColor(52, 58, 74));
    gradient.setColorAt(1, QColor(28, 31, 40));
    painter.setPen(QPen(QColor(96, 106, 130), 2));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(1, 1, width - 2, height - 2), radius, radius);
    return picture;
}

QRegion RoundedCaseShape(int width, int height, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width, height), radius, radius);
    return QRegion(path.toFillPolygon().toPolygon());
}

}  // namespace mozu
