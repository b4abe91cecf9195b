// The editor model's text tool: the box over the selection, its keys and its put-down.

#include "editing/editor_model.h"

namespace mozu {

void EditorModel::setTextFont(const TextPainter& font, const TextColours& colours) {
    if (!text_) text_ = std::make_unique<TextBoxTool>(selectionHost(), font);
    text_->setFont(font, colours);
}

void EditorModel::openTextBox() {
    const std::optional<PixelRect>& selection = tools_->selection();
    if (!text_ || !selection || selection->empty()) return;
    text_->open(*selection);
    syncLocks();
}

TextKeyResult EditorModel::typeText(unsigned char c) {
    if (!textBoxOpen() || buttonHeld()) return TextKeyResult::Nothing;
    return text_->type(c);
}

TextKeyResult EditorModel::pressTextKey(TextKey key) {
    if (!textBoxOpen() || buttonHeld()) return TextKeyResult::Nothing;
    const TextKeyResult result = text_->press(key);
    // Escape put the text down where the box was opened; the selection stays.
    if (result == TextKeyResult::PutDown) syncLocks();
    return result;
}

bool EditorModel::putDownText() {
    if (!textBoxOpen() || buttonHeld()) return false;
    text_->putDown();
    tools_->clearSelection();
    syncLocks();
    return true;
}

}  // namespace mozu
