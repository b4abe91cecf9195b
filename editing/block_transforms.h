#pragma once
// Mirroring and turning a block of pixels by a quarter turn. A turn is a turn of the pixel grid:
// a w x h block becomes h x w pixels, and the block's display scale swaps (see
// floating_block.h), so that the turned block looks turned even where pixels are not square.

#include "colour/picture.h"

namespace mozu {

// "HorizontalFlip": left and right change places.
Picture MirrorLeftRight(const Picture& block);
// "VerticalFlip": top and bottom change places.
Picture MirrorTopBottom(const Picture& block);
// "RotateLeft", a quarter turn counter-clockwise: result (x, y) = block (w - 1 - y, x).
Picture TurnLeft(const Picture& block);
// "RotateRight", a quarter turn clockwise: result (x, y) = block (y, h - 1 - x).
Picture TurnRight(const Picture& block);

}  // namespace mozu
