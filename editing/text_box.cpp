#include "editing/text_box.h"

namespace mozu {

Picture RenderTextBox(const TextStore& store, const TextPainter& font, const TextColours& colours) {
    Picture box(store.boxWidth(), store.boxHeight(), kKeyColour);
    const int height = font.lineHeight();
    for (std::size_t i = 0; i < store.lines().size(); ++i) {
        const int y = static_cast<int>(i) * height;
        const std::string& line = store.lines()[i];
        if (colours.shadow) font.drawText(box, -1, y + 1, line, colours.shadowColour);
        font.drawText(box, 0, y, line, colours.text);
    }
    return box;
}

}  // namespace mozu
