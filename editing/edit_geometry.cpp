#include "editing/edit_geometry.h"

namespace mozu {

std::optional<EditGeometry> EditGeometryOf(Slot slot) {
    switch (slot) {
        case Slot::Mode0:
            return EditGeometry{160, 200, 2, 1, 16, true};
        case Slot::Mode1:
            return EditGeometry{320, 200, 1, 1, 4, true};
        case Slot::Mode2:
            return EditGeometry{640, 200, 1, 2, 2, true};
        case Slot::Overscan0:
            return EditGeometry{184, 264, 2, 1, 16, true};
        case Slot::Overscan1:
            // Its picture is 368 x 264 after a conversion or a blank; a picture read from a
            // file of another size is edited at the size it has.
            return EditGeometry{0, 0, 1, 1, 4, true};
        case Slot::Overscan2:
            return EditGeometry{736, 264, 1, 2, 2, true};
        case Slot::SgxCpc:
            return EditGeometry{320, 200, 1, 1, 4, true};
        case Slot::SgxCpcFree:
            return EditGeometry{0, 0, 1, 1, 4, false};
        case Slot::SgxMsx:
            return EditGeometry{512, 212, 1, 2, 16, true};
        case Slot::SgxMsxFree:
            return EditGeometry{0, 0, 1, 2, 16, false};
        case Slot::Source:
            return EditGeometry{0, 0, 1, 1, 1, false};
        default:
            return std::nullopt;
    }
}

}  // namespace mozu
