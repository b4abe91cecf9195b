#pragma once
// A floating block: a moved, mirrored or turned selection (`Section`), a pasted block
// (`CopiedArea`) or the text box, shown over the picture until it is put down.
//
// The block keeps its place in picture pixels, and the window place is worked out from the view
// each time it is drawn. A block is therefore put down exactly where it was shown at every zoom,
// also below zoom 1 where several picture pixels share a window pixel, and dragging moves it by
// whole picture pixels. Its display scale is the slot's pixel scale, swapped by every quarter
// turn, so that a turned block looks turned where pixels are not square; it is put down 1:1
// (a turn turns the pixel grid). While a block floats the editor locks zoom and scrolling, and
// the block is kept where the user can reach it: at least a grip of it stays inside the view.

#include <optional>

#include "colour/picture.h"
#include "editing/block_paste.h"
#include "editing/selection_rect.h"

namespace mozu {

// How the editor's view shows the picture: picture pixel x starts at window pixel
// trunc(x * scaleX * zoom) - scrollX.
struct ViewMapping {
    double zoom = 1.0;
    int scrollX = 0, scrollY = 0;  // window pixels
    int scaleX = 1, scaleY = 1;    // the slot's pixel scale
    int viewWidth = 640, viewHeight = 400;
};

// A rectangle in window pixels.
struct WindowRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool contains(int x, int y) const {
        return left <= x && x < left + width && top <= y && y < top + height;
    }
    bool operator==(const WindowRect&) const = default;
};

// Window pixels of the view kept inside it on each axis (or the whole block when smaller).
inline constexpr int kFloatingGrip = 16;

class FloatingBlock {
  public:
    FloatingBlock() = default;
    // `pixels` with its top left corner at picture pixel `at`, shown at the display scale.
    FloatingBlock(Picture pixels, PixelPoint at, int displayScaleX, int displayScaleY);

    // The selection's content, copied (the picture keeps it), over the selection: moving,
    // Copy's block and mirroring start here. The display scale is the slot's pixel scale.
    static FloatingBlock OverSelection(const Picture& picture, const PixelRect& selection,
                                       const ViewMapping& view);
    // The selection's content turned a quarter (clockwise or not), centred on the selection's
    // centre, with the slot's pixel scale swapped.
    static FloatingBlock TurnedSelection(const Picture& picture, const PixelRect& selection,
                                         bool clockwise, const ViewMapping& view);

    const Picture& pixels() const { return pixels_; }
    // Where it would be put down: the picture pixel of its top left corner.
    PixelPoint position() const { return at_; }
    // Where it was made (the text box's Escape puts the text there).
    PixelPoint origin() const { return origin_; }
    int displayScaleX() const { return scaleX_; }
    int displayScaleY() const { return scaleY_; }
    Transparency transparency() const { return transparency_; }
    void setTransparency(const Transparency& mode) { transparency_ = mode; }
    // The pixels change in place (typing into the text box); the size must stay.
    Picture& pixelsForDrawing() { return pixels_; }

    // Where it is shown, in window pixels.
    WindowRect shownRect(const ViewMapping& view) const;

    void mirrorLeftRight();
    void mirrorTopBottom();
    // A quarter turn in place: the pixels turn, the display scale swaps, and the shown centre
    // stays where it was (to within a pixel; turns in a row keep the first centre, so four turns
    // give the block back at its place).
    void turn(bool clockwise, const ViewMapping& view);

    // Dragging with the left button: the block follows the mouse's travel since the press,
    // rounded toward zero to whole picture pixels.
    void startDrag(int windowX, int windowY);
    void dragTo(int windowX, int windowY, const ViewMapping& view);
    void endDrag() { dragging_ = false; }
    bool dragging() const { return dragging_; }
    // Moves by whole picture pixels (the arrow keys).
    void nudge(int dx, int dy, const ViewMapping& view);
    // Keeps at least kFloatingGrip window pixels of the block (all of a smaller one) in the
    // view on each axis.
    void keepInView(const ViewMapping& view);

    // Writes the block 1:1 at its position, clipped to the picture, skipping the transparent
    // colour in transparent mode. The caller saves its undo point first.
    void putDown(Picture& picture) const;
    // The same at the place where the block was made.
    void putDownAtOrigin(Picture& picture) const;

  private:
    Picture pixels_;
    PixelPoint at_, origin_;
    int scaleX_ = 1, scaleY_ = 1;
    Transparency transparency_;
    bool dragging_ = false;
    // The centre turns keep, in unzoomed window pixels times two (exact), until the block moves.
    std::optional<PixelPoint> turnCentre_;
    PixelPoint dragPress_, dragStart_;
};

}  // namespace mozu
