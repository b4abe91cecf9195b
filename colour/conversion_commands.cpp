#include "colour/conversion_commands.h"

#include <utility>

#include <stdexcept>

#include "colour/adjustments.h"
#include "colour/colour_ops.h"
#include "colour/convert_image.h"
#include "colour/count_colors.h"
#include "colour/dithering.h"
#include "colour/indexed.h"
#include "colour/level_picture.h"
#include "colour/resize.h"
#include "colour/slot_descriptions.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);

void SetIdentityPens(ConversionState& state, int slot, int count) {
    PaletteSlot& pal = state.palette(slot);
    for (int i = 0; i < count; ++i) pal[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
}

// A command works on a picture only when one is loaded. A blank picture clears the no-picture
// flag but leaves the source empty, so an empty source counts as no picture as well.
bool HasPicture(const ConversionState& state) {
    return !state.noPicture && !state.source.empty();
}

// Slot 11's exact path may autobalance the working copy; its colours are then counted for this
// conversion only, and the source's count and found colours come back afterwards.
class CountOverride {
  public:
    CountOverride(ConversionState& state, const Picture& picture)
        : state_(state), count_(state.sourceColourCount), found_(state.foundColours) {
        state_.sourceColourCount = CountColors(state_, picture);
    }
    ~CountOverride() {
        state_.sourceColourCount = count_;
        state_.foundColours = found_;
    }
    CountOverride(const CountOverride&) = delete;
    CountOverride& operator=(const CountOverride&) = delete;

  private:
    ConversionState& state_;
    std::int32_t count_;
    std::array<Colour, 16> found_;
};

void ConvertExact(ConversionState& state, Picture& work, int slot) {
    Picture& target = state.slots[static_cast<std::size_t>(slot)];
    const int pens = SlotPens(slot);
    switch (slot) {
        case 9:
            ConvertImage(state, work, target, slot);  // palette only
            BMP2Indexed(state, work, target, kSourceSlot);
            Indexed2BMP(state, target, target, slot);
            SetIdentityPens(state, slot, 4);
            return;
        case 11: {
            if (state.sourceColourCount >= 3 && state.currentSlot == kSourceSlot) {
                Autobalance(work);
                // Key the balanced copy by its own colours, or raw colours would reach the file.
                CountOverride counted(state, work);
                ConvertImage(state, work, target, slot);  // palette only
                BMP2Indexed(state, work, target, kSourceSlot);
            } else {
                ConvertImage(state, work, target, slot);
                BMP2Indexed(state, work, target, kSourceSlot);
            }
            Indexed2BMP(state, target, target, slot);
            // As for slot 10: the pens are the colour indexes, which the MSX file stores.
            SetIdentityPens(state, slot, 16);
            return;
        }
        default:
            ConvertImage(state, work, target, slot);
            BMP2Indexed(state, target, target, kSourceSlot);
            Indexed2BMP(state, target, target, slot);
            if (slot == 8)
                SetIdentityPens(state, slot, 4);
            else if (slot == 10)
                SetIdentityPens(state, slot, 16);
            else
                ColourSequence(state, slot, pens - 1);
            return;
    }
}

void ConvertDithered(ConversionState& state, const Picture& work, int slot) {
    Picture& target = state.slots[static_cast<std::size_t>(slot)];
    PaletteSlot& pal = state.palette(slot);
    switch (slot) {
        case 0:
        case 1:
        case 4:
        case 5:
            DitheringCPCPalette2(state, work, slot);
            ColourSequence(state, slot, SlotPens(slot) - 1);
            return;
        case 10:
        case 11:
            DitheringCPCPalette2(state, work, slot);
            return;
        case 2:
        case 6:
            DitheringCPCPalette(state, work, slot);
            pal[0] = 1;  // black
            pal[1] = 8;  // white
            Indexed2BMP(state, target, target, slot);
            ColourSequence(state, slot, 1);
            return;
        default:  // 8, 9
            DitheringCPCPalette(state, work, slot);
            Indexed2BMP(state, target, target, slot);
            return;
    }
}

void MarkAllStale(ConversionState& state) {
    state.stale.fill(true);
    state.sourceChanged = true;
}

}  // namespace

bool IsConversionSlot(int slot) {
    switch (slot) {
        case 0:
        case 1:
        case 2:
        case 4:
        case 5:
        case 6:
        case 8:
        case 9:
        case 10:
        case 11:
            return true;
        default:
            return false;
    }
}

void MakeBlankPicture(ConversionState& state, int slot) {
    const SlotGeometry g = GetSlotGeometry(slot);
    // White is no pen of the four fixed colours of slots 1 and 5: their blank picture takes pen
    // 0, the lightest of them, so that it can be saved as it is.
    const Colour fill = slot == 1 || slot == 5 ? state.colourTable[0] : kWhite;
    state.slots.at(static_cast<std::size_t>(slot)).reset(g.width, g.height, fill);
    switch (slot) {
        case 0:
        case 1:
        case 4:
        case 10:  // slot 1 uses positions 0-3 of them
            SetIdentityPens(state, slot, 16);
            break;
        case 5:
            SetIdentityPens(state, slot, 4);
            break;
        case 2:
        case 6:
            state.palette(slot)[0] = 1;
            state.palette(slot)[1] = 8;
            break;
        default:
            throw std::invalid_argument("no blank picture for slot " + std::to_string(slot));
    }
    state.noPicture = false;
    state.converted[static_cast<std::size_t>(slot)] = 1;
    state.stale[static_cast<std::size_t>(slot)] = false;
    state.currentSlot = static_cast<std::uint8_t>(slot);
}

ConvertOutcome ConvertSlotCommand(ConversionState& state, Asker& asker, int slot,
                                  bool videoLoaded) {
    if (!IsConversionSlot(slot))
        throw std::invalid_argument("no conversion command for slot " + std::to_string(slot));
    const auto s = static_cast<std::size_t>(slot);
    ConvertOutcome outcome;

    const bool makesBlank = slot != 8 && slot != 9 && slot != 11;
    auto Blank = [&] {
        MakeBlankPicture(state, slot);
        outcome.blank = true;
        outcome.label3 = BlankSlotDescription(slot);
        return outcome;
    };
    if (state.noPicture) {
        return makesBlank ? Blank() : outcome;  // else nothing to work on
    }

    // Converted since the last adjustment: only show it again. (A slot converted after an
    // adjustment is not converted, and so not lost, a second time.)
    if (state.converted[s] == 1 && !state.stale[s]) {
        state.currentSlot = static_cast<std::uint8_t>(slot);
        outcome.shownOnly = true;
        outcome.label3 = SlotDescription(state, slot);
        return outcome;
    }

    // A blank picture cleared the no-picture flag but left no source: the other slots get a
    // blank picture too (or nothing) rather than a conversion of an empty picture.
    if (state.source.empty()) {
        return makesBlank ? Blank() : outcome;
    }

    state.saved[s] = 0;
    Picture work = ResizeBitmap(state, std::as_const(state.source), slot);
    if (videoLoaded) state.sourceColourCount = CountColors(state, work);

    const bool exact =
        state.sourceColourCount <= SlotPens(slot) && asker.askYesNo(kExactColourQuestion);
    if (exact)
        ConvertExact(state, work, slot);
    else
        ConvertDithered(state, work, slot);
    state.converted[s] = 1;
    state.stale[s] = false;
    outcome.converted = true;

    if (const int level = LevelSlotOf(slot); level >= 0) {
        if (exact) {
            MakeLevelPicture(state, slot, state.slots[s], false);
        } else {
            const Picture background = ResizeBitmap(state, std::as_const(state.source), slot);
            MakeLevelPicture(state, slot, background, true);
        }
        outcome.levelSlot = level;
    }

    state.currentSlot = static_cast<std::uint8_t>(slot);
    outcome.label3 = SlotDescription(state, slot);
    return outcome;
}

void AdoptPcPicture(ConversionState& state, Picture picture) {
    state.source = std::move(picture);
    state.currentSlot = state.sourceSlot = kSourceSlot;
    state.sourceColourCount = CountColors(state, state.source);
    state.converted.fill(0);
    state.noPicture = false;
}

bool AutobalanceCommand(ConversionState& state) {
    if (!HasPicture(state)) return false;
    Autobalance(state.source);
    state.sourceColourCount = CountColors(state, state.source);
    MarkAllStale(state);
    return true;
}

bool ContrastCommand(ConversionState& state, int percent) {
    if (!HasPicture(state)) return false;
    Contrast(state, state.source, percent);
    // Recounted as autobalance does: an exact conversion keys the picture by these colours.
    state.sourceColourCount = CountColors(state, state.source);
    MarkAllStale(state);
    return true;
}

bool BrightnessCommand(ConversionState& state, int percent) {
    if (!HasPicture(state)) return false;
    Brightness(state.source, percent);
    state.sourceColourCount = CountColors(state, state.source);
    MarkAllStale(state);
    return true;
}

}  // namespace mozu
