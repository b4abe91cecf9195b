#include "editing/slot_colours.h"

#include "colour/colour_ops.h"

namespace mozu {

EditPalette SlotEditPalette(const ConversionState& state, Slot slot) {
    EditPalette palette{};
    for (int i = 0; i < kEditorSwatches; ++i)
        palette[static_cast<std::size_t>(i)] = GetColor(state, i, slot);
    return palette;
}

bool SlotKeepsPens(Slot slot) {
    return slot == Slot::SgxCpc || slot == Slot::SgxCpcFree || slot == Slot::SgxMsx ||
           slot == Slot::SgxMsxFree;
}

std::vector<Colour> OfferedColours(const ConversionState& state, Slot slot) {
    std::vector<Colour> colours;
    if (SlotKeepsPens(slot)) {
        const int pens = slot == Slot::SgxCpc || slot == Slot::SgxCpcFree ? 4 : 16;
        for (int i = 0; i < pens; ++i) colours.push_back(GetColor(state, i, slot));
        return colours;
    }
    colours.assign(state.colourTable.begin(), state.colourTable.end());
    return colours;
}

void StoreEditPalette(ConversionState& state, Slot slot, const EditPalette& palette) {
    if (slot == Slot::Source || SlotKeepsPens(slot)) return;
    for (int i = 0; i < kEditorSwatches; ++i)
        SetColor(state, palette[static_cast<std::size_t>(i)], i, slot);
}

}  // namespace mozu
