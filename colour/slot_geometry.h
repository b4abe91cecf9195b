#pragma once
// The target of every picture slot: picture size, pen count and pixel shape (how wide and how
// tall one target pixel is in square units).

#include "colour/slot.h"

namespace mozu {

struct SlotGeometry {
    int width, height;  // 0 where the slot takes the size of the picture handed in
    int pens;           // 16, 4 or 2
    int xf, yf;         // pixel shape: 2,1 for mode 0; 1,2 for mode 2 and the MSX slots
};

// Slots without a target (3, 7, 12, 17-19, 22, 255 and anything else) have size 0 x 0, the pens
// of SlotPens (16, but 4 for slot 7) and square pixels.
SlotGeometry GetSlotGeometry(Slot slot);

// Pens of a slot: 16 for 0, 3, 4, 10, 11, 15, 16, 20; 4 for 1, 5, 7, 8, 9, 13, 14, 21;
// 2 for 2 and 6; 16 for slots no command fills.
int SlotPens(Slot slot);

// Slots whose pixels are twice as tall as wide: 2, 6, 10, 11, 15, 16. A picture that came from
// one of them counts twice its row count when it is scaled again.
bool IsTallPixelSlot(Slot slot);

// The canvas a converted picture of w x h is centred on: the slot's picture size, or the
// picture's own size for the free-size slots 9, 11, 13-16, 20 and 21.
struct CanvasSize {
    int width, height;
};
CanvasSize SlotCanvas(Slot slot, int w, int h);

}  // namespace mozu
