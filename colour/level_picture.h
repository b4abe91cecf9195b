#pragma once
// The level pictures: an overscan picture with a half-size thumbnail of its centre beside it,
// slot 4 -> slot 20 (mode 0) and slot 5 -> slot 21 (mode 1).

#include <optional>

#include "colour/conversion_state.h"

namespace mozu {

// Level0 for Overscan0, Level1 for Overscan1, none otherwise.
std::optional<Slot> LevelSlotOf(Slot overscanSlot);

// Makes the level slot of `overscanSlot` (4 or 5) after its conversion. `background` is the
// converted overscan picture after an exact-colour conversion, or the source resized for the slot
// (not centred) after dithering; then the level picture is dithered with the overscan slot's pens.
// Sets the level palette to the overscan palette and the level slot's converted flag.
void MakeLevelPicture(ConversionState& state, Slot overscanSlot, const Picture& background,
                      bool dithered);

}  // namespace mozu
