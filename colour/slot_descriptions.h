#pragma once
// What a conversion command made, described for the user (line breaks "\n\r").

#include <optional>
#include <string>

#include "colour/conversion_state.h"

namespace mozu {

// After converting or showing `slot` (sizes of the free-size slots 9 and 11 from their pictures).
// Empty for slots without a conversion command.
std::string SlotDescription(const ConversionState& state, Slot slot);

// After making a blank picture for `slot`; nullopt where the description shown stays as it is (slot
// 0) or where no blank picture is made (8, 9, 11).
std::optional<std::string> BlankSlotDescription(Slot slot);

}  // namespace mozu
