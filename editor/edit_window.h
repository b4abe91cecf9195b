#pragma once
// EditWindow: the picture editor, a view over EditorModel. Created once at start-up and hidden;
// an edit lasts from fullScreen() to the Close key (or the window manager's close, which does
// the same), after which `closed` hands the picture and palette back.
//
// Controls (object names): Image1 the picture, Vertical/VScrollButton and
// Horizontal/HScrollButton the scroll bars, Label1 the status text, Color0-Color15 the palette
// swatches, pencolor and brushcolor the pen and fill indicators, the tool keys Image5 (Point),
// Image6 (Line), Image7 (Square), Image8 (Circle), FillKey (Fill), Image14 (Select), Image19
// (Text), Image16 (Crop), the settings Image12 (Thin), Image13 (Thick), Image9 (Contour),
// Image67 (Opaque), the selection's keys Image46 (SelectAll), Image18 (Copy), Image21 (Paste),
// Image10 (Transparent), Image42 (HorizontalFlip), Image43 (VerticalFlip), Image44
// (RotateLeft), Image45 (RotateRight), and ZoomInKey, ZoomOutKey, UndoKey, RedoKey, PreviewKey,
// CloseKey.
//
// Keys: Ctrl+C, Ctrl+V and Ctrl+A copy, paste and select all; Delete fills the selection with
// the fill colour; the arrow keys move a floating block by one picture pixel.

#include <array>
#include <functional>

#include "colour/slot.h"
#include "editing/clipboard.h"
#include "editing/editor_model.h"
#include "editor/text_box_controller.h"
#include "skin/skinned_window.h"

class QTimer;

namespace mozu {

class DesktopClipboard;
class EditCanvas;
class PictureKey;
class EditScrollBar;
class SkinLabel;
class Swatch;

class EditWindow : public SkinnedWindow {
    Q_OBJECT
  public:
    explicit EditWindow(QWidget* parent = nullptr);
    ~EditWindow() override;

    // Starts an edit of `slot` on `start` (picture and palette) with the history that lives in
    // the document, and shows the window.
    void fullScreen(Slot slot, const EditSnapshot& start, UndoHistory& history);
    bool editing() const { return model_.isOpen(); }
    EditorModel& model() { return model_; }
    const EditorModel& model() const { return model_; }

    // The colour dialog for swatch i; it returns when the dialog is closed. The window is
    // disabled meanwhile. Without one, a double click on a swatch only picks its colour.
    void setColourChooser(std::function<void(int swatch)> chooser) {
        colourChooser_ = std::move(chooser);
    }
    // The font dialog, shown each time a text box opens; it returns when the dialog is closed.
    // The window is disabled meanwhile. Without one, the box writes in its last font.
    void setFontChooser(TextBoxController::FontChooser chooser);
    // The text box's side in the window (its font, caret and keys).
    const TextBoxController& textBox() const { return *text_; }
    // The full preview of the working picture; the Preview key stays disabled without one.
    void setPreviewer(std::function<void(const Picture&, Slot)> previewer);
    // The editor's clipboard, which lives for the whole run (one for the program, so a block
    // copied in one edit can be pasted into the next). Without one, the window keeps its own.
    void setClipboard(EditorClipboard& clipboard) { clipboard_ = &clipboard; }
    const EditorClipboard& clipboard() const { return *clipboard_; }

    // Shows the model as it is now (after the colour dialog changed it).
    void refresh();
    // The Close key: ends the edit and hides the window.
    void closeEdit();

  Q_SIGNALS:
    // The edit ended: the picture and palette to take back into `slot`.
    void closed(Slot slot, const EditSnapshot& result);

  protected:
    void closeEvent(QCloseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    void createControls();
    void connectKeys();
    void createShortcuts();
    void chooseTool(Tool tool);
    void zoom(int direction);
    void undo();
    void redo();
    void swatchPressed(int i, Qt::MouseButton button);
    void swatchDoubleClicked(int i, Qt::MouseButton button);
    void refreshControls();
    // The selection's commands; a command with nothing to act on beeps.
    void selectionCommand(bool done);
    void copy();
    void paste();
    void crop();

    EditorModel model_;
    EditCanvas* canvas_ = nullptr;
    EditScrollBar* vertical_ = nullptr;
    EditScrollBar* horizontal_ = nullptr;
    SkinLabel* status_ = nullptr;
    std::array<Swatch*, kEditorSwatches> swatches_{};
    Swatch* penIndicator_ = nullptr;
    Swatch* fillIndicator_ = nullptr;
    struct ToolKey {
        PictureKey* key;
        Tool tool;
        const char* caption;
    };
    std::vector<ToolKey> toolKeys_;
    PictureKey* thinKey_ = nullptr;
    PictureKey* thickKey_ = nullptr;
    PictureKey* contourKey_ = nullptr;
    PictureKey* opaqueKey_ = nullptr;
    PictureKey* zoomInKey_ = nullptr;
    PictureKey* zoomOutKey_ = nullptr;
    PictureKey* undoKey_ = nullptr;
    PictureKey* redoKey_ = nullptr;
    PictureKey* previewKey_ = nullptr;
    PictureKey* closeKey_ = nullptr;
    PictureKey* selectAllKey_ = nullptr;
    PictureKey* copyKey_ = nullptr;
    PictureKey* pasteKey_ = nullptr;
    PictureKey* transparentKey_ = nullptr;
    PictureKey* flipHKey_ = nullptr;
    PictureKey* flipVKey_ = nullptr;
    PictureKey* turnLeftKey_ = nullptr;
    PictureKey* turnRightKey_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
    EditorClipboard ownClipboard_;
    EditorClipboard* clipboard_ = &ownClipboard_;
    DesktopClipboard* desktop_ = nullptr;
    std::function<void(int)> colourChooser_;
    std::function<void(const Picture&, Slot)> previewer_;
    TextBoxController* text_ = nullptr;
};

}  // namespace mozu
