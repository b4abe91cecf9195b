#pragma once
// The editor's model: one edit of one slot's picture, from opening to closing. It holds the
// working picture (true colour, no index plane) with the slot's geometry, the view (zoom and
// scroll), the palette, the pen and fill colours, the drawing settings and the tool, and drives
// the drawing tools from mouse presses in picture pixels. The undo history is handed in by its
// owner (the document) and lives beyond the model's edits.
//
// The model never beeps: every command that the user can press in vain returns false and the
// window beeps.

#include <optional>
#include <string>

#include "colour/slot.h"
#include "editing/drawing.h"
#include "editing/edit_geometry.h"
#include "editing/edit_palette.h"
#include "editing/edit_view.h"
#include "editing/tool.h"
#include "editing/undo_history.h"

namespace mozu {

// A rectangle of picture pixels chosen with the selection tool.
struct Selection {
    bool active = false;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The colour dialog's live preview: the old colour's pixels shown in the new colour, and the
// swatch that opened the dialog showing it, before anything is changed.
struct ColourPreview {
    int swatch = 0;
    Colour oldColour = 0;
    Colour newColour = 0;
};

class EditorModel {
  public:
    // Starts an edit of `slot` (which must have an EditGeometry) on a copy of `picture`, sized
    // to the slot's working size (the top left part kept, new parts white), with the slot's
    // palette colours. `history` is cleared and gets the opened picture as its first point.
    // The status text reads "XY:" with the window's size.
    void open(Slot slot, const Picture& picture, const EditPalette& palette, UndoHistory& history,
              int windowWidth, int windowHeight);
    bool isOpen() const { return history_ != nullptr; }
    // Ends the edit: the picture and palette to hand back; the history is freed, the view goes
    // back to the origin, the tool to none. Pen width and outline stay for the next edit.
    EditSnapshot close();

    Slot slot() const { return slot_; }
    const EditGeometry& geometry() const { return geometry_; }
    int colourCount() const { return geometry_.colourCount; }
    int maxIndex() const { return geometry_.colourCount - 1; }
    const Picture& picture() const { return picture_; }
    EditView& view() { return view_; }
    const EditView& view() const { return view_; }

    // Palette: swatch i's colour; swatches at or above the colour count are hidden.
    const EditPalette& palette() const { return palette_; }
    // The colour a swatch shows: its own, or the new colour while the colour dialog previews it.
    Colour shownSwatch(int i) const;
    bool swatchVisible(int i) const { return i >= 0 && i < geometry_.colourCount; }
    Colour penColour() const { return pen_; }
    Colour fillColour() const { return fill_; }
    // A press on a visible swatch: left makes it the pen colour, right the fill colour. False
    // for a hidden swatch.
    bool pressSwatch(int i, MouseButton button);

    const DrawingSettings& settings() const { return settings_; }
    bool thinner();  // false at width 1
    bool thicker();  // false at width 10
    void toggleOutline() { settings_.outline = !settings_.outline; }
    void toggleFill() { settings_.filled = !settings_.filled; }

    Tool tool() const { return tool_; }
    void setTool(Tool tool) { tool_ = tool; }
    const Selection& selection() const { return selection_; }

    // A copy of the working picture and palette onto the history, before a change.
    void saveUndoPoint();
    // The last point back (picture, palette and size); false with nothing to undo. The pen and
    // fill colours follow a swatch whose colour the step changes back.
    bool undo();
    // The step the last undo took back, again; false with nothing to redo.
    bool redo();
    int undoCount() const { return history_ ? history_->undoCount() : 0; }
    int redoCount() const { return history_ ? history_->redoCount() : 0; }

    // The mouse on the picture, in picture pixels (EditView::pixelAt).
    void press(PixelPoint p, MouseButton button);
    void move(PixelPoint p);
    void release(PixelPoint p);
    // The mouse over the picture with no button held: the status text names the pixel.
    void hover(PixelPoint p);
    bool buttonHeld() const { return held_; }
    const std::string& statusText() const { return status_; }

    // The colour dialog. Preview shows `newColour` for swatch i's pixels without changing them;
    // Replace recolours swatch i's pixels and the swatch (and the pen and fill colours that had
    // the old colour); Exchange swaps the two colours in the picture and the palette. Both save
    // an undo point first and end the preview; a colour equal to the old one changes nothing.
    void previewColour(int swatch, Colour newColour);
    void endPreview() { preview_.reset(); }
    const std::optional<ColourPreview>& colourPreview() const { return preview_; }
    void replaceColour(int swatch, Colour newColour);
    void exchangeColour(int swatch, Colour newColour);

  private:
    EditSnapshot snapshot() const;
    void restore(EditSnapshot state);
    ShapeStyle shapeStyle() const;
    void drawShape(PixelPoint a, PixelPoint b, DrawMode mode);
    void setDragStatus();

    Slot slot_ = Slot::Source;
    EditGeometry geometry_;
    Picture picture_;
    EditView view_;
    EditPalette palette_{};
    Colour pen_ = 0, fill_ = 0;
    DrawingSettings settings_;
    Tool tool_ = Tool::None;
    Selection selection_;
    UndoHistory* history_ = nullptr;
    std::optional<ColourPreview> preview_;

    bool held_ = false;
    PixelPoint start_, current_, previous_, penPosition_;
    std::string status_;
};

}  // namespace mozu
