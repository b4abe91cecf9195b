#include "skin/shape.h"

namespace mozu {

QRegion EllipseBox(int left, int top, int right, int bottom) {
    return QRegion(left, top, right - left, bottom - top, QRegion::Ellipse);
}

QRegion RectBox(int left, int top, int right, int bottom) {
    return QRegion(left, top, right - left, bottom - top);
}

QRegion MainWindowShape() {
    const QRegion e1 = EllipseBox(2, -184, 789, 603);
    const QRegion r = RectBox(0, -184, 790, 192);
    const QRegion e2 = EllipseBox(3, 14, 790, 402);
    const QRegion e3 = EllipseBox(319, 509, 477, 667);
    return (e1.united(r).xored(r)).united(e2).united(e3);
}

QRegion MessageWindowShape() {
    const QRegion e1 = EllipseBox(0, -38, 295, 233);
    const QRegion r = RectBox(0, -38, 295, 69);
    const QRegion e3 = EllipseBox(0, 1, 295, 213);
    const QRegion e4 = EllipseBox(-2, 13, 296, 164);
    return (e1.united(r).xored(r)).united(e3).united(e4);
}

}  // namespace mozu
