#pragma once
// The rounded dark case of the editor and its dialogs: the picture behind their controls and
// the outline that shapes the window.

#include <QPixmap>
#include <QRegion>

namespace mozu {

// A width x height case with corners of `radius`: dark, lit from the top, with a light rim.
QPixmap RoundedCase(int width, int height, qreal radius);
// The window outline of that case.
QRegion RoundedCaseShape(int width, int height, qreal radius);

}  // namespace mozu
