// The message window's three backgrounds (Image1 question, Image2 error, Image3 notice) and
// its green and red keys. Each background carries a badge in its kind's colour.

#include "app/message_window_layout.h"
#include "skin_common.h"

namespace {

using namespace skin;
namespace M = mozu::message_layout;

QPainterPath Outline() {
    QPainterPath e1, r, e3, e4;
    e1.addEllipse(QRectF(0, -38, 295, 271));
    r.addRect(QRectF(0, -38, 295, 107));
    e3.addEllipse(QRectF(0, 1, 295, 212));
    e4.addEllipse(QRectF(-2, 13, 298, 151));
    return e1.subtracted(r).united(e3).united(e4).simplified();
}

QImage Background(QColor accent, const QString& sign) {
    QImage picture = NewPicture(M::kWidth, M::kHeight);
    QPainter p;
    BeginPainter(p, picture);
    const QPainterPath outline = Outline();
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(QRectF(0, 0, M::kWidth, 240), colour::kCaseLight, colour::kCaseDark));
    p.drawPath(outline);
    p.setClipPath(outline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(accent, 5));
    p.drawPath(outline);
    p.setPen(QPen(colour::kGroove, 1.5));
    QPainterPathStroker stroker;
    stroker.setWidth(9);
    p.drawPath(outline.subtracted(stroker.createStroke(outline)).simplified());
    // The text's panel.
    // Kept inside the outline, whose sides curve in near the top.
    const QRectF text(M::kLabel1.x + 4, M::kLabel1.y, M::kLabel1.w - 8, M::kLabel1.h + 2);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(text, 16, 16);
    // The badge.
    const QRectF badge(M::kBadge.x, M::kBadge.y, M::kBadge.w, M::kBadge.h);
    p.setPen(QPen(colour::kGroove, 1.5));
    p.setBrush(Vertical(badge, accent.lighter(140), accent.darker(140)));
    p.drawEllipse(badge);
    const qreal dot = 3;
    DrawBlockText(p, badge.center().x() - BlockTextWidth(sign, dot) / 2 + 0.5,
                  badge.center().y() - 3.5 * dot, sign, dot, colour::kText);
    return picture;
}

QImage Key(QColor base, bool down) {
    QImage picture = NewPicture(M::kKeyWidth, M::kKeyHeight);
    QPainter p;
    BeginPainter(p, picture);
    DrawKey(p, QRectF(0, 0, M::kKeyWidth, M::kKeyHeight), base, down, 5);
    return picture;
}

void DrawMsgWindow(Output& out) {
    out.save("MsgImage1", Background(colour::kStripeBlue, "?"));
    out.save("MsgImage2", Background(colour::kStripeRed, "!"));
    out.save("MsgImage3", Background(colour::kStripeGreen, "I"));
    out.save("MsgKeyGreenUp", Key(colour::kKeyGreen, false));
    out.save("MsgKeyGreenDown", Key(colour::kKeyGreen, true));
    out.save("MsgKeyRedUp", Key(colour::kKeyRed, false));
    out.save("MsgKeyRedDown", Key(colour::kKeyRed, true));
}

}  // namespace

MOZU_SKIN_DRAWER("msg_window", DrawMsgWindow);
