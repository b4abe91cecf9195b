#include "skin/skin_label.h"

#include <QPainter>

#include "skin/theme.h"

namespace mozu {

SkinLabel::SkinLabel(const QString& objectName, QWidget* parent)
    : QWidget(parent), colour_(Theme::TextColour()) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SkinLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
}

void SkinLabel::setAlignment(Qt::Alignment a) {
    alignment_ = a;
    update();
}

void SkinLabel::setWordWrap(bool on) {
    wrap_ = on;
    update();
}

void SkinLabel::setColour(const QColor& c) {
    colour_ = c;
    update();
}

void SkinLabel::paintEvent(QPaintEvent*) {
    if (text_.isEmpty()) return;
    QString shown = text_;
    shown.remove(QChar('\r'));  // "\n\r" is one line break
    QPainter p(this);
    p.setFont(font());
    int flags = static_cast<int>(alignment_);
    if (wrap_) flags |= Qt::TextWordWrap;
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(rect().translated(1, 1), flags, shown);
    p.setPen(colour_);
    p.drawText(rect(), flags, shown);
}

}  // namespace mozu
