#include "colour/conversion_commands.h"

#include <utility>

#include <stdexcept>

#include "colour/adjustments.h"
#include "colour/colour_ops.h"
#include "colour/convert_image.h"
#include "colour/count_colors.h"
#include "colour/dithering.h"
#include "colour/dithering_methods.h"
#include "colour/indexed.h"
#include "colour/level_picture.h"
#include "colour/resize.h"
#include "colour/slot_descriptions.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);

void SetIdentityPens(ConversionState& state, Slot slot, int count) {
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

void ConvertExact(ConversionState& state, Picture& work, Slot slot) {
    Picture& target = state.slots[slot];
    const int pens = SlotPens(slot);
    switch (slot) {
        case Slot::SgxCpcFree:
            ConvertImage(state, work, target, slot);  // palette only
            BMP2Indexed(state, work, target, Slot::Source);
            Indexed2BMP(state, target, target, slot);
            SetIdentityPens(state, slot, 4);
            return;
        case Slot::SgxMsxFree: {
            if (state.sourceColourCount >= 3 && state.currentSlot == Slot::Source) {
                Autobalance(work);
                // Key the balanced copy by its own colours, or raw colours would reach the file.
                CountOverride counted(state, work);
                ConvertImage(state, work, target, slot);  // palette only
                BMP2Indexed(state, work, target, Slot::Source);
            } else {
                ConvertImage(state, work, target, slot);
                BMP2Indexed(state, work, target, Slot::Source);
            }
            Indexed2BMP(state, target, target, slot);
            // As for slot 10: the pens are the colour indexes, which the MSX file stores.
            SetIdentityPens(state, slot, 16);
            return;
        }
        default:
            ConvertImage(state, work, target, slot);
            BMP2Indexed(state, target, target, Slot::Source);
            Indexed2BMP(state, target, target, slot);
            if (slot == Slot::SgxCpc)
                SetIdentityPens(state, slot, 4);
            else if (slot == Slot::SgxMsx)
                SetIdentityPens(state, slot, 16);
            else
                ColourSequence(state, slot, pens - 1);
            return;
    }
}

// Another reduction method than the classic one: the same steps around it, with the pens it
// chose (a two-pen slot's pens need not be black and white).
void ConvertDitheredWith(ConversionState& state, const Picture& work, Slot slot,
                         const ReductionOptions& options) {
    Picture& target = state.slots[slot];
    DitherWithOptions(state, work, slot, options);
    switch (slot) {
        case Slot::SgxMsx:
        case Slot::SgxMsxFree:
            return;
        case Slot::Mode2:
        case Slot::Overscan2:
        case Slot::SgxCpc:
        case Slot::SgxCpcFree:
            Indexed2BMP(state, target, target, slot);
            if (slot == Slot::Mode2 || slot == Slot::Overscan2) ColourSequence(state, slot, 1);
            return;
        default:  // 0, 1, 4, 5
            ColourSequence(state, slot, SlotPens(slot) - 1);
            return;
    }
}

void ConvertDithered(ConversionState& state, const Picture& work, Slot slot,
                     const ReductionOptions& options) {
    if (!options.isDefault()) return ConvertDitheredWith(state, work, slot, options);
    Picture& target = state.slots[slot];
    PaletteSlot& pal = state.palette(slot);
    switch (slot) {
        case Slot::Mode0:
        case Slot::Mode1:
        case Slot::Overscan0:
        case Slot::Overscan1:
            DitheringCPCPalette2(state, work, slot);
            ColourSequence(state, slot, SlotPens(slot) - 1);
            return;
        case Slot::SgxMsx:
        case Slot::SgxMsxFree:
            DitheringCPCPalette2(state, work, slot);
            return;
        case Slot::Mode2:
        case Slot::Overscan2:
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

bool IsConversionSlot(Slot slot) {
    switch (slot) {
        case Slot::Mode0:
        case Slot::Mode1:
        case Slot::Mode2:
        case Slot::Overscan0:
        case Slot::Overscan1:
        case Slot::Overscan2:
        case Slot::SgxCpc:
        case Slot::SgxCpcFree:
        case Slot::SgxMsx:
        case Slot::SgxMsxFree:
            return true;
        default:
            return false;
    }
}

void MakeBlankPicture(ConversionState& state, Slot slot) {
    const SlotGeometry g = GetSlotGeometry(slot);
    // White is no pen of the four fixed colours of slots 1 and 5: their blank picture takes pen
    // 0, the lightest of them, so that it can be saved as it is.
    const Colour fill =
        slot == Slot::Mode1 || slot == Slot::Overscan1 ? state.colourTable[0] : kWhite;
    state.slots[slot].reset(g.width, g.height, fill);
    switch (slot) {
        case Slot::Mode0:
        case Slot::Mode1:
        case Slot::Overscan0:
        case Slot::SgxMsx:  // slot 1 uses positions 0-3 of them
            SetIdentityPens(state, slot, 16);
            break;
        case Slot::Overscan1:
            SetIdentityPens(state, slot, 4);
            break;
        case Slot::Mode2:
        case Slot::Overscan2:
            state.palette(slot)[0] = 1;
            state.palette(slot)[1] = 8;
            break;
        default:
            throw std::invalid_argument("no blank picture for slot " +
                                        std::to_string(SlotNumber(slot)));
    }
    state.noPicture = false;
    state.converted[slot] = 1;
    state.stale[slot] = false;
    state.currentSlot = slot;
}

ConvertOutcome ConvertSlotCommand(ConversionState& state, Asker& asker, Slot slot, bool videoLoaded,
                                  const ReductionOptions& options) {
    if (!IsConversionSlot(slot))
        throw std::invalid_argument("no conversion command for slot " +
                                    std::to_string(SlotNumber(slot)));
    ConvertOutcome outcome;

    const bool makesBlank =
        slot != Slot::SgxCpc && slot != Slot::SgxCpcFree && slot != Slot::SgxMsxFree;
    auto Blank = [&] {
        MakeBlankPicture(state, slot);
        outcome.blank = true;
        outcome.description = BlankSlotDescription(slot);
        return outcome;
    };
    if (state.noPicture) {
        return makesBlank ? Blank() : outcome;  // else nothing to work on
    }

    // Converted since the last adjustment: only show it again. (A slot converted after an
    // adjustment is not converted, and so not lost, a second time.)
    if (state.converted[slot] == 1 && !state.stale[slot]) {
        state.currentSlot = slot;
        outcome.shownOnly = true;
        outcome.description = SlotDescription(state, slot);
        return outcome;
    }

    // A blank picture cleared the no-picture flag but left no source: the other slots get a
    // blank picture too (or nothing) rather than a conversion of an empty picture.
    if (state.source.empty()) {
        return makesBlank ? Blank() : outcome;
    }

    state.saved[slot] = 0;
    Picture work = ResizeBitmap(state, std::as_const(state.source), slot);
    if (videoLoaded) state.sourceColourCount = CountColors(state, work);

    const bool exact =
        state.sourceColourCount <= SlotPens(slot) && asker.askYesNo(kExactColourQuestion);
    if (exact)
        ConvertExact(state, work, slot);
    else
        ConvertDithered(state, work, slot, options);
    state.converted[slot] = 1;
    state.stale[slot] = false;
    outcome.converted = true;

    if (const std::optional<Slot> level = LevelSlotOf(slot)) {
        if (exact) {
            MakeLevelPicture(state, slot, state.slots[slot], false);
        } else {
            const Picture background = ResizeBitmap(state, std::as_const(state.source), slot);
            MakeLevelPicture(state, slot, background, true);
        }
        outcome.levelSlot = level;
    }

    state.currentSlot = slot;
    outcome.description = SlotDescription(state, slot);
    return outcome;
}

void AdoptPcPicture(ConversionState& state, Picture picture) {
    state.source = std::move(picture);
    state.currentSlot = state.sourceSlot = Slot::Source;
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

bool ContrastCommand(ConversionState& state, int percent, ContrastArea area) {
    if (!HasPicture(state)) return false;
    Contrast(state.source, percent, area);
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
