#pragma once
// Fonts for writing into pictures: drawn without anti-aliasing, so that a glyph's pixels are
// either the text's colour or untouched, never a blend that would bring a colour outside the
// picture's palette. Sizes are points at 96 dots per inch, as a desktop font dialog offers
// them, turned into pixels here so that the text's size does not depend on the screen.

#include <QFont>
#include <QString>

namespace mozu {

// The family of the list's "Default" entry: the desktop's own font.
inline const QString kDefaultFontName = QStringLiteral("Default");

// `family` ("Default" or empty: the desktop's font) at `points` (0: the desktop font's own
// height), without anti-aliasing.
QFont PixelFont(const QString& family, int points, bool bold = false, bool italic = false,
                bool underline = false);

// The pixel height of `points` at 96 dots per inch.
int PointsToPixels(int points);

}  // namespace mozu
