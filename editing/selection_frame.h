#pragma once
// The selection's frame: mid grey drawn in inverting mode (each byte becomes NOT(byte XOR grey)),
// so drawing the same frame a second time restores every pixel. Two parts: a steady ring 2
// pixels wide, and a blinking ring max(1, trunc(1 / zoom)) pixels wide shown and removed every
// 500 ms. Both lie along the inside of the selection's content, so a selection of the whole
// picture still shows its frame.
//
// The frame belongs on the view, never in the picture's content. Where it is drawn into a
// picture, SelectionFrame remembers where each part went and removes it from exactly there, so
// that a frame moved while the mouse drags, or hidden by a command, leaves no pixel behind.
// Hide it before anything changes the picture's pixels or size.

#include <optional>

#include "colour/picture.h"
#include "editing/selection_rect.h"

namespace mozu {

inline constexpr Colour kFrameGrey = MakeColour(128, 128, 128);
inline constexpr int kSteadyFrameWidth = 2;

// The blinking part's width at a zoom factor: thicker when zoomed out, so it stays visible.
int BlinkFrameWidth(double zoom);

// Inverts the ring `thickness` pixels wide along the inside of `rect` (corners in either
// order), clipped to the picture. Each pixel of the ring is inverted once, also where the ring's
// sides meet or overlap in a narrow rectangle.
void InvertFrame(Picture& picture, const PixelRect& rect, int thickness);

class SelectionFrame {
  public:
    // Shows the steady part at `rect`, first removing it from where it was (the frame following
    // a drag; `ClearArea`).
    void showSteady(Picture& picture, const PixelRect& rect);
    // One tick of the blink timer: shows the blinking part at `rect` if it is hidden, removes it
    // (from where it was shown) if it is shown.
    void blink(Picture& picture, const PixelRect& rect, double zoom);
    // Removes the steady part only; the blinking part goes on (a paste over a selection).
    void hideSteady(Picture& picture);
    // Removes both parts.
    void hide(Picture& picture);
    bool visible() const { return steady_.has_value() || blink_.has_value(); }

  private:
    std::optional<PixelRect> steady_;
    std::optional<PixelRect> blink_;
    int blinkWidth_ = 1;
};

}  // namespace mozu
