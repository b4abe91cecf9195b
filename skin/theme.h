#pragma once
// The skin: every picture the windows show (backgrounds, keys, icons, marks) is a PNG drawn by
// scripts/skin and embedded from skin/pictures/skin.qrc. Windows ask this one class for them by
// name, so no window paints its own chrome.
//
//     QPixmap up = Theme::Picture("BlackKeyUp");
//
// A name without a picture gives a null pixmap (and a warning once), never a crash.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

namespace mozu {

class Theme {
  public:
    // The picture skin/pictures/<name>.png, cached after the first use.
    static QPixmap Picture(const QString& name);
    static bool Has(const QString& name);
    // The picture laid over a solid colour: a background a window can paint without blending.
    static QPixmap Opaque(const QString& name, const QColor& under);

    // Texts on the skin: white on the dark case, a dim grey for secondary texts.
    static QColor TextColour() { return QColor(255, 255, 255); }
    static QColor DimTextColour() { return QColor(170, 178, 196); }
    // The sans font the skin's captions use, at a pixel size.
    static QFont Font(int pixelSize, bool bold);
};

}  // namespace mozu
