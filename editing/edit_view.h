#pragma once
// The editor's view arithmetic: the picture is shown enlarged by the slot's pixel scale and a
// zoom factor (0.125 to 8, by halves and doubles) inside a 640 x 400 view that scrolls. Mouse
// positions on the enlarged picture become picture pixels here.

#include <cstdint>

#include "editing/pixel_point.h"

namespace mozu {

inline constexpr int kEditViewWidth = 640;
inline constexpr int kEditViewHeight = 400;
inline constexpr double kMinZoom = 0.125;
inline constexpr double kMaxZoom = 8.0;

class EditView {
  public:
    // A new picture of w x h at the given scale: zoom 1, offsets 0, zoom and scroll allowed.
    void reset(int width, int height, int xScale, int yScale);
    // The picture changed size (an undo of a crop): the shown size follows, the zoom stays.
    void setPictureSize(int width, int height);

    double zoom() const { return zoom_; }
    int xScale() const { return xScale_; }
    int yScale() const { return yScale_; }
    // width x x scale x zoom by height x y scale x zoom, truncated: computed from the picture's
    // size every time, so halving and doubling never lose pixels of the shown size.
    int shownWidth() const;
    int shownHeight() const;

    // Doubles the zoom; false (the caller beeps) at 8 or while zooming is blocked. The
    // offsets stay, kept inside the new scroll range.
    bool zoomIn();
    // Halves the zoom and scrolls back to the origin; false at 0.125 or while blocked.
    bool zoomOut();

    int scrollX() const { return scrollX_; }
    int scrollY() const { return scrollY_; }
    // Whether a scroll bar works: scrolling allowed and the shown picture larger than the view.
    bool canScrollX() const;
    bool canScrollY() const;
    // The thumb at `percent` (0-100) of its track: offset = (shown - view) x percent / 100.
    // False (the caller beeps) when that bar cannot scroll.
    bool scrollToPercentX(int percent);
    bool scrollToPercentY(int percent);
    // Back to the origin (closing, zoom out).
    void scrollHome();

    // Blocked while a moved selection, a pasted block or a text box floats.
    bool zoomAllowed() const { return zoomAllowed_; }
    bool scrollAllowed() const { return scrollAllowed_; }
    void setZoomAllowed(bool allowed) { zoomAllowed_ = allowed; }
    void setScrollAllowed(bool allowed) { scrollAllowed_ = allowed; }

    // The picture pixel under a point of the enlarged picture (window pixels measured from
    // the picture's top left corner, scroll offsets already added): trunc(X / zoom) divided by
    // the x scale, both truncating toward zero.
    PixelPoint pixelAt(int x, int y) const;

  private:
    void clampScroll();

    int width_ = 0, height_ = 0;
    int xScale_ = 1, yScale_ = 1;
    double zoom_ = 1.0;
    int scrollX_ = 0, scrollY_ = 0;
    bool zoomAllowed_ = true;
    bool scrollAllowed_ = true;
};

}  // namespace mozu
