#include "colour/slot_descriptions.h"

namespace mozu {

std::string SlotDescription(const ConversionState& state, int slot) {
    switch (slot) {
        case 0:
            return "CPC mode 0\n\r160x200\n\r16 colors";
        case 1:
            return "CPC mode 1\n\r320x200\n\r4 colors";
        case 2:
            return "CPC mode 2\n\r640x200\n\r2 colors";
        case 4:
            return "CPC mode 0\n\r184x264\n\r16 colors";
        case 5:
            return "CPC mode 1\n\r368x264\n\r4 colors";
        case 6:
            return "CPC mode 2\n\r736x264\n\r2 colors";
        case 8:
            return "MSX mode 7\n\r320x200\n\r4 colors";
        case 10:
            return "MSX mode 7\n\r512x212\n\r16 colors";
        case 9:
        case 11: {
            // The free-size slots describe the picture they hold.
            const Picture& p = state.picture(slot);
            return std::string(slot == 9 ? "CPC mode 1\n\r" : "MSX mode 7\n\r") +
                   std::to_string(p.width()) + "x" + std::to_string(p.height()) + "\n\r" +
                   (slot == 9 ? "4 colors" : "16 colors");
        }
        default:
            return {};
    }
}

std::optional<std::string> BlankSlotDescription(int slot) {
    switch (slot) {
        case 1:
            return "CPC mode 1\n\r320x200\n\r4 colors";
        case 2:
            return "CPC mode 2\n\r640x200\n\r2 colors";
        case 4:
            return "Overscaned mode 0\n\r184x264\n\r16 colors";
        case 5:
            return "Overscaned mode 1\n\r368x264\n\r4 colors";
        case 6:
            return "Overscaned mode 2\n\r736x264\n\r2 colors";
        case 10:
            return "MSX mode 7\n\r512x212\n\r16 colors";
        default:
            return std::nullopt;  // slot 0 leaves Label3 as it is; 8, 9, 11 make none
    }
}

}  // namespace mozu
