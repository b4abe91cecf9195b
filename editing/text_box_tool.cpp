#include "editing/text_box_tool.h"

namespace mozu {

void TextBoxTool::open(const PixelRect& selection) {
    const Picture& picture = host_.workingPicture();
    const PixelRect r = OrderAndClamp(selection, picture.width(), picture.height());
    store_.open(r.width(), r.height());
    const ViewMapping view = host_.view();
    box_ = FloatingBlock(Picture(r.width(), r.height(), kKeyColour), {r.left, r.top}, view.scaleX,
                         view.scaleY);
    box_->setTransparency(kTextBoxTransparency);
    redraw();
}

void TextBoxTool::setFont(const TextPainter& font, const TextColours& colours) {
    font_ = &font;
    colours_ = colours;
    redraw();
}

TextKeyResult TextBoxTool::type(unsigned char c) {
    if (!box_) return TextKeyResult::Nothing;
    const TextKeyResult result = store_.type(c, *font_);
    if (result == TextKeyResult::TextChanged) redraw();
    return result;
}

TextKeyResult TextBoxTool::press(TextKey key) {
    if (!box_) return TextKeyResult::Nothing;
    const TextKeyResult result = store_.press(key, *font_);
    if (result == TextKeyResult::TextChanged) redraw();
    if (result == TextKeyResult::PutDown) finish(true);
    return result;
}

void TextBoxTool::putDown() {
    finish(false);
}

void TextBoxTool::cancel() {
    box_.reset();
    store_.clear();
}

void TextBoxTool::redraw() {
    if (box_) box_->pixelsForDrawing() = RenderTextBox(store_, *font_, colours_);
}

void TextBoxTool::finish(bool atOrigin) {
    if (!box_) return;
    host_.saveUndoPoint();
    if (atOrigin)
        box_->putDownAtOrigin(host_.workingPicture());
    else
        box_->putDown(host_.workingPicture());
    cancel();
}

}  // namespace mozu
