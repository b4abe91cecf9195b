#include "skin/pixel_font.h"

#include <QFontInfo>
#include <QGuiApplication>

namespace mozu {

int PointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QFont PixelFont(const QString& family, int points, bool bold, bool italic, bool underline) {
    const QFont desktop = QGuiApplication::font();
    QFont font(desktop);
    if (!family.isEmpty() && family != kDefaultFontName) font.setFamily(family);
    font.setPixelSize(points > 0 ? PointsToPixels(points) : QFontInfo(desktop).pixelSize());
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    // Whole pixels only; the painter that writes into a picture still keeps only the pixels a
    // glyph covers at least half, should a font engine smooth all the same.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace mozu
