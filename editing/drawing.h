#pragma once
// The drawing tools' pixel rules on a picture, in picture pixels. Shapes may reach outside the
// picture (a drag that leaves it); what falls outside is dropped.
//
// Each shape is drawn in one of two ways: replacing pixels, or inverting them (a pixel becomes
// NOT (pixel XOR colour)), which the tools use for the previews while the mouse drags: every
// pixel of a shape is touched exactly once, so drawing the same preview twice gives back the
// picture bit for bit.

#include "colour/picture.h"
#include "editing/edit_view.h"

namespace mozu {

enum class DrawMode { Replace, Invert };

// The outline and inside of a rectangle or an ellipse.
struct ShapeStyle {
    Colour pen = 0;       // the outline
    Colour fill = 0;      // the inside
    int width = 1;        // of the outline, 1-10 picture pixels, inside the shape
    bool outline = true;  // off: the inside reaches the edge
    bool filled = true;   // off: the shape is hollow
};

// The digital line from a to b, b itself not set (so that strokes joined end to start set each
// joint once). Wider pens stamp a round spot of that diameter on every point from a to b, b
// included, which gives the stroke round ends.
void DrawLine(Picture& picture, PixelPoint a, PixelPoint b, Colour colour, int width,
              DrawMode mode);

// The rectangle over columns min(a.x, b.x) up to but not including max(a.x, b.x), rows likewise:
// an outline band `width` pixels wide along its inner edge and the inside within it.
void DrawRectangle(Picture& picture, PixelPoint a, PixelPoint b, const ShapeStyle& style,
                   DrawMode mode);

// The ellipse inscribed in the same rectangle: a pixel belongs to it when its centre lies
// inside; the outline is what lies outside the ellipse shrunk by `width` on each radius. It is
// symmetric left-right and top-bottom about the rectangle's centre.
void DrawEllipse(Picture& picture, PixelPoint a, PixelPoint b, const ShapeStyle& style,
                 DrawMode mode);

// Every pixel of the start pixel's colour connected to it through horizontal and vertical
// neighbours becomes `colour`. Returns the number of pixels changed (0 when the start pixel
// lies outside or already has the colour).
long FloodFill(Picture& picture, PixelPoint start, Colour colour);

// Every pixel of colour `from` becomes `to`.
void ReplaceColour(Picture& picture, Colour from, Colour to);
// The pixels of colours a and b change places, in one pass (no spare colour that a true-colour
// picture might hold).
void ExchangeColours(Picture& picture, Colour a, Colour b);

}  // namespace mozu
