// The key pictures of the main window (large black keys, the red exit key, green keys, small
// video keys), the slider thumb and the progress ball.

#include "app/main_window_layout.h"
#include "skin_common.h"

namespace {

using namespace skin;
namespace L = mozu::layout;

QImage Key(int w, int h, QColor base, bool down, qreal radius) {
    QImage picture = NewPicture(w, h);
    QPainter p;
    BeginPainter(p, picture);
    DrawKey(p, QRectF(0, 0, w, h), base, down, radius);
    return picture;
}

QImage Thumb() {
    QImage picture = NewPicture(L::kThumbWidth, L::kThumbHeight);
    QPainter p;
    BeginPainter(p, picture);
    const QRectF r(0.5, 0.5, L::kThumbWidth - 1, L::kThumbHeight - 1);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(Vertical(r, colour::kEdgeLight.lighter(130), colour::kKeyGrey.darker(130)));
    p.drawRoundedRect(r, 3, 3);
    // Three grip lines across the middle.
    p.setPen(QPen(colour::kGroove, 1));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(4, 12.5 + 3 * i), QPointF(L::kThumbWidth - 4, 12.5 + 3 * i));
    return picture;
}

QImage Ball() {
    QImage picture = NewPicture(L::kBallSize, L::kBallSize);
    QPainter p;
    BeginPainter(p, picture);
    QRadialGradient g(QPointF(5.5, 5), 9);
    g.setColorAt(0, QColor(220, 255, 220));
    g.setColorAt(0.35, colour::kStripeGreen.lighter(130));
    g.setColorAt(1, colour::kStripeGreen.darker(250));
    p.setPen(QPen(QColor(0, 40, 10), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, L::kBallSize - 1, L::kBallSize - 1));
    return picture;
}

void DrawKeys(Output& out) {
    const int w = L::kKeyWidth, h = L::kKeyHeight;
    out.save("BlackKeyUp", Key(w, h, colour::kKeyBlack, false, 5));
    out.save("BlackKeyDown", Key(w, h, colour::kKeyBlack, true, 5));
    out.save("GreenKeyUp", Key(w, h, colour::kKeyGreen, false, 5));
    out.save("GreenKeyDown", Key(w, h, colour::kKeyGreen, true, 5));
    out.save("RedKeyUp", Key(L::kExitKey.w, L::kExitKey.h, colour::kKeyRed, false, 5));
    out.save("RedKeyDown", Key(L::kExitKey.w, L::kExitKey.h, colour::kKeyRed, true, 5));
    out.save("SmallKeyUp", Key(L::kSmallKeyWidth, L::kSmallKeyHeight, colour::kKeyGrey, false, 4));
    out.save("SmallKeyDown", Key(L::kSmallKeyWidth, L::kSmallKeyHeight, colour::kKeyGrey, true, 4));
    out.save("HScrollButton", Thumb());
    out.save("ProgressBall", Ball());
}

}  // namespace

MOZU_SKIN_DRAWER("keys", DrawKeys);
