#pragma once
// The outline of a borderless dialog: a region made of ellipses and rectangles given by their
// boxes, as the windowing system makes them (the right and bottom edges lie outside).

#include <QRegion>

#include "dialogs/dialog_layout.h"

namespace mozu {

inline QRegion EllipseRegion(const dialog_layout::Oval& o) {
    return QRegion(o.left, o.top, o.right - o.left, o.bottom - o.top, QRegion::Ellipse);
}
inline QRegion BoxRegion(const dialog_layout::Box& b) {
    return QRegion(b.x, b.y, b.w, b.h);
}

// (E1 without R) united with E2 and E3: a bowl under two overlapping ovals.
inline QRegion DialogShape(const dialog_layout::Oval& e1, const dialog_layout::Box& r,
                           const dialog_layout::Oval& e2, const dialog_layout::Oval& e3) {
    return EllipseRegion(e1)
        .subtracted(BoxRegion(r))
        .united(EllipseRegion(e2))
        .united(EllipseRegion(e3));
}

}  // namespace mozu
