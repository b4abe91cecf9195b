#include "editing/font_choice.h"

#include <algorithm>

namespace mozu {
namespace {

Colour PaletteColour(std::span<const Colour> palette, int index, Colour otherwise) {
    if (index < 0 || static_cast<std::size_t>(index) >= palette.size()) return otherwise;
    return palette[static_cast<std::size_t>(index)];
}

}  // namespace

std::vector<int> FontSizes() {
    std::vector<int> sizes;
    for (int size = 0; size <= 48; size += 2) sizes.push_back(size);
    return sizes;
}

int ThumbOffsetForIndex(int index, int entries, int trackLength) {
    if (entries <= 0) return 0;
    return static_cast<int>(static_cast<long long>(index) * trackLength / entries);
}

int IndexForThumbOffset(int offset, int trackLength, int entries) {
    if (entries <= 0 || trackLength <= 0) return 0;
    offset = std::clamp(offset, 0, trackLength);
    // The smallest entry whose thumb place reaches past the offset, less one: the entry whose
    // thumb place is the last one at or above the offset.
    int index = static_cast<int>(static_cast<long long>(offset) * entries / trackLength);
    while (index > 0 && ThumbOffsetForIndex(index, entries, trackLength) > offset) --index;
    while (index + 1 < entries && ThumbOffsetForIndex(index + 1, entries, trackLength) <= offset)
        ++index;
    return std::clamp(index, 0, entries - 1);
}

bool ListNeedsThumb(int entries, int itemHeight, int listHeight) {
    return entries * itemHeight > listHeight;
}

int PaletteIndexOf(Colour colour, std::span<const Colour> palette) {
    const auto it = std::find(palette.begin(), palette.end(), colour);
    return it == palette.end() ? 0 : static_cast<int>(it - palette.begin());
}

void StartFontChoice(FontChoice& choice, std::span<const Colour> palette, Colour pen, Colour fill) {
    choice.textColour = PaletteIndexOf(pen, palette);
    choice.shadowColour = PaletteIndexOf(fill, palette);
}

AcceptedFontColours AcceptFontColours(const FontChoice& choice, std::span<const Colour> palette,
                                      Colour fill) {
    const Colour text = PaletteColour(palette, choice.textColour, fill);
    if (!choice.shadow) return {text, fill};
    return {text, PaletteColour(palette, choice.shadowColour, fill)};
}

}  // namespace mozu
