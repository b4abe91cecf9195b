#pragma once
// The picture commands as core operations: converting the source for one slot (exact colours
// or dithering, the level pictures of the overscan slots) and the adjustments. They change only
// the ConversionState and ask through the Asker; showing the result is the caller's business
// (the slot's picture at its shape, the editor for a blank picture, the source again).

#include <optional>
#include <string>

#include "colour/adjustments.h"
#include "colour/conversion_state.h"
#include "colour/reduction_options.h"
#include "platform/asker.h"

namespace mozu {

// The question asked before an exact-colour conversion.
inline constexpr const char* kExactColourQuestion =
    "Source picture in supported color depth. Convert without dithering?";

// What a conversion command did, for the caller to show.
struct ConvertOutcome {
    bool converted = false;  // the slot (and its level slot) holds a new conversion
    bool blank = false;      // no picture was loaded: a blank picture was made; open the editor
    bool shownOnly = false;  // the slot was up to date: show it again, nothing converted
    // The level slot made with this conversion, if any.
    std::optional<Slot> levelSlot;
    // The new description of what was made; nullopt leaves the shown one as it is (the blank
    // mode 0 picture, or a command that did nothing).
    std::optional<std::string> description;

    // Nothing happened (no picture loaded for a slot that makes no blank picture).
    bool nothing() const { return !converted && !blank && !shownOnly; }
};

// The slots a conversion command exists for: 0, 1, 2, 4, 5, 6, 8, 9, 10, 11.
bool IsConversionSlot(Slot slot);

// The conversion command for `slot`. `videoLoaded`: a PC video is loaded, so the colours of the
// working copy are counted anew. Converts only when the slot is not converted or stale;
// otherwise reports shownOnly and sets the current slot. With no picture loaded, slots 0, 1, 2,
// 4, 5, 6 and 10 get a blank white picture and the other slots do nothing. Sets the converted,
// saved and stale flags and the current slot. std::invalid_argument for other slot numbers.
// `options` chooses the reduction method of a dithered conversion (the default: the classic
// ditherers); an exact-colour conversion does not use them.
ConvertOutcome ConvertSlotCommand(ConversionState& state, Asker& asker, Slot slot, bool videoLoaded,
                                  const ReductionOptions& options = {});

// The blank picture alone (slots 0, 1, 2, 4, 5, 6, 10) with its fixed pens: white, except slots
// 1 and 5, whose pens (colour indexes 0-3) have no white: they take pen 0's colour.
void MakeBlankPicture(ConversionState& state, Slot slot);

// A PC picture (BMP or JPEG) becomes the source, as opening it does: current and source slot
// 255, its colours counted, every converted flag cleared, the no-picture flag cleared.
void AdoptPcPicture(ConversionState& state, Picture picture);

// The adjustments of the source picture (autobalance, contrast and brightness by `percent`:
// 105 and 95 from the buttons). Each recounts the source's colours, sets sourceChanged and marks
// every slot stale. They do nothing and return false with no picture loaded. The GUI shows the
// source first and again afterwards.
bool AutobalanceCommand(ConversionState& state);
bool ContrastCommand(ConversionState& state, int percent, ContrastArea area);
bool BrightnessCommand(ConversionState& state, int percent);

}  // namespace mozu
