// The open and save dialogs' pictures: their backgrounds (the case cut to the dialogs' outline,
// a sunken panel for the three columns and the scroll track, the preview screen, the option
// panel), the entry icons (drawn on white, the icons' transparent colour), the up, OK and
// cancel keys, the option marks and the scroll bar.

#include <QtMath>

#include "dialogs/dialog_layout.h"
#include "skin_common.h"

namespace {

using namespace skin;
namespace D = mozu::dialog_layout;

QRectF Rect(const D::Box& b, qreal grow = 0) {
    return QRectF(b.x - grow, b.y - grow, b.w + 2 * grow, b.h + 2 * grow);
}
QRectF Rect(const D::Oval& o) {
    return QRectF(o.left, o.top, o.right - o.left, o.bottom - o.top);
}

QPainterPath Outline(const D::Oval& e1, const D::Box& r, const D::Oval& e2, const D::Oval& e3) {
    QPainterPath a, b, c, d;
    a.addEllipse(Rect(e1));
    b.addRect(Rect(r));
    c.addEllipse(Rect(e2));
    d.addEllipse(Rect(e3));
    return a.subtracted(b).united(c).united(d).simplified();
}

void DrawCase(QPainter& p, const QPainterPath& outline, int w, int h) {
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(QRectF(0, 0, w, h), colour::kCaseLight, colour::kCaseDark));
    p.drawPath(outline);
    p.save();
    p.setClipPath(outline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour::kEdgeLight, 4));
    p.drawPath(outline);
    QPainterPathStroker inner;
    inner.setWidth(10);
    p.setPen(QPen(colour::kCaseDark, 2));
    p.drawPath(outline.subtracted(inner.createStroke(outline)).simplified());
    p.restore();
}

// A sunken area: darker than the case, a dark rim, a light line under it.
void DrawSunken(QPainter& p, const QRectF& r, qreal radius, int shade = 90) {
    QPainterPath frame;
    frame.addRoundedRect(r, radius, radius);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(QColor(0, 0, 0, shade));
    p.drawPath(frame);
    DrawEngraved(p, frame);
}

// The title left of the up key, the badge's stripes right of it.
void DrawTitle(QPainter& p, const D::Box& upKey, const QString& title) {
    const qreal dot = 3;
    const qreal w = BlockTextWidth(title, dot);
    const qreal x = upKey.x - 18 - w;
    const qreal y = upKey.y + (upKey.h - 7 * dot) / 2.0;
    DrawBlockText(p, x + 1, y + 1, title, dot, colour::kGroove);
    DrawBlockText(p, x, y, title, dot, colour::kText);
    DrawStripes(p, x - 70, y + 4, 56, 3, 2.5);
    DrawStripes(p, upKey.right() + 18, y + 4, 120, 3, 2.5);
}

// The columns' panel with the scroll track's seat beside it.
void DrawColumnsPanel(QPainter& p, const D::Box& first, const D::Box& last, const D::Box& track) {
    const QRectF panel(first.x - 8, first.y - 3, track.right() - first.x + 16, first.h + 9);
    DrawSunken(p, panel, 10, 110);
    // Thin separators between the columns.
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (int x : {first.right() - 1, last.x - 1})
        p.drawLine(QPointF(x + 0.5, first.y + 4), QPointF(x + 0.5, first.bottom() - 4));
    (void)last;
}

void DrawLabelFrame(QPainter& p, const D::Box& b) {
    DrawSunken(p, QRectF(b.x - 6, b.y - 3, b.w + 12, b.h + 4), 6, 70);
}

void DrawScreen(QPainter& p, const D::Box& b) {
    const QRectF bezel = Rect(b, 8);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(Vertical(bezel, colour::kCaseDark, colour::kCaseLight));
    p.drawRoundedRect(bezel, 8, 8);
    p.setPen(QPen(colour::kEdgeLight, 1));
    p.setBrush(colour::kScreen);
    p.drawRoundedRect(Rect(b, 1), 3, 3);
    // An empty screen shows a dim prompt until a file is previewed.
    DrawBlockText(p, b.x + 8, b.y + 8, "READY", 1.5, QColor(60, 200, 90).darker(170));
}

void DrawKeyCaption(QPainter& p, const D::Box& key, const QString& text, bool right) {
    p.setFont(SansFont(10, true));
    p.setPen(colour::kTextDim);
    const QRectF r =
        right ? QRectF(key.right() + 6, key.y, 70, key.h) : QRectF(key.x - 76, key.y, 70, key.h);
    p.drawText(r, Qt::AlignVCenter | (right ? Qt::AlignLeft : Qt::AlignRight), text);
}

QImage OpenBackground() {
    namespace O = D::open;
    QImage picture = NewPicture(O::kWidth, O::kHeight);
    QPainter p;
    BeginPainter(p, picture);
    const QPainterPath outline = Outline(O::kE1, O::kR, O::kE2, O::kE3);
    DrawCase(p, outline, O::kWidth, O::kHeight);
    p.setClipPath(outline);
    DrawLabelFrame(p, O::kLabel1);
    DrawColumnsPanel(p, O::kListBox1, O::kListBox3, O::kVertical);
    DrawScreen(p, O::kImage2);
    DrawLabelFrame(p, O::kLabel2);
    DrawKeyCaption(p, O::kKeyGreen01, "OPEN", true);
    DrawKeyCaption(p, O::kKeyRed01, "CANCEL", false);
    DrawTitle(p, O::kKey01, "OPEN");
    return picture;
}

QImage SaveBackground() {
    namespace S = D::save;
    QImage picture = NewPicture(S::kWidth, S::kHeight);
    QPainter p;
    BeginPainter(p, picture);
    const QPainterPath outline = Outline(S::kE1, S::kR, S::kE2, S::kE3);
    DrawCase(p, outline, S::kWidth, S::kHeight);
    p.setClipPath(outline);
    DrawTitle(p, S::kKey01, "SAVE");
    DrawLabelFrame(p, S::kLabel1);
    DrawColumnsPanel(p, S::kListBox1, S::kListBox3, S::kVertical);
    // The formats' panel (or, for a video, the title and information fields).
    const QRectF options(S::kVideoTitle.x - 8, S::kOptionTop[0] - 8, S::kVideoTitle.w + 16,
                         S::kOptionTop[4] + S::kOptionHeight + 8 - (S::kOptionTop[0] - 8));
    DrawSunken(p, options, 10, 60);
    // The badge's stripes in the panel's free corner, under the video fields.
    DrawStripes(p, options.left() + 14, options.bottom() - 22, 72, 3, 2.5);
    DrawSunken(p, Rect(S::kEdit1, 3), 5, 60);
    DrawKeyCaption(p, S::kKeyGreen01, "SAVE", false);
    DrawKeyCaption(p, S::kKeyRed01, "CANCEL", true);
    return picture;
}

// --- icons, 20 x 20 on white ----------------------------------------------------------------

QImage IconPicture() {
    return NewPicture(D::kIconSize, D::kIconSize, Qt::white);
}

void BeginIcon(QPainter& p, QImage& picture) {
    BeginPainter(p, picture);
    // Antialiased edges would blend into the white that is cut away: draw crisp.
    p.setRenderHint(QPainter::Antialiasing, false);
}

QImage FolderIcon() {
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    const QColor ink(70, 50, 10);
    p.setPen(ink);
    p.setBrush(QColor(222, 170, 40));
    p.drawRect(2, 3, 7, 3);  // the tab
    p.setBrush(QColor(246, 200, 70));
    p.drawRect(1, 5, 17, 12);
    p.setPen(QColor(252, 226, 140));
    p.drawLine(2, 6, 17, 6);
    return picture;
}

QImage ImageIcon() {
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    p.setPen(QColor(20, 20, 30));
    p.setBrush(QColor(90, 170, 240));  // sky
    p.drawRect(1, 2, 17, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 220, 60));  // sun
    p.drawEllipse(12, 4, 4, 4);
    p.setBrush(QColor(40, 150, 60));  // hills
    QPolygon hills;
    hills << QPoint(2, 16) << QPoint(7, 8) << QPoint(11, 13) << QPoint(13, 11) << QPoint(18, 16);
    p.drawPolygon(hills);
    return picture;
}

QImage VideoIcon() {
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    p.setPen(QColor(10, 10, 14));
    p.setBrush(QColor(40, 42, 50));
    p.drawRect(1, 2, 17, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 236));
    for (int y = 4; y < 16; y += 3) {
        p.drawRect(2, y, 1, 1);
        p.drawRect(16, y, 1, 1);
    }
    p.setBrush(QColor(40, 110, 230));
    p.drawRect(5, 4, 9, 11);
    p.setBrush(QColor(240, 240, 246));
    QPolygon play;
    play << QPoint(8, 6) << QPoint(12, 9) << QPoint(8, 12);
    p.drawPolygon(play);
    return picture;
}

QImage DiscIcon() {
    // A hard disc: a grey box with a green light.
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    p.setPen(QColor(20, 22, 30));
    p.setBrush(QColor(150, 156, 172));
    p.drawRect(1, 5, 17, 10);
    p.setPen(QColor(200, 206, 220));
    p.drawLine(2, 6, 17, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 190, 70));
    p.drawRect(14, 11, 2, 2);
    p.setBrush(QColor(90, 96, 110));
    p.drawRect(3, 11, 8, 1);
    return picture;
}

QImage FloppyIcon() {
    // The CPC's own 3-inch disc: a narrow body with the round shutter.
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    p.setPen(QColor(10, 10, 14));
    p.setBrush(QColor(40, 42, 50));
    p.drawRect(3, 1, 13, 17);
    p.setBrush(QColor(190, 196, 206));
    p.drawRect(6, 2, 7, 5);  // the shutter
    p.setBrush(QColor(224, 40, 40));
    p.drawRect(5, 10, 9, 6);  // the label with the badge's colour
    return picture;
}

QImage CDIcon() {
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    p.setRenderHint(QPainter::Antialiasing, true);
    QConicalGradient shine(QPointF(10, 10), 30);
    shine.setColorAt(0, QColor(200, 210, 230));
    shine.setColorAt(0.25, QColor(150, 220, 210));
    shine.setColorAt(0.5, QColor(210, 190, 230));
    shine.setColorAt(0.75, QColor(160, 180, 220));
    shine.setColorAt(1, QColor(200, 210, 230));
    p.setPen(QPen(QColor(60, 64, 80), 1));
    p.setBrush(shine);
    p.drawEllipse(QRectF(1, 1, 17, 17));
    p.setBrush(QColor(38, 41, 50));
    p.drawEllipse(QRectF(7.5, 7.5, 4, 4));
    return picture;
}

QImage USBIcon() {
    QImage picture = IconPicture();
    QPainter p;
    BeginIcon(p, picture);
    p.setPen(QColor(10, 10, 14));
    p.setBrush(QColor(40, 110, 230));
    p.drawRect(4, 7, 13, 8);
    p.setBrush(QColor(190, 196, 206));
    p.drawRect(0, 8, 4, 6);  // the plug
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 42, 50));
    p.drawRect(1, 10, 2, 1);
    p.drawRect(1, 12, 2, 1);
    p.setBrush(QColor(120, 170, 250));
    p.drawRect(6, 9, 8, 1);
    return picture;
}

// --- keys, marks and the scroll bar ---------------------------------------------------------

enum class Sign { Up, Check, Cross };

QImage SignKey(QColor base, bool down, Sign sign) {
    QImage picture = NewPicture(D::kOkKeyWidth, D::kOkKeyHeight);
    QPainter p;
    BeginPainter(p, picture);
    DrawKey(p, QRectF(0, 0, D::kOkKeyWidth, D::kOkKeyHeight), base, down, 8);
    const qreal dy = down ? 1 : -1;
    const QPointF c(D::kOkKeyWidth / 2.0, D::kOkKeyHeight / 2.0 + dy);
    QPainterPath path;
    switch (sign) {
        case Sign::Up:
            path.moveTo(c + QPointF(-7, 3));
            path.lineTo(c + QPointF(0, -5));
            path.lineTo(c + QPointF(7, 3));
            break;
        case Sign::Check:
            path.moveTo(c + QPointF(-7, 0));
            path.lineTo(c + QPointF(-2, 5));
            path.lineTo(c + QPointF(7, -5));
            break;
        case Sign::Cross:
            path.moveTo(c + QPointF(-5, -5));
            path.lineTo(c + QPointF(5, 5));
            path.moveTo(c + QPointF(5, -5));
            path.lineTo(c + QPointF(-5, 5));
            break;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 120), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path.translated(0, 1));
    p.setPen(QPen(colour::kText, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    return picture;
}

enum class Mark { On, Off, Down, Inactive };

// An option mark: a round lamp in a seat, lit green when on.
QImage OptionMark(Mark mark) {
    const int s = D::kOptionMark;
    QImage picture = NewPicture(s, s);
    QPainter p;
    BeginPainter(p, picture);
    const QRectF seat(0.5, 0.5, s - 1, s - 1);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(Vertical(seat, colour::kCaseDark, colour::kEdgeLight));
    p.drawEllipse(seat);
    const QRectF lamp = seat.adjusted(3.5, 3.5, -3.5, -3.5);
    QRadialGradient g(lamp.center() - QPointF(2, 2), lamp.width() * 0.8);
    switch (mark) {
        case Mark::On:
            g.setColorAt(0, QColor(220, 255, 220));
            g.setColorAt(0.4, colour::kStripeGreen.lighter(130));
            g.setColorAt(1, colour::kStripeGreen.darker(180));
            break;
        case Mark::Off:
            g.setColorAt(0, colour::kKeyGrey.lighter(120));
            g.setColorAt(1, colour::kGroove);
            break;
        case Mark::Down:
            g.setColorAt(0, colour::kStripeGreen.darker(160));
            g.setColorAt(1, colour::kGroove);
            break;
        case Mark::Inactive:
            g.setColorAt(0, colour::kCase);
            g.setColorAt(1, colour::kCase);
            break;
    }
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(g);
    p.drawEllipse(mark == Mark::Down ? lamp.translated(0, 1) : lamp);
    return picture;
}

QImage Track() {
    const int w = D::kTrackWidth, h = D::open::kVertical.h;
    QImage picture = NewPicture(w, h);
    QPainter p;
    BeginPainter(p, picture);
    const QRectF groove(w / 2.0 - 4, 2.5, 8, h - 5);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(colour::kGroove);
    p.drawRoundedRect(groove, 4, 4);
    return picture;
}

QImage Thumb() {
    const int w = D::kThumbWidth, h = D::kThumbHeight;
    QImage picture = NewPicture(w, h);
    QPainter p;
    BeginPainter(p, picture);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(Vertical(r, colour::kEdgeLight.lighter(130), colour::kKeyGrey.darker(130)));
    p.drawRoundedRect(r, 4, 4);
    p.setPen(QPen(colour::kGroove, 1));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(9, h / 2.0 + 3 * i), QPointF(w - 9, h / 2.0 + 3 * i));
    return picture;
}

void DrawDialogs(Output& out) {
    out.save("OpenDialog", OpenBackground());
    out.save("SaveDialog", SaveBackground());
    out.save("FolderIcon", FolderIcon());
    out.save("ImageIcon", ImageIcon());
    out.save("VideoIcon", VideoIcon());
    out.save("DiscIcon", DiscIcon());
    out.save("FloppyIcon", FloppyIcon());
    out.save("CDIcon", CDIcon());
    out.save("USBIcon", USBIcon());
    out.save("DialogUpKeyUp", SignKey(colour::kKeyGrey, false, Sign::Up));
    out.save("DialogUpKeyDown", SignKey(colour::kKeyGrey, true, Sign::Up));
    out.save("DialogGreenKeyUp", SignKey(colour::kKeyGreen, false, Sign::Check));
    out.save("DialogGreenKeyDown", SignKey(colour::kKeyGreen, true, Sign::Check));
    out.save("DialogRedKeyUp", SignKey(colour::kKeyRed, false, Sign::Cross));
    out.save("DialogRedKeyDown", SignKey(colour::kKeyRed, true, Sign::Cross));
    out.save("KeyOptionOn", OptionMark(Mark::On));
    out.save("KeyOptionOff", OptionMark(Mark::Off));
    out.save("KeyOptionDown", OptionMark(Mark::Down));
    out.save("KeyOptionInactive", OptionMark(Mark::Inactive));
    out.save("DialogTrack", Track());
    out.save("DialogThumb", Thumb());
}

}  // namespace

MOZU_SKIN_DRAWER("dialogs", DrawDialogs);
