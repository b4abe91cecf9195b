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
    int levelSlot;
    int srcX, srcW;  // thumbnail area taken: (srcX, 4)-(srcX + srcW, 196)
    int extraW;      // thumbnail drawn at (overscan width, 0), extraW x 96
};

LevelLayout LayoutOf(int overscanSlot) {
    if (overscanSlot == 4) return {20, 32, 96, 48};
    return {21, 64, 192, 96};
}

}  // namespace

int LevelSlotOf(int overscanSlot) {
    return overscanSlot == 4 ? 20 : overscanSlot == 5 ? 21 : -1;
}

void MakeLevelPicture(ConversionState& state, int overscanSlot, const Picture& background,
                      bool dithered) {
    if (LevelSlotOf(overscanSlot) < 0) return;
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

    const auto levelIndex = static_cast<std::size_t>(l.levelSlot);
    const PaletteSlot overscanPalette = state.palette(overscanSlot);
    if (dithered) {
        // The level file is written with the overscan slot's palette, so its pens are the ones
        // the picture may use.
        const int pens = SlotPens(overscanSlot);
        DitheringFixedPens(
            state, level, l.levelSlot,
            std::span<const std::uint8_t>(overscanPalette.data(), static_cast<std::size_t>(pens)));
    } else {
        state.slots[levelIndex] = std::move(level);
    }
    PaletteSlot& levelPalette = state.palette(l.levelSlot);
    std::copy_n(overscanPalette.begin(), 16, levelPalette.begin());
    state.converted[levelIndex] = 1;
    state.stale[levelIndex] = false;
}

}  // namespace mozu
