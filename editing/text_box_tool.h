#pragma once
// The text tool over the selection tools' host: the box opened on a selection (`StartEdit`), the
// keys into its store, dragging it, and putting the text down (`TextEnd`, a right press on the
// box, or Escape, which puts it where the box was opened). The box's pixels are drawn again
// from the store after every change, in the window's font.

#include <optional>

#include "editing/floating_block.h"
#include "editing/selection_tools.h"
#include "editing/text_box.h"
#include "editing/text_store.h"

namespace mozu {

class TextBoxTool {
  public:
    TextBoxTool(SelectionHost& host, const TextPainter& font) : host_(host), font_(&font) {}

    // Opens the box over `selection` (picture pixels, at the selection's size). While it is
    // open, the editor locks zoom and scrolling and routes keys here.
    void open(const PixelRect& selection);
    bool isOpen() const { return box_.has_value(); }

    // The font and colours chosen in the font dialog; the box is drawn again.
    void setFont(const TextPainter& font, const TextColours& colours);

    // A typed character or a key of the key table; Escape puts the text down where the box
    // was opened. Refused means the editor beeps.
    TextKeyResult type(unsigned char c);
    TextKeyResult press(TextKey key);

    // Puts the text down where the box is (with an undo point first) and closes the box.
    void putDown();
    // The editor closes: the text is dropped unwritten.
    void cancel();

    const TextStore& store() const { return store_; }
    const std::optional<FloatingBlock>& box() const { return box_; }
    FloatingBlock* boxForDragging() { return box_ ? &*box_ : nullptr; }

  private:
    void redraw();
    void finish(bool atOrigin);

    SelectionHost& host_;
    const TextPainter* font_;
    TextColours colours_;
    TextStore store_;
    std::optional<FloatingBlock> box_;
};

}  // namespace mozu
