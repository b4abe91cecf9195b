#include "formats/save_flow.h"

#include "colour/indexed.h"
#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"

namespace mozu {

namespace {

// The palette slot a slot's pens are read with: the level pictures use their overscan slot's.
int PaletteOf(int slot) {
    if (slot == 20) return 4;
    if (slot == 21) return 5;
    return slot;
}

constexpr int kIndexedSlots[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 20, 21};

void ToIndexPictures(ConversionState& state) {
    for (int k : kIndexedSlots) {
        Picture& p = state.slots[static_cast<std::size_t>(k)];
        BMP2Indexed(state, p, p, PaletteOf(k));
    }
}

void ToColourPictures(ConversionState& state) {
    for (int k : kIndexedSlots) {
        Picture& p = state.slots[static_cast<std::size_t>(k)];
        Indexed2BMP(state, p, p, PaletteOf(k));
    }
}

bool Chosen(const std::string& selection, int slot) {
    return static_cast<std::size_t>(slot) < selection.size() &&
           selection[static_cast<std::size_t>(slot)] == 'T';
}

void RunWriters(ConversionState& state, Asker& asker, const std::string& base,
                const std::string& selection) {
    if (Chosen(selection, 0)) MakeMode0(state, asker, base);
    if (Chosen(selection, 1)) MakeMode1(state, asker, base);
    if (Chosen(selection, 2)) MakeMode2(state, asker, base);
    if (Chosen(selection, 4)) MakeOverscanedMode0(state, asker, base);
    if (Chosen(selection, 5)) MakeOverscanedMode1(state, asker, base);
    // The level files have no option of their own: they go with a converted level picture.
    if (state.converted[20] == 1) MakeLevelMode0(state, asker, base);
    if (state.converted[21] == 1) MakeLevelMode1(state, asker, base);
    if (Chosen(selection, 6)) MakeOverscanedMode2(state, asker, base);
    if (Chosen(selection, 8)) MakeSGXCPC(state, asker, base, 8);
    if (Chosen(selection, 9)) MakeSGXCPC(state, asker, base, 9);
    if (Chosen(selection, 10)) MakeSGXMSX(state, asker, base, 10);
    if (Chosen(selection, 11)) MakeSGXMSX(state, asker, base, 11);
}

}  // namespace

std::string SaveSelectionFromFlags(const ConversionState& state) {
    std::string selection(kSlotCount, 'F');
    for (int k = 0; k < kSlotCount; ++k)
        if (state.converted[static_cast<std::size_t>(k)] == 1)
            selection[static_cast<std::size_t>(k)] = 'T';
    return selection;
}

bool IsCancelledSelection(const std::string& selection) {
    return selection == kCancelledSelection;
}

void SaveSlots(ConversionState& state, Asker& asker, const std::string& baseName,
               const std::string& selection) {
    if (IsCancelledSelection(selection)) return;
    ToIndexPictures(state);
    try {
        RunWriters(state, asker, baseName, selection);
    } catch (...) {
        // A later save (or the display) must not meet index pictures.
        ToColourPictures(state);
        throw;
    }
    ToColourPictures(state);
}

}  // namespace mozu
