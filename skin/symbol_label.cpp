#include "skin/symbol_label.h"

#include <QPainter>
#include <QPainterPath>

#include "skin/theme.h"

namespace mozu {

namespace {

// A triangle pointing right (dir 1) or left (dir -1) with its base at x.
void Triangle(QPainterPath& path, qreal x, qreal cy, qreal w, qreal h, int dir) {
    QPolygonF t;
    t << QPointF(x, cy - h / 2) << QPointF(x + dir * w, cy) << QPointF(x, cy + h / 2);
    path.addPolygon(t);
    path.closeSubpath();
}

}  // namespace

bool DrawSymbol(QPainter& p, const QRectF& box, QChar c, const QColor& colour) {
    const qreal h = box.height() - 2;  // symbol height
    const qreal w = h * 0.8;           // one triangle's width
    const qreal cx = box.center().x();
    const qreal cy = box.center().y();
    QPainterPath path;
    switch (c.unicode()) {
        case '4':  // play
            Triangle(path, cx - w / 2, cy, w, h, 1);
            break;
        case ';':  // pause: two bars
            path.addRect(QRectF(cx - w * 0.55, cy - h / 2, w * 0.35, h));
            path.addRect(QRectF(cx + w * 0.2, cy - h / 2, w * 0.35, h));
            break;
        case '<':  // stop: a square
            path.addRect(QRectF(cx - h * 0.4, cy - h * 0.4, h * 0.8, h * 0.8));
            break;
        case '7':  // back: two triangles pointing left
            Triangle(path, cx, cy, w * 0.8, h, -1);
            Triangle(path, cx + w * 0.8, cy, w * 0.8, h, -1);
            break;
        case '8':  // forward: two triangles pointing right
            Triangle(path, cx - w * 0.8, cy, w * 0.8, h, 1);
            Triangle(path, cx, cy, w * 0.8, h, 1);
            break;
        case '9':  // to the start: a bar and two triangles pointing left
            path.addRect(QRectF(cx - w * 1.0, cy - h / 2, w * 0.22, h));
            Triangle(path, cx - w * 0.0, cy, w * 0.75, h, -1);
            Triangle(path, cx + w * 0.75, cy, w * 0.75, h, -1);
            break;
        case ':':  // to the end: two triangles pointing right and a bar
            Triangle(path, cx - w * 0.75, cy, w * 0.75, h, 1);
            Triangle(path, cx + w * 0.0, cy, w * 0.75, h, 1);
            path.addRect(QRectF(cx + w * 0.78, cy - h / 2, w * 0.22, h));
            break;
        case '=':  // record: a dot
            path.addEllipse(QPointF(cx, cy), h * 0.4, h * 0.4);
            break;
        default:
            return false;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawPath(path.translated(1, 1));
    p.setBrush(colour);
    p.drawPath(path);
    p.restore();
    return true;
}

SymbolLabel::SymbolLabel(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SymbolLabel::setText(const QString& text) {
    text_ = text;
    update();
}

void SymbolLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor ink = isEnabled() ? Theme::TextColour() : QColor(110, 114, 128);
    if (text_.size() == 1 && DrawSymbol(p, QRectF(rect()).adjusted(0, 2, 0, -2), text_[0], ink))
        return;
    p.setFont(Theme::Font(10, true));
    p.setPen(ink);
    p.drawText(rect(), Qt::AlignCenter, text_);
}

}  // namespace mozu
