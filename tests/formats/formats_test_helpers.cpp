#include "formats/formats_test_helpers.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace mozu::test {

void RandomPalette(std::mt19937& rng, PaletteSlot& palette) {
    std::vector<std::uint8_t> indexes(27);
    std::iota(indexes.begin(), indexes.end(), 0);
    std::shuffle(indexes.begin(), indexes.end(), rng);
    std::copy(indexes.begin(), indexes.begin() + 16, palette.begin());
}

bool SameState(const ConversionState& a, const ConversionState& b) {
    return a.source == b.source && a.slots == b.slots && a.palettes == b.palettes &&
           a.converted == b.converted && a.saved == b.saved && a.foundColours == b.foundColours &&
           a.sourceColourCount == b.sourceColourCount && a.currentSlot == b.currentSlot &&
           a.sourceSlot == b.sourceSlot && a.modePalette == b.modePalette;
}

}  // namespace mozu::test
