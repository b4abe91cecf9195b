#include "colour/slot_geometry.h"

namespace mozu {

SlotGeometry GetSlotGeometry(Slot slot) {
    switch (slot) {
        case Slot::Mode0:
            return {160, 200, 16, 2, 1};
        case Slot::Mode1:
            return {320, 200, 4, 1, 1};
        case Slot::Mode2:
            return {640, 200, 2, 1, 2};
        case Slot::Overscan0:
            return {184, 264, 16, 2, 1};
        case Slot::Overscan1:
            return {368, 264, 4, 1, 1};
        case Slot::Overscan2:
            return {736, 264, 2, 1, 2};
        case Slot::SgxCpc:
            return {320, 200, 4, 1, 1};
        case Slot::SgxCpcFree:
            return {0, 0, 4, 1, 1};
        case Slot::SgxMsx:
            return {512, 212, 16, 1, 2};
        case Slot::SgxMsxFree:
            return {0, 0, 16, 1, 2};
        case Slot::Video4:
            return {192, 0, 4, 1, 1};
        case Slot::Video4Wide:
            return {224, 0, 4, 1, 1};
        case Slot::Video16:
        case Slot::Video16Wide:
            return {240, 0, 16, 1, 2};
        case Slot::Level0:
            return {232, 264, 16, 2, 1};
        case Slot::Level1:
            return {464, 264, 4, 1, 1};
        default:
            return {0, 0, SlotPens(slot), 1, 1};
    }
}

int SlotPens(Slot slot) {
    switch (slot) {
        case Slot::Mode1:
        case Slot::Overscan1:
        case Slot::Unused7:
        case Slot::SgxCpc:
        case Slot::SgxCpcFree:
        case Slot::Video4:
        case Slot::Video4Wide:
        case Slot::Level1:
            return 4;
        case Slot::Mode2:
        case Slot::Overscan2:
            return 2;
        default:
            return 16;
    }
}

bool IsTallPixelSlot(Slot slot) {
    return slot == Slot::Mode2 || slot == Slot::Overscan2 || slot == Slot::SgxMsx ||
           slot == Slot::SgxMsxFree || slot == Slot::Video16 || slot == Slot::Video16Wide;
}

CanvasSize SlotCanvas(Slot slot, int w, int h) {
    switch (slot) {
        case Slot::SgxCpcFree:
        case Slot::SgxMsxFree:
        case Slot::Video4:
        case Slot::Video4Wide:
        case Slot::Video16:
        case Slot::Video16Wide:
        case Slot::Level0:
        case Slot::Level1:
            return {w, h};
        default: {
            const SlotGeometry g = GetSlotGeometry(slot);
            if (g.width == 0 || g.height == 0) return {w, h};
            return {g.width, g.height};
        }
    }
}

}  // namespace mozu
