#pragma once
// Between the core's Picture (B, G, R bytes, rows top-down) and Qt's QImage.

#include <QImage>

#include "colour/picture.h"

namespace mozu {

// The picture as an RGB32 image, each line `lineRepeat` times (tall MSX pixels).
QImage ToQImage(const Picture& picture, int lineRepeat = 1);
// The same image scaled to `size` without smoothing, each shown pixel taking the picture pixel
// under its centre: what a picture control paints, made in one pass into `image` (whose
// memory is reused when it already has that size).
void ToScaledQImage(const Picture& picture, int lineRepeat, QSize size, QImage& image);
Picture FromQImage(const QImage& image);

}  // namespace mozu
