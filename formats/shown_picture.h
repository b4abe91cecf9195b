#pragma once
// What a file's picture looks like on its machine: each pixel at its mode's shape (mode 0
// pixels twice as wide as tall, mode 2 and MSX pixels twice as tall as wide).

#include "colour/picture.h"
#include "formats/file_type.h"

namespace mozu {

// Horizontal and vertical repeat of one picture pixel for a file type; 1, 1 for PC pictures,
// videos and types without a slot.
struct PixelShape {
    int xf, yf;
};
PixelShape PixelShapeOf(FileType type);

// `picture` with every pixel repeated `shape.xf` times across and `shape.yf` times down.
Picture AtPixelShape(const Picture& picture, PixelShape shape);

}  // namespace mozu
