#include "editing/colour_mapping.h"

#include <algorithm>
#include <unordered_map>

#include "colour/colour_ops.h"

namespace mozu {
namespace {

// Replaces every pixel's colour by map(colour), computing each distinct colour once.
template <typename Map>
void RecolourPixels(Picture& block, Map map) {
    std::unordered_map<Colour, Colour> done;
    for (int y = 0; y < block.height(); ++y) {
        for (int x = 0; x < block.width(); ++x) {
            const Colour c = block.pixel(x, y);
            auto it = done.find(c);
            if (it == done.end()) it = done.emplace(c, map(c)).first;
            if (it->second != c) block.setPixel(x, y, it->second);
        }
    }
}

}  // namespace

void SortColors(std::vector<Colour>& colours) {
    std::stable_sort(colours.begin(), colours.end(),
                     [](Colour a, Colour b) { return Luminance(a) < Luminance(b); });
}

std::vector<Colour> PasteColourTargets(std::span<const Colour> from, std::span<const Colour> to) {
    std::vector<Colour> targets(from.size(), 0);
    if (to.empty()) return std::vector<Colour>(from.begin(), from.end());
    if (to.size() >= from.size()) {
        std::copy_n(to.begin(), from.size(), targets.begin());
        return targets;
    }
    const std::size_t run = from.size() / to.size();
    for (std::size_t k = 0; k < from.size(); ++k) targets[k] = to[std::min(k / run, to.size() - 1)];
    return targets;
}

Colour NearestColour(Colour c, std::span<const Colour> palette) {
    Colour best = c;
    int bestDistance = -1;
    for (Colour p : palette) {
        const int d = ColorDifferent(c, p);
        if (bestDistance < 0 || d < bestDistance) {
            best = p;
            bestDistance = d;
        }
    }
    return best;
}

void MapToNearestColours(Picture& block, std::span<const Colour> palette) {
    if (palette.empty()) return;
    RecolourPixels(block, [&](Colour c) { return NearestColour(c, palette); });
}

void MapPasteColours(Picture& block, Slot fromSlot, std::vector<Colour>& fromPalette, Slot toSlot,
                     std::span<const Colour> toPalette) {
    if (toSlot == Slot::Source || toPalette.empty()) return;
    if (fromSlot == Slot::Source) {
        MapToNearestColours(block, toPalette);
        return;
    }
    SortColors(fromPalette);
    std::vector<Colour> sortedTo(toPalette.begin(), toPalette.end());
    SortColors(sortedTo);
    const std::vector<Colour> targets = PasteColourTargets(fromPalette, sortedTo);
    RecolourPixels(block, [&](Colour c) {
        // The first of equal palette colours decides, as the lowest pen does.
        const auto it = std::find(fromPalette.begin(), fromPalette.end(), c);
        if (it != fromPalette.end())
            return targets[static_cast<std::size_t>(it - fromPalette.begin())];
        return NearestColour(c, toPalette);
    });
}

}  // namespace mozu
