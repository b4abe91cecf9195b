// The program's own icon: a small CPC-style monitor showing the badge's stripes.

#include <QDir>

#include "skin_common.h"

namespace {

using namespace skin;

QImage AppIcon(int size) {
    QImage picture = NewPicture(size, size);
    QPainter p;
    BeginPainter(p, picture);
    const qreal s = size / 64.0;
    p.scale(s, s);
    // The monitor's case and its foot.
    p.setPen(QPen(colour::kGroove, 2));
    p.setBrush(Vertical(QRectF(4, 6, 56, 44), colour::kEdgeLight, colour::kCase));
    p.drawRoundedRect(QRectF(4, 6, 56, 44), 6, 6);
    p.setBrush(colour::kCase);
    p.drawRoundedRect(QRectF(18, 50, 28, 8), 2, 2);
    // The screen with the three stripes.
    p.setBrush(colour::kScreen);
    p.drawRoundedRect(QRectF(10, 12, 44, 32), 3, 3);
    DrawStripes(p, 16, 18, 32, 5, 2.5);
    return picture;
}

void DrawIcons(Output& out) {
    out.save("MozuIcon", AppIcon(64));
}

}  // namespace

namespace skin {

bool WriteDesktopIcons(const QString& folder, const QString& name) {
    // The sizes desktops look for in the hicolor theme; each drawn at its size, not scaled.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QString("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir)) return false;
        Output out(dir);
        if (!out.save(name, AppIcon(size))) return false;
    }
    return true;
}

}  // namespace skin

MOZU_SKIN_DRAWER("icons", DrawIcons);
