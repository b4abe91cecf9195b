#pragma once
// Between the core's Picture (B, G, R bytes, rows top-down) and Qt's QImage.

#include <QImage>

#include "colour/picture.h"

namespace mozu {

QImage ToQImage(const Picture& picture);
Picture FromQImage(const QImage& image);

}  // namespace mozu
