#pragma once
// What the mouse does on the picture. The numbers are the editor's tool codes; selection, the
// copied state, moving a block, text and crop belong to the selection and text tools.

#include <cstdint>

namespace mozu {

enum class Tool : std::uint8_t {
    None = 0,  // at the start of an edit
    Line = 1,
    Freehand = 2,
    Rectangle = 3,
    Ellipse = 4,
    Select = 5,    // the selection tool
    Text = 7,      // a text box on a selection
    Fill = 8,      // flood fill with the pen colour
    Copied = 21,   // after a copy: the mouse only manages the selection
    Moving = 56,   // a selection is moved or transformed
    Cropped = 61,  // after a crop: no tool
};

// Lines, freehand strokes and rectangle or ellipse outlines are this wide; the settings persist
// from one edit to the next.
struct DrawingSettings {
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 10;
    int penWidth = 1;
    bool outline = true;  // off: lines draw nothing, shapes only their inside
    bool filled = true;   // off: shapes are hollow and the fill tool pours nothing
};

enum class MouseButton { Left, Right };

}  // namespace mozu
