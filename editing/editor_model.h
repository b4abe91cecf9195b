#pragma once
// The editor's model: one edit of one slot's picture, from opening to closing. It holds the
// working picture (true colour, no index plane) with the slot's geometry, the view (zoom and
// scroll), the palette, the pen and fill colours, the drawing settings and the tool, and drives
// the drawing tools from mouse presses in picture pixels. The undo history is handed in by its
// owner (the document) and lives beyond the model's edits.
//
// The model never beeps: every command that the user can press in vain returns false and the
// window beeps.
//
// The selection, its floating block and the clipboard commands are a SelectionTools that the
// model owns; the model is its host. Every press goes to the floating block first, then to the
// selection, and a drawing tool acts only when the selection lets it (a press inside a selection
// belongs to the selection and text tools alone; any other tool's press ends the selection and
// then draws). While a block floats, zoom and scrolling are locked.

#include <memory>
#include <optional>
#include <string>

#include "colour/slot.h"
#include "editing/drawing.h"
#include "editing/edit_geometry.h"
#include "editing/edit_palette.h"
#include "editing/edit_view.h"
#include "editing/selection_tools.h"
#include "editing/text_box_tool.h"
#include "editing/tool.h"
#include "editing/undo_history.h"

namespace mozu {

// The colour dialog's live preview: the old colour's pixels shown in the new colour, and the
// swatch that opened the dialog showing it, before anything is changed.
struct ColourPreview {
    int swatch = 0;
    Colour oldColour = 0;
    Colour newColour = 0;
};

class EditorModel {
  public:
    EditorModel();
    ~EditorModel();
    // The selection tools hold a reference to the model: it is neither copied nor moved.
    EditorModel(const EditorModel&) = delete;
    EditorModel& operator=(const EditorModel&) = delete;

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

    // The selection: a rectangle of picture pixels, none without one.
    const std::optional<PixelRect>& selection() const { return tools_->selection(); }
    // Ends the selection (its frame goes); a floating block stays.
    void clearSelection();
    // Where the view draws the selection's frame (steady and blinking parts), and the floating
    // block; the frame is never drawn into the picture.
    std::optional<PixelRect> steadyFrame() const { return tools_->steadyFrame(); }
    std::optional<PixelRect> blinkFrame() const { return tools_->blinkFrame(); }
    const std::optional<FloatingBlock>& floatingBlock() const { return tools_->block(); }
    bool blockFloats() const { return tools_->floating(); }
    Transparency transparency() const { return tools_->transparency(); }
    // How the view maps picture pixels to window pixels now.
    ViewMapping viewMapping() const;
    // The model as the selection and text tools see it.
    SelectionHost& selectionHost();
    SelectionTools& selectionTools() { return *tools_; }

    // The selection's commands. Each returns false when it had nothing to act on (the window
    // beeps). Copy sets tool 21, the mirrors and turns 56, Crop 61 (whether it acted or not).
    void selectAll();
    bool copy(EditorClipboard& clipboard);
    bool paste(EditorClipboard& clipboard);
    // An image from the system clipboard, each colour mapped to the nearest of the palette.
    bool pasteImage(Picture image);
    bool crop();
    bool deleteSelection();
    void toggleTransparent();
    bool mirror(bool leftRight);
    bool turn(bool clockwise);
    bool nudge(int dx, int dy);
    // Puts the floating block down where it is shown (one undo point first).
    bool putDownBlock();
    // One tick of the frame's blink timer.
    void blinkTick() { tools_->blinkTick(); }

    // The text tool. The window hands in the box's font (and again after the font dialog) with
    // the text and shadow colours; until it does, the text tool opens no box. A left press of
    // the text tool inside the selection opens the box over it; while it is open zoom and
    // scrolling are locked, a left press on the box drags it, a right press on it or a press
    // anywhere else on the picture puts the text down first.
    void setTextFont(const TextPainter& font, const TextColours& colours);
    bool textBoxOpen() const { return text_ && text_->isOpen(); }
    // The box (its store and floating pixels); none before a font was handed in.
    const TextBoxTool* textBox() const { return text_.get(); }
    // A typed character and the keys of the key table while the box is open; Escape puts the
    // text down where the box was opened and leaves the selection. Refused: the window beeps.
    TextKeyResult typeText(unsigned char c);
    TextKeyResult pressTextKey(TextKey key);
    // Puts the text down where the box is shown (one undo point first); the selection ends.
    // False when no box is open.
    bool putDownText();

    // A copy of the working picture and palette onto the history, before a change.
    void saveUndoPoint();
    // The last point back (picture, palette and size); false with nothing to undo. The pen and
    // fill colours follow a swatch whose colour the step changes back.
    bool undo();
    // The step the last undo took back, again; false with nothing to redo.
    bool redo();
    int undoCount() const { return history_ ? history_->undoCount() : 0; }
    int redoCount() const { return history_ ? history_->redoCount() : 0; }

    // The mouse on the view, in window pixels of the 640 x 400 view (scroll offsets not yet
    // added): a floating block under the mouse takes the press (left drags it, right puts it
    // down), else the pixel under it goes to the selection and the tools.
    void pressAt(int windowX, int windowY, MouseButton button);
    void moveAt(int windowX, int windowY);
    void releaseAt(int windowX, int windowY);
    // The same in picture pixels (the window pixel is that pixel's top left corner).
    void press(PixelPoint p, MouseButton button);
    void move(PixelPoint p);
    void release(PixelPoint p);
    // The mouse over the picture with no button held: the status text names the pixel.
    void hover(PixelPoint p);
    // A press is being dragged: a drawing, a selection or a floating block.
    bool buttonHeld() const { return held_ || draggingBlock(); }
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
    class Host;
    void pressPixel(PixelPoint p, MouseButton button, int windowX, int windowY);
    void movePixel(PixelPoint p, int windowX, int windowY);
    void releasePixel(PixelPoint p);
    bool draggingBlock() const;
    PixelPoint windowOf(PixelPoint p) const;
    // Zoom and scrolling are locked exactly while a block floats.
    void syncLocks();
    void openTextBox();
    void afterCrop(bool keptSize);
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
    UndoHistory* history_ = nullptr;
    std::unique_ptr<Host> host_;
    std::unique_ptr<SelectionTools> tools_;
    std::unique_ptr<TextBoxTool> text_;
    bool selecting_ = false;  // the held press drags a new selection
    std::optional<ColourPreview> preview_;

    bool held_ = false;
    PixelPoint start_, current_, previous_, penPosition_;
    std::string status_;
};

}  // namespace mozu
