#pragma once
// The save command's core: the slots become index pictures, the writers run in their order for
// the chosen formats, and the slots become colour pictures again, also when a writer fails.

#include <string>

#include "colour/conversion_state.h"
#include "platform/asker.h"

namespace mozu {

// The save dialog's cancel answer: nothing is saved.
inline constexpr const char* kCancelledSelection = "FFFFFFFFFFFFF";

// One character per slot 0-22: 'T' where the slot is converted, else 'F'.
std::string SaveSelectionFromFlags(const ConversionState& state);

// True for the cancel answer (exactly 13 'F').
bool IsCancelledSelection(const std::string& selection);

// Writes the slots whose character of `selection` is 'T' (slots 0, 1, 2, 4, 5, 6, 8, 9, 10, 11;
// a missing character counts as 'F'), and the level files of slots 20 and 21 whenever they are
// converted, under `baseName` (folder plus name, no suffix). Writer order: mode 0, 1, 2,
// overscan 0, 1, level 0, level 1, overscan 2, SGX 8, 9, 10, 11. A writer's IoError ends the
// save there (later writers do not run) and propagates after the slots are colour pictures again.
// Does nothing for the cancel selection.
void SaveSlots(ConversionState& state, Asker& asker, const std::string& baseName,
               const std::string& selection);

}  // namespace mozu
