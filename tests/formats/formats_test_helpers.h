#pragma once
// Fixtures of the formats tests: palettes from fixed seeds and a comparison of states. The
// shared support (temporary folder, scripted asker, whole files, index pictures) comes with it.

#include <random>

#include "colour/conversion_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/pictures.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"

namespace mozu::test {

// Positions 0-15 of a palette slot: 16 different colour indexes in random order.
void RandomPalette(std::mt19937& rng, PaletteSlot& palette);

// Everything OpenCPCFile may touch.
bool SameState(const ConversionState& a, const ConversionState& b);

}  // namespace mozu::test
