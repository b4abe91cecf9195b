#include "dialogs/font_sample.h"

#include <QPainter>

namespace mozu {

FontSample::FontSample(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
}

void FontSample::setSample(const QString& text, const QFont& font, const QColor& colour) {
    text_ = text;
    font_ = font;
    colour_ = colour;
    update();
}

void FontSample::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRect(rect());
    p.setFont(font_);
    p.setPen(colour_);
    p.drawText(rect().adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

}  // namespace mozu
