#pragma once
// The selection, its floating block and the commands on them, as one piece of the editor's
// model: making a selection with the mouse, SelectAll, moving, Copy, Paste, Crop, Delete,
// Transparent, the mirrors and turns, dragging, nudging and putting a block down.
//
// The frame is never drawn into the picture: steadyFrame() and blinkFrame() say where the view
// draws it (InvertFrame on its own copy), so it can reach neither the undo history, nor the
// clipboard, nor a block, a crop or the picture handed back.
//
// One block floats at a time: a moved, mirrored or turned selection, or a pasted block. A press
// on the picture puts a moved or transformed selection down first; a pasted block stays until a
// right press on it. Every put-down saves an undo point first, so one Undo takes exactly that
// action back. While a block floats the editor locks zoom and scrolling (floating()).

#include <optional>
#include <vector>

#include "colour/picture.h"
#include "colour/slot.h"
#include "editing/clipboard.h"
#include "editing/floating_block.h"
#include "editing/selection_rect.h"

namespace mozu {

// What the selection tools need of the editor's model.
class SelectionHost {
  public:
    virtual ~SelectionHost() = default;
    virtual Picture& workingPicture() = 0;
    virtual void saveUndoPoint() = 0;
    virtual ViewMapping view() const = 0;
    virtual Slot slot() const = 0;
    // The slot's palette colours, as many as its colour count.
    virtual std::vector<Colour> paletteColours() const = 0;
    virtual Colour fillColour() const = 0;
    // After a crop: zoom 1 and both scroll offsets 0; in a slot that keeps its size the fill
    // setting goes on.
    virtual void afterCrop(bool keptSize) = 0;
};

// The tool that pressed: the selection tool, the text tool, or any other.
enum class PressTool { Select, Text, Other };

// What a press on the picture led to.
enum class PressOutcome {
    SelectionDrag,  // a new selection is being dragged (select and text tools)
    StartedMoving,  // the selection's content floats and follows the mouse
    OpenTextBox,    // the text tool pressed inside the selection: the editor opens the box on it
    ToolActs,       // any other tool: the selection (if any) is gone and the tool acts
};

class SelectionTools {
  public:
    explicit SelectionTools(SelectionHost& host) : host_(host) {}

    // Mouse on the picture, in picture pixels; the window pixel is the block's drag anchor. The
    // editor asks pressOnBlock first, and lets a drawing tool act (its undo point, its first
    // pixel) only when press() answers ToolActs.
    PressOutcome press(PixelPoint pixel, bool leftButton, PressTool tool, int windowX, int windowY);
    void move(PixelPoint pixel, int windowX, int windowY);
    void release(PixelPoint pixel);

    // Mouse on the floating block, in window pixels: true when the press hit it (a left press
    // starts dragging it, a right press puts it down).
    bool pressOnBlock(int windowX, int windowY, bool leftButton);

    void selectAll();
    // Copy: only while the frame shows. The content goes to the clipboard; the frame goes.
    bool copy(EditorClipboard& clipboard);
    // Paste: a floating block from the clipboard; a block already floating is put down first.
    bool paste(EditorClipboard& clipboard);
    // Paste of an image from the system clipboard.
    bool pasteImage(Picture image);
    bool crop();
    // Delete: the selection (not while a block floats) becomes the fill colour.
    bool deleteSelection();
    void toggleTransparent();
    // Mirrors and turns act on the floating block, else on the selection's content, which then
    // floats; false (nothing happens) with neither.
    bool mirror(bool leftRight);
    bool turn(bool clockwise);
    // Arrow keys: the floating block moves by one picture pixel.
    bool nudge(int dx, int dy);
    // Puts the floating block down (with an undo point first); the selection ends.
    bool putDown();
    // The editor closes: the block is dropped unwritten and the selection ends.
    void cancel();
    // The selection ends (the text box opened on it was put down).
    void clearSelection() { endSelection(); }
    // One tick of the blink timer.
    void blinkTick() { blinkOn_ = !blinkOn_; }

    const std::optional<PixelRect>& selection() const { return selection_; }
    // Where the view draws the steady part of the frame (while a drag goes on, the dragged
    // rectangle) and the blinking part; none while nothing is shown.
    std::optional<PixelRect> steadyFrame() const;
    std::optional<PixelRect> blinkFrame() const;
    bool floating() const { return block_.has_value(); }
    const std::optional<FloatingBlock>& block() const { return block_; }
    Transparency transparency() const { return transparency_; }

  private:
    void endSelection();
    void startFloating(FloatingBlock block, bool pasted);

    SelectionHost& host_;
    std::optional<PixelRect> selection_;
    bool frameShown_ = false;  // the content is not taken: the frame shows and blinks
    bool blinkOn_ = false;
    std::optional<PixelRect> dragRect_;
    PixelPoint dragStart_;
    std::optional<FloatingBlock> block_;
    bool pasted_ = false;
    Transparency transparency_;
};

}  // namespace mozu
