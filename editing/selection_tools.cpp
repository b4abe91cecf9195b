#include "editing/selection_tools.h"

#include <utility>

#include "editing/crop.h"

namespace mozu {

PressOutcome SelectionTools::press(PixelPoint pixel, bool leftButton, PressTool tool, int windowX,
                                   int windowY) {
    // A moved or transformed selection goes down before anything else happens; a pasted block
    // waits for its right press.
    if (block_ && !pasted_) putDown();
    if (selection_) {
        const bool inside = leftButton && InSelectedArea(*selection_, pixel.x, pixel.y);
        if (inside && tool == PressTool::Select) {
            FloatingBlock block =
                FloatingBlock::OverSelection(host_.workingPicture(), *selection_, host_.view());
            block.startDrag(windowX, windowY);
            startFloating(std::move(block), false);
            return PressOutcome::StartedMoving;
        }
        if (inside && tool == PressTool::Text) {
            frameShown_ = false;
            return PressOutcome::OpenTextBox;
        }
        // Any other press cancels the selection, and the tool then acts as without one: a
        // selection left behind by Copy or Crop must not swallow the drawing tools' presses.
        endSelection();
    }
    if (tool == PressTool::Other) return PressOutcome::ToolActs;
    dragStart_ = pixel;
    dragRect_ = PixelRect{pixel.x, pixel.y, pixel.x, pixel.y};
    return PressOutcome::SelectionDrag;
}

void SelectionTools::move(PixelPoint pixel, int windowX, int windowY) {
    if (block_ && block_->dragging()) {
        block_->dragTo(windowX, windowY, host_.view());
        return;
    }
    if (dragRect_) dragRect_ = PixelRect{dragStart_.x, dragStart_.y, pixel.x, pixel.y};
}

void SelectionTools::release(PixelPoint pixel) {
    if (block_ && block_->dragging()) {
        block_->endDrag();
        return;
    }
    if (!dragRect_) return;
    dragRect_.reset();
    const Picture& picture = host_.workingPicture();
    selection_ = SelectionFromDrag(dragStart_, pixel, picture.width(), picture.height());
    frameShown_ = selection_.has_value();
    blinkOn_ = false;
}

bool SelectionTools::pressOnBlock(int windowX, int windowY, bool leftButton) {
    if (!block_ || !block_->shownRect(host_.view()).contains(windowX, windowY)) return false;
    if (leftButton)
        block_->startDrag(windowX, windowY);
    else
        putDown();
    return true;
}

void SelectionTools::selectAll() {
    const Picture& picture = host_.workingPicture();
    selection_ = SelectAll(picture.width(), picture.height());
    frameShown_ = !selection_->empty();
    if (selection_->empty()) selection_.reset();
    blinkOn_ = false;
}

bool SelectionTools::copy(EditorClipboard& clipboard) {
    if (!selection_ || !frameShown_) return false;
    clipboard =
        CopySelection(host_.workingPicture(), *selection_, host_.slot(), host_.paletteColours());
    frameShown_ = false;
    return true;
}

bool SelectionTools::paste(EditorClipboard& clipboard) {
    if (clipboard.empty()) return false;
    if (block_) putDown();
    auto block = PasteFromClipboard(clipboard, host_.workingPicture(), host_.slot(),
                                    host_.paletteColours(), host_.view());
    if (!block) return false;
    transparency_ = {};  // a pasted block starts opaque
    startFloating(std::move(*block), true);
    return true;
}

bool SelectionTools::pasteImage(Picture image) {
    if (image.empty()) return false;
    if (block_) putDown();
    auto block = PasteImage(std::move(image), host_.slot(), host_.paletteColours(), host_.view());
    if (!block) return false;
    transparency_ = {};
    startFloating(std::move(*block), true);
    return true;
}

bool SelectionTools::crop() {
    if (!selection_) return false;
    if (block_) {
        // Crop what the user sees: the floating block goes down first (its own undo point),
        // and the selection stays for the crop.
        const PixelRect kept = *selection_;
        putDown();
        selection_ = kept;
    }
    Picture& picture = host_.workingPicture();
    if (OrderAndClamp(*selection_, picture.width(), picture.height()).empty()) return false;
    host_.saveUndoPoint();
    const bool keep = CropKeepsSize(host_.slot());
    selection_ = CropToSelection(picture, *selection_, keep, host_.fillColour());
    frameShown_ = false;
    host_.afterCrop(keep);
    return true;
}

bool SelectionTools::deleteSelection() {
    if (!selection_ || block_) return false;
    host_.saveUndoPoint();
    FillSelection(host_.workingPicture(), *selection_, host_.fillColour());
    return true;
}

void SelectionTools::toggleTransparent() {
    transparency_ = ToggleTransparency(transparency_, host_.fillColour());
    if (block_) block_->setTransparency(transparency_);
}

bool SelectionTools::mirror(bool leftRight) {
    if (!block_) {
        if (!selection_) return false;
        startFloating(
            FloatingBlock::OverSelection(host_.workingPicture(), *selection_, host_.view()), false);
    }
    if (leftRight)
        block_->mirrorLeftRight();
    else
        block_->mirrorTopBottom();
    return true;
}

bool SelectionTools::turn(bool clockwise) {
    if (block_) {
        block_->turn(clockwise, host_.view());
        return true;
    }
    if (!selection_) return false;
    startFloating(FloatingBlock::TurnedSelection(host_.workingPicture(), *selection_, clockwise,
                                                 host_.view()),
                  false);
    return true;
}

bool SelectionTools::nudge(int dx, int dy) {
    if (!block_) return false;
    block_->nudge(dx, dy, host_.view());
    return true;
}

bool SelectionTools::putDown() {
    if (!block_) return false;
    host_.saveUndoPoint();
    block_->putDown(host_.workingPicture());
    block_.reset();
    pasted_ = false;
    endSelection();
    return true;
}

void SelectionTools::cancel() {
    block_.reset();
    pasted_ = false;
    dragRect_.reset();
    endSelection();
}

std::optional<PixelRect> SelectionTools::steadyFrame() const {
    if (dragRect_) return dragRect_;
    if (selection_ && frameShown_) return selection_;
    return std::nullopt;
}

std::optional<PixelRect> SelectionTools::blinkFrame() const {
    if (!dragRect_ && selection_ && frameShown_ && blinkOn_) return selection_;
    return std::nullopt;
}

void SelectionTools::endSelection() {
    selection_.reset();
    frameShown_ = false;
    blinkOn_ = false;
}

void SelectionTools::startFloating(FloatingBlock block, bool pasted) {
    frameShown_ = false;
    block_ = std::move(block);
    block_->setTransparency(transparency_);
    pasted_ = pasted;
}

}  // namespace mozu
