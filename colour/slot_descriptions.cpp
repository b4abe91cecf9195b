#include "colour/slot_descriptions.h"

namespace mozu {

std::string SlotDescription(const ConversionState& state, Slot slot) {
    switch (slot) {
        case Slot::Mode0:
            return "CPC mode 0\n\r160x200\n\r16 colors";
        case Slot::Mode1:
            return "CPC mode 1\n\r320x200\n\r4 colors";
        case Slot::Mode2:
            return "CPC mode 2\n\r640x200\n\r2 colors";
        case Slot::Overscan0:
            return "CPC mode 0\n\r184x264\n\r16 colors";
        case Slot::Overscan1:
            return "CPC mode 1\n\r368x264\n\r4 colors";
        case Slot::Overscan2:
            return "CPC mode 2\n\r736x264\n\r2 colors";
        case Slot::SgxCpc:
            return "MSX mode 7\n\r320x200\n\r4 colors";
        case Slot::SgxMsx:
            return "MSX mode 7\n\r512x212\n\r16 colors";
        case Slot::SgxCpcFree:
        case Slot::SgxMsxFree: {
            // The free-size slots describe the picture they hold.
            const Picture& p = state.picture(slot);
            return std::string(slot == Slot::SgxCpcFree ? "CPC mode 1\n\r" : "MSX mode 7\n\r") +
                   std::to_string(p.width()) + "x" + std::to_string(p.height()) + "\n\r" +
                   (slot == Slot::SgxCpcFree ? "4 colors" : "16 colors");
        }
        default:
            return {};
    }
}

std::optional<std::string> BlankSlotDescription(Slot slot) {
    switch (slot) {
        case Slot::Mode1:
            return "CPC mode 1\n\r320x200\n\r4 colors";
        case Slot::Mode2:
            return "CPC mode 2\n\r640x200\n\r2 colors";
        case Slot::Overscan0:
            return "Overscaned mode 0\n\r184x264\n\r16 colors";
        case Slot::Overscan1:
            return "Overscaned mode 1\n\r368x264\n\r4 colors";
        case Slot::Overscan2:
            return "Overscaned mode 2\n\r736x264\n\r2 colors";
        case Slot::SgxMsx:
            return "MSX mode 7\n\r512x212\n\r16 colors";
        default:
            return std::nullopt;  // slot 0 leaves the description as it is; 8, 9, 11 make none
    }
}

}  // namespace mozu
