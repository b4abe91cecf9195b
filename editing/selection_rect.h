#pragma once
// The selection rectangle of the editor, in picture pixels. Its content is the columns left to
// right - 1 and the rows top to bottom - 1; a press counts as inside when it lies on the
// rectangle including its right column and bottom row, so that a press on the frame's far edge
// still grabs the selection.

#include <optional>

#include "editing/pixel_point.h"

namespace mozu {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // No content: a selection never has this shape.
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};

// Corners ordered (smaller coordinates first) and every edge kept within 0-width and
// 0-height: a drag may end anywhere outside the picture, on either side.
PixelRect OrderAndClamp(PixelRect r, int width, int height);

// The selection a drag from the pressed pixel to the released one makes, or none when it has no
// content: a press without a drag (or a drag along one row or column) selects nothing, so that
// no command ever works on a 0 x 0 area.
std::optional<PixelRect> SelectionFromDrag(PixelPoint start, PixelPoint end, int width, int height);

// "SelectAll": the whole picture, every column and row included.
PixelRect SelectAll(int width, int height);

// The membership test for presses: left <= x <= right and top <= y <= bottom.
bool InSelectedArea(const PixelRect& selection, int x, int y);

}  // namespace mozu
