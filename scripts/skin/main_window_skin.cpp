// The main window's background (Image8) and its information picture (Image9), both
// 794 x 691: a dark case with an inset screen, two key panels, the position bar's seat and
// the round progress area at the bottom.

#include <QtMath>

#include "app/main_window_layout.h"
#include "skin_common.h"

namespace {

using namespace skin;
namespace L = mozu::layout;

// The window's outline: the lower part of a large circle, a wide ellipse on top and the
// progress circle, as the window's mask cuts it.
QPainterPath Outline() {
    QPainterPath e1, r, e2, e3;
    e1.addEllipse(QRectF(2, -184, 787, 787));
    r.addRect(QRectF(0, -184, 790, 376));
    e2.addEllipse(QRectF(3, 14, 787, 388));
    e3.addEllipse(QRectF(319, 509, 158, 158));
    return e1.subtracted(r).united(e2).united(e3).simplified();
}

QRectF Grow(const L::Box& b, qreal d) {
    return QRectF(b.x - d, b.y - d, b.w + 2 * d, b.h + 2 * d);
}

void DrawCase(QPainter& p) {
    const QPainterPath outline = Outline();
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(QRectF(0, 0, L::kWindowWidth, L::kWindowHeight), colour::kCaseLight,
                        colour::kCaseDark));
    p.drawPath(outline);
    // A bright rim just inside the outline, a dark one inside that: a bevelled edge.
    p.save();
    p.setClipPath(outline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::kEdgeLight, 4));
    p.drawPath(outline);
    p.setPen(QPen(colour::kCaseDark, 2));
    QPainterPathStroker inner;
    inner.setWidth(10);
    p.drawPath(outline.subtracted(inner.createStroke(outline)).simplified());
    p.restore();
}

void DrawTitle(QPainter& p) {
    const qreal dot = 6;
    const QString title = "MOZU";
    const qreal w = BlockTextWidth(title, dot);
    const qreal x = L::kWindowWidth / 2.0 - w / 2.0;
    const qreal y = 28;
    DrawBlockText(p, x + 2, y + 2, title, dot, colour::kGroove);  // shadow
    DrawBlockText(p, x, y, title, dot, colour::kText);
    DrawStripes(p, x - 92, y + 12, 72, 4, 3);
    DrawStripes(p, x + w + 20, y + 12, 72, 4, 3);
    p.setFont(SansFont(11, true));
    p.setPen(colour::kTextDim);
    p.drawText(QRectF(x - 100, y + 46, w + 200, 16), Qt::AlignCenter,
               "CPC & SymbOS picture converter");
}

void DrawScreen(QPainter& p) {
    // The monitor: a bevelled bezel, then the dark glass the pictures are shown on.
    const QRectF bezel = Grow(L::kImage1, 12);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(Vertical(bezel, colour::kCaseDark, colour::kCaseLight));
    p.drawRoundedRect(bezel, 10, 10);
    const QRectF glass = Grow(L::kImage1, 2);
    p.setPen(QPen(colour::kEdgeLight, 1));
    p.setBrush(colour::kScreen);
    p.drawRoundedRect(glass, 3, 3);
    // The prompt a CPC fan expects on an empty screen, in dim green dots.
    const QColor ink(60, 200, 90);
    const qreal dot = 2;
    DrawBlockText(p, L::kImage1.x + 16, L::kImage1.y + 16, "MOZU 1.0", dot, ink);
    DrawBlockText(p, L::kImage1.x + 16, L::kImage1.y + 40, "READY", dot, ink);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(QRectF(L::kImage1.x + 16, L::kImage1.y + 58, 10, 14));  // the cursor
    p.restore();
    DrawBlockText(p, L::kImage1.x + 16, L::kImage1.bottom() - 30, "DROP A PICTURE OR PRESS OPEN",
                  dot, ink.darker(160));
    // The seat of the position bar and of the video keys.
    const QRectF seat(L::kHorizontal.x - 8, L::kHorizontal.y - 2, L::kHorizontal.w + 16,
                      L::kVideoCaptionTop + L::kVideoCaptionHeight - L::kHorizontal.y + 3);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(seat, 8, 8);
}

void DrawPanel(QPainter& p, int x, int firstRow, int rows) {
    const QRectF panel(x - 8, L::kColumnTop + firstRow * L::kKeyStep - 6, L::kKeyWidth + 16,
                       (rows - 1) * L::kKeyStep + L::kKeyHeight + 12);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(panel, 8, 8);
    QPainterPath edge;
    edge.addRoundedRect(panel.adjusted(1, 1, -1, -1), 7, 7);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.drawPath(edge.translated(0, 1));
}

void DrawCaption(QPainter& p, int x, int row, const QString& text) {
    const QRectF r(x - 8, L::kColumnTop + row * L::kKeyStep, L::kKeyWidth + 16, L::kKeyHeight);
    p.setFont(SansFont(10, true));
    p.setPen(colour::kTextDim);
    p.drawText(r, Qt::AlignCenter, text);
    p.setPen(QPen(colour::kCaseLight, 1));
    p.drawLine(QPointF(r.left() + 4, r.center().y()), QPointF(r.left() + 18, r.center().y()));
    p.drawLine(QPointF(r.right() - 18, r.center().y()), QPointF(r.right() - 4, r.center().y()));
}

void DrawPanels(QPainter& p) {
    DrawPanel(p, L::kLeftColumnX, 0, 6);
    DrawPanel(p, L::kLeftColumnX, 7, 3);
    DrawPanel(p, L::kRightColumnX, 0, 4);
    DrawPanel(p, L::kRightColumnX, 4, 2);
    DrawPanel(p, L::kRightColumnX, 7, 2);
    DrawCaption(p, L::kLeftColumnX, 6, "ADJUST");
    DrawCaption(p, L::kRightColumnX, 6, "ADJUST");
    // The file keys' shelf.
    const QRectF shelf(L::kFileRowLeft - 8, L::kFileRowTop - 5,
                       5 * L::kFileRowStep + L::kKeyWidth + 16, L::kKeyHeight + 10);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(shelf, 8, 8);
}

void DrawProgressArea(QPainter& p) {
    const QPointF centre(L::kProgressX + L::kBallSize / 2.0, L::kProgressY + L::kBallSize / 2.0);
    const qreal r = L::kProgressRadius;
    // The dish.
    QRadialGradient dish(centre, r + 14);
    dish.setColorAt(0, colour::kCase);
    dish.setColorAt(0.8, colour::kCaseDark);
    dish.setColorAt(1, colour::kGroove);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(dish);
    p.drawEllipse(centre, r + 12, r + 12);
    // The ball's groove over the upper half, with a tick every 10 degrees.
    QPainterPath arc;
    arc.arcMoveTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 180);
    arc.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 180, -180);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::kGroove, L::kBallSize + 3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    p.setPen(QPen(QColor(255, 255, 255, 25), 1));
    p.drawPath(arc.translated(0, 1));
    for (int a = 0; a <= 180; a += 10) {
        const qreal rad = qDegreesToRadians(a + 180.0);
        const qreal inner = a % 90 == 0 ? r - 20 : r - 15;
        const QPointF from(centre.x() + std::cos(rad) * inner, centre.y() + std::sin(rad) * inner);
        const QPointF to(centre.x() + std::cos(rad) * (r - 11),
                         centre.y() + std::sin(rad) * (r - 11));
        p.setPen(QPen(a % 90 == 0 ? colour::kTextDim : colour::kEdgeLight, 1.5));
        p.drawLine(from, to);
    }
    // The status word's window and the badge under it.
    const QRectF status(L::kLabel4.x, L::kLabel4.y, L::kLabel4.w, L::kLabel4.h);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(status.adjusted(-4, -3, 4, 3), 6, 6);
    DrawStripes(p, centre.x() - 24, status.bottom() + 14, 48, 3, 2);
}

void DrawLabelFrames(QPainter& p) {
    for (const L::Box& b : {L::kLabel1, L::kLabel3}) {
        QPainterPath frame;
        frame.addRoundedRect(QRectF(b.x - 6, b.y - 4, b.w + 12, b.h + 8), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawPath(frame);
        DrawEngraved(p, frame);
    }
}

QImage Background() {
    QImage picture = NewPicture(L::kWindowWidth, L::kWindowHeight);
    QPainter p;
    BeginPainter(p, picture);
    DrawCase(p);
    p.setClipPath(Outline());
    DrawTitle(p);
    DrawPanels(p);
    DrawScreen(p);
    DrawLabelFrames(p);
    DrawProgressArea(p);
    return picture;
}

QImage Information() {
    QImage picture = NewPicture(L::kWindowWidth, L::kWindowHeight);
    QPainter p;
    BeginPainter(p, picture);
    DrawCase(p);
    p.setClipPath(Outline());
    DrawTitle(p);
    const QRectF page(120, 120, 554, 380);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(page, 12, 12);
    p.setPen(colour::kText);
    p.setFont(SansFont(20, true));
    p.drawText(page.adjusted(20, 18, -20, 0), Qt::AlignHCenter | Qt::AlignTop, "Mozu v1.0");
    p.setFont(SansFont(13, false));
    const QString lines =
        "Turns PC pictures (BMP, JPEG) and videos into Amstrad CPC screens,\n"
        "overscan and level files, SymbOS graphics and SymbOS videos,\n"
        "and reads all of them back.\n\n"
        "1. Drop a picture on the window, or press Open.\n"
        "2. Press a mode key: the picture is scaled and reduced to CPC colours.\n"
        "3. Adjust brightness or contrast if you like; convert again.\n"
        "4. Press Save, pick a folder, a name of up to 7 letters and the formats.\n\n"
        "Every file is written beside a temporary copy first:\n"
        "a failed save never destroys a file you had.";
    p.drawText(page.adjusted(28, 60, -28, -20), Qt::AlignLeft | Qt::AlignTop, lines);
    p.setPen(colour::kTextDim);
    p.setFont(SansFont(12, true));
    p.drawText(QRectF(0, 560, L::kWindowWidth, 20), Qt::AlignHCenter, "Click anywhere to close");
    DrawStripes(p, L::kWindowWidth / 2.0 - 30, 590, 60, 4, 3);
    return picture;
}

void DrawMainWindow(Output& out) {
    out.save("MainBackground", Background());
    out.save("Information", Information());
}

}  // namespace

MOZU_SKIN_DRAWER("main_window", DrawMainWindow);
