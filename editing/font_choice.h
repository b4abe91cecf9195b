#pragma once
// What the font dialog chooses for the text box, without its widgets: the sizes offered, the
// scrolling arithmetic of its lists (the lists have no scroll bars of their own; a thumb beside
// each list scrolls and selects), and the colours it starts on and hands back.

#include <span>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu {

// The size list: "0", "2", ... "48"; 0 is the font's own default height.
std::vector<int> FontSizes();

// Where a list's thumb sits, below the top of its track, for the selected entry:
// trunc(index / entries x track length).
int ThumbOffsetForIndex(int index, int entries, int trackLength);
// The entry a thumb dragged to `offset` selects: the inverse of ThumbOffsetForIndex, so that
// the entry a click put the thumb at stays selected when the thumb is merely touched, limited
// to 0 - entries - 1.
int IndexForThumbOffset(int offset, int trackLength, int entries);
// A list shows its thumb and track only when its entries do not fit its height.
bool ListNeedsThumb(int entries, int itemHeight, int listHeight);

struct FontChoice {
    std::string family;  // empty: the editor's first-use font
    int size = 0;
    bool bold = false, italic = false, underline = false;
    bool shadow = false;   // the editor's shadow flag
    int textColour = 0;    // index into the editor palette
    int shadowColour = 0;  // index into the editor palette
};

// The palette entry holding `colour`, the first of equals; 0 when none does.
int PaletteIndexOf(Colour colour, std::span<const Colour> palette);

// On showing: both colour lists start on the editor's colours, the text list on the pen
// colour, the shadow list on the fill colour, so that text is never written in a colour that
// was chosen for another slot's palette. Font, size, style and shadow stay as last chosen.
void StartFontChoice(FontChoice& choice, std::span<const Colour> palette, Colour pen, Colour fill);

// What Accept hands the editor: the text colour, and the fill colour, which becomes the shadow
// colour while the shadow is on (the shadow is drawn in the fill colour) and stays otherwise.
struct AcceptedFontColours {
    Colour text;
    Colour fill;
};
AcceptedFontColours AcceptFontColours(const FontChoice& choice, std::span<const Colour> palette,
                                      Colour fill);

}  // namespace mozu
