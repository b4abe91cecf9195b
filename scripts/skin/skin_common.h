#pragma once
// Shared colours and drawing helpers of the skin generator. Every window's pictures are drawn
// by its own file (main_window_skin.cpp, msg_window_skin.cpp, dialog_skin.cpp ...), which
// registers a drawing function with MOZU_SKIN_DRAWER; make_skin runs them all and writes the
// PNGs plus the resource list skin/pictures/skin.qrc.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

namespace skin {

// The palette: a dark case like the CPC 464's, the red/green/blue stripes of its badge, and
// a cool grey-blue for panels. Pictures stay within these.
namespace colour {
inline const QColor kCaseDark{22, 24, 30};
inline const QColor kCase{38, 41, 50};
inline const QColor kCaseLight{62, 66, 80};
inline const QColor kEdgeLight{120, 128, 150};
inline const QColor kPanel{30, 34, 46};
inline const QColor kGroove{12, 13, 18};
inline const QColor kText{255, 255, 255};
inline const QColor kTextDim{170, 178, 196};
inline const QColor kStripeRed{224, 40, 40};
inline const QColor kStripeGreen{40, 190, 70};
inline const QColor kStripeBlue{40, 110, 230};
inline const QColor kKeyBlack{44, 46, 54};
inline const QColor kKeyRed{190, 34, 34};
inline const QColor kKeyGreen{30, 150, 60};
inline const QColor kKeyGrey{86, 92, 108};
inline const QColor kScreen{6, 8, 10};
inline const QColor kNavy{0, 0, 128};
}  // namespace colour

// Where pictures go and which were written (the .qrc lists them).
class Output {
  public:
    explicit Output(QString folder) : folder_(std::move(folder)) {}
    // Writes `name`.png; false (and a message on stderr) if it cannot.
    bool save(const QString& name, const QImage& picture);
    const std::vector<QString>& names() const { return names_; }
    bool ok() const { return ok_; }

  private:
    QString folder_;
    std::vector<QString> names_;
    bool ok_ = true;
};

// One window's (or one family's) drawing function under a name; each file registers its own
// with MOZU_SKIN_DRAWER and make_skin runs them all in the order of their names.
using DrawFunction = std::function<void(Output&)>;
struct SkinDrawer {
    const char* name;
    DrawFunction draw;
};
std::vector<SkinDrawer>& SkinDrawers();
struct Registrar {
    Registrar(const char* name, DrawFunction draw) {
        SkinDrawers().push_back({name, std::move(draw)});
    }
};
#define MOZU_SKIN_DRAWER(name, fn) static ::skin::Registrar skin_registrar_##fn(name, fn)

// The program's icon in the hicolor theme under `folder`: hicolor/NxN/apps/`name`.png at the
// usual sizes. False (and a message) if a file cannot be written.
bool WriteDesktopIcons(const QString& folder, const QString& name);

// A transparent picture to draw on, and a painter with antialiasing on.
QImage NewPicture(int w, int h, QColor fill = Qt::transparent);
void BeginPainter(QPainter& p, QImage& picture);

// A vertical gradient between two colours over `rect`.
QLinearGradient Vertical(const QRectF& rect, QColor top, QColor bottom);

// A key face: rounded, lit from above when up, sunk and darker when down. `base` is the
// key's colour; the face is drawn inside `rect`.
void DrawKey(QPainter& p, const QRectF& rect, QColor base, bool down, qreal radius = 5);

// An engraved groove (a dark line with a light line under it) around a shape.
void DrawEngraved(QPainter& p, const QPainterPath& path, qreal width = 1.0);

// The three stripes of the badge, each `w` wide and `h` high, starting at x,y.
void DrawStripes(QPainter& p, qreal x, qreal y, qreal w, qreal h, qreal gap);

// Text in blocks: a 5 x 7 dot font of capital letters, digits and a few signs, each dot a
// square of `dot` pixels, like the CPC's own characters. Returns the width drawn.
qreal DrawBlockText(QPainter& p, qreal x, qreal y, const QString& text, qreal dot, QColor colour);
qreal BlockTextWidth(const QString& text, qreal dot);

// The program's sans font at a pixel size.
QFont SansFont(int pixelSize, bool bold);

}  // namespace skin
