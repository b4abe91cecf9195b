#include "formats/save_flow.h"

#include "colour/indexed.h"
#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"

namespace mozu {

namespace {

// The palette slot a slot's pens are read with: the level pictures use their overscan slot's.
Slot PaletteOf(Slot slot) {
    if (slot == Slot::Level0) return Slot::Overscan0;
    if (slot == Slot::Level1) return Slot::Overscan1;
    return slot;
}

// Every slot a writer reads: the picture slots 0-11 and the level pictures.
constexpr Slot kIndexedSlots[] = {
    Slot::Mode0,     Slot::Mode1,      Slot::Mode2,   Slot::Unused3, Slot::Overscan0,
    Slot::Overscan1, Slot::Overscan2,  Slot::Unused7, Slot::SgxCpc,  Slot::SgxCpcFree,
    Slot::SgxMsx,    Slot::SgxMsxFree, Slot::Level0,  Slot::Level1};

void ToIndexPictures(ConversionState& state) {
    for (Slot k : kIndexedSlots) {
        Picture& p = state.slots[k];
        BMP2Indexed(state, p, p, PaletteOf(k));
    }
}

void ToColourPictures(ConversionState& state) {
    for (Slot k : kIndexedSlots) {
        Picture& p = state.slots[k];
        Indexed2BMP(state, p, p, PaletteOf(k));
    }
}

// The selection has one character per slot, in slot order.
bool Chosen(const std::string& selection, Slot slot) {
    return SlotIndex(slot) < selection.size() && selection[SlotIndex(slot)] == 'T';
}

void RunWriters(ConversionState& state, Asker& asker, const std::string& base,
                const std::string& selection) {
    if (Chosen(selection, Slot::Mode0)) MakeMode0(state, asker, base);
    if (Chosen(selection, Slot::Mode1)) MakeMode1(state, asker, base);
    if (Chosen(selection, Slot::Mode2)) MakeMode2(state, asker, base);
    if (Chosen(selection, Slot::Overscan0)) MakeOverscanedMode0(state, asker, base);
    if (Chosen(selection, Slot::Overscan1)) MakeOverscanedMode1(state, asker, base);
    // The level files have no option of their own: they go with a converted level picture.
    if (state.converted[Slot::Level0] == 1) MakeLevelMode0(state, asker, base);
    if (state.converted[Slot::Level1] == 1) MakeLevelMode1(state, asker, base);
    if (Chosen(selection, Slot::Overscan2)) MakeOverscanedMode2(state, asker, base);
    if (Chosen(selection, Slot::SgxCpc)) MakeSGXCPC(state, asker, base, Slot::SgxCpc);
    if (Chosen(selection, Slot::SgxCpcFree)) MakeSGXCPC(state, asker, base, Slot::SgxCpcFree);
    if (Chosen(selection, Slot::SgxMsx)) MakeSGXMSX(state, asker, base, Slot::SgxMsx);
    if (Chosen(selection, Slot::SgxMsxFree)) MakeSGXMSX(state, asker, base, Slot::SgxMsxFree);
}

}  // namespace

std::string SaveSelectionFromFlags(const ConversionState& state) {
    std::string selection(kSlotCount, 'F');
    for (std::size_t k = 0; k < state.converted.size(); ++k)
        if (state.converted.at(k) == 1) selection[k] = 'T';
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
