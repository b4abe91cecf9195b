#pragma once
// The outlines of the borderless windows, as regions of ellipses and rectangles (boxes given
// as left, top - right, bottom in window pixels).

#include <QRegion>

namespace mozu {

// ((E1 u R) xor R) u E2 u E3: E1 (2,-184)-(789,603) without R (0,-184)-(790,192), the wide
// ellipse E2 (3,14)-(790,402) and the progress circle E3 (319,509)-(477,667).
QRegion MainWindowShape();

// E1 (0,-38)-(295,233) without R (0,-38)-(295,69), with E3 (0,1)-(295,213) and
// E4 (-2,13)-(296,164).
QRegion MessageWindowShape();

// An ellipse region in the box left, top - right, bottom.
QRegion EllipseBox(int left, int top, int right, int bottom);
QRegion RectBox(int left, int top, int right, int bottom);

}  // namespace mozu
