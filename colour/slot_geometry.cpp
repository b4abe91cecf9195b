#include "colour/slot_geometry.h"

namespace mozu {

SlotGeometry GetSlotGeometry(int slot) {
    switch (slot) {
        case 0:
            return {160, 200, 16, 2, 1};
        case 1:
            return {320, 200, 4, 1, 1};
        case 2:
            return {640, 200, 2, 1, 2};
        case 4:
            return {184, 264, 16, 2, 1};
        case 5:
            return {368, 264, 4, 1, 1};
        case 6:
            return {736, 264, 2, 1, 2};
        case 8:
            return {320, 200, 4, 1, 1};
        case 9:
            return {0, 0, 4, 1, 1};
        case 10:
            return {512, 212, 16, 1, 2};
        case 11:
            return {0, 0, 16, 1, 2};
        case 13:
            return {192, 0, 4, 1, 1};
        case 14:
            return {224, 0, 4, 1, 1};
        case 15:
        case 16:
            return {240, 0, 16, 1, 2};
        case 20:
            return {232, 264, 16, 2, 1};
        case 21:
            return {464, 264, 4, 1, 1};
        default:
            return {0, 0, SlotPens(slot), 1, 1};
    }
}

int SlotPens(int slot) {
    switch (slot) {
        case 1:
        case 5:
        case 7:
        case 8:
        case 9:
        case 13:
        case 14:
        case 21:
            return 4;
        case 2:
        case 6:
            return 2;
        default:
            return 16;
    }
}

bool IsTallPixelSlot(int slot) {
    return slot == 2 || slot == 6 || slot == 10 || slot == 11 || slot == 15 || slot == 16;
}

CanvasSize SlotCanvas(int slot, int w, int h) {
    switch (slot) {
        case 9:
        case 11:
        case 13:
        case 14:
        case 15:
        case 16:
        case 20:
        case 21:
            return {w, h};
        default: {
            const SlotGeometry g = GetSlotGeometry(slot);
            if (g.width == 0 || g.height == 0) return {w, h};
            return {g.width, g.height};
        }
    }
}

}  // namespace mozu
