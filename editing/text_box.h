#pragma once
// The text box's bitmap: the store's lines drawn on the key colour, which counts as transparent
// when the box is shown and put down. Each line is drawn in the text colour at (0, line top),
// after its shadow, one pixel left and one down, in the shadow colour when the shadow is on.
// The font is the window's (a TextPainter); it must draw without anti-aliasing, so that the
// box holds the text colour, the shadow colour and the key colour only.

#include <string_view>

#include "colour/picture.h"
#include "editing/block_paste.h"
#include "editing/text_store.h"

namespace mozu {

// The transparent background of the editor's overlays; never a CPC colour.
inline constexpr Colour kKeyColour = MakeColour(254, 254, 254);

// A font that draws, for the text box.
class TextPainter : public TextMeasure {
  public:
    // Draws `text` with its top left at (x, y) in `colour`, clipped to `box`, writing no
    // background and no colour but `colour`.
    virtual void drawText(Picture& box, int x, int y, std::string_view text,
                          Colour colour) const = 0;
};

struct TextColours {
    Colour text = 0;
    bool shadow = false;
    Colour shadowColour = 0;  // the fill colour
};

// The box's bitmap at the store's box size.
Picture RenderTextBox(const TextStore& store, const TextPainter& font, const TextColours& colours);

// The text box is put down with the key colour skipped.
inline constexpr Transparency kTextBoxTransparency{true, kKeyColour};

}  // namespace mozu
