#include "colour/level_picture.h"

#include <algorithm>
#include <span>

#include "colour/dithering_fixed_pens.h"
#include "colour/resize.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);

struct LevelLayout {
    Slot levelSlot;
    int srcX, srcW;  // thumbnail area taken: (srcX, 4)-(srcX + srcW, 196)
    int extraW;      // thumbnail drawn at (overscan width, 0), extraW x 96
};

LevelLayout LayoutOf(Slot overscanSlot) {
    if (overscanSlot == Slot::Overscan0) return {Slot::Level0, 32, 96, 48};
    return {Slot::Level1, 64, 192, 96};
}

}  // namespace

std::optional<Slot> LevelSlotOf(Slot overscanSlot) {
    if (overscanSlot == Slot::Overscan0) return Slot::Level0;
    if (overscanSlot == Slot::Overscan1) return Slot::Level1;
    return std::nullopt;
}

void MakeLevelPicture(ConversionState& state, Slot overscanSlot, const Picture& background,
                      bool dithered) {
    if (!LevelSlotOf(overscanSlot)) return;
    const LevelLayout l = LayoutOf(overscanSlot);
    const SlotGeometry g = GetSlotGeometry(overscanSlot);

    // Background at (0, 0), the centre at half size beside it; what neither covers is white.
    // A background smaller than the overscan picture leaves white where it ends, and the
    // thumbnail samples that white rather than reading outside the picture.
    Picture level(g.width + l.extraW, g.height, kWhite);
    level.draw(background, 0, 0);
    Picture base(g.width, g.height, kWhite);
    base.draw(background, 0, 0);
    level.draw(SamplePicture(base, l.srcX, 4, l.srcW, 192, l.extraW, 96), g.width, 0);

    const PaletteSlot overscanPalette = state.palette(overscanSlot);
    if (dithered) {
        // The level file is written with the overscan slot's palette, so its pens are the ones
        // the picture may use.
        const int pens = SlotPens(overscanSlot);
        DitheringFixedPens(
            state, level, l.levelSlot,
            std::span<const std::uint8_t>(overscanPalette.data(), static_cast<std::size_t>(pens)));
    } else {
        state.slots[l.levelSlot] = std::move(level);
    }
    PaletteSlot& levelPalette = state.palette(l.levelSlot);
    std::copy_n(overscanPalette.begin(), 16, levelPalette.begin());
    state.converted[l.levelSlot] = 1;
    state.stale[l.levelSlot] = false;
}

}  // namespace mozu
