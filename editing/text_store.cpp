#include "editing/text_store.h"

#include <algorithm>

namespace mozu {

bool IsTypableCharacter(unsigned char c) {
    return (c >= 32 && c <= 126) || c >= 130;
}

void TextStore::open(int boxWidth, int boxHeight) {
    clear();
    boxWidth_ = std::max(0, boxWidth);
    boxHeight_ = std::max(0, boxHeight);
}

void TextStore::clear() {
    lines_.assign(1, std::string());
    line_ = column_ = 0;
}

TextKeyResult TextStore::type(unsigned char c, const TextMeasure& font) {
    if (!IsTypableCharacter(c)) return TextKeyResult::Nothing;
    std::string& line = lines_[static_cast<std::size_t>(line_)];
    // The whole line must fit after the insertion: a character typed in the middle pushes the
    // rest of the line to the right, and a check of the caret's place alone would let the line's
    // end run past the box, where it would be cut off when the text is put down.
    std::string longer = line;
    longer.insert(static_cast<std::size_t>(column_), 1, static_cast<char>(c));
    if (font.textWidth(longer) > boxWidth_) return TextKeyResult::Refused;
    line = std::move(longer);
    ++column_;
    return TextKeyResult::TextChanged;
}

TextKeyResult TextStore::press(TextKey key, const TextMeasure& font) {
    std::string& line = lines_[static_cast<std::size_t>(line_)];
    const int length = static_cast<int>(line.size());
    switch (key) {
        case TextKey::Backspace:
            if (column_ == 0) return TextKeyResult::Nothing;
            line.erase(static_cast<std::size_t>(column_ - 1), 1);
            --column_;
            return TextKeyResult::TextChanged;
        case TextKey::Delete:
            if (column_ >= length) return TextKeyResult::Nothing;
            line.erase(static_cast<std::size_t>(column_), 1);
            return TextKeyResult::TextChanged;
        case TextKey::Enter: {
            // A new line is taken only if it fits below the others in the box: every line of
            // the store is put down, so none may lie outside the box.
            const int height = std::max(1, font.lineHeight());
            if ((static_cast<int>(lines_.size()) + 1) * height > boxHeight_)
                return TextKeyResult::Refused;
            // The text after the caret moves to the new line, as in any editor; at the end of a
            // line the new line is empty.
            std::string rest = line.substr(static_cast<std::size_t>(column_));
            line.erase(static_cast<std::size_t>(column_));
            lines_.insert(lines_.begin() + line_ + 1, std::move(rest));
            ++line_;
            column_ = 0;
            return TextKeyResult::TextChanged;
        }
        case TextKey::Escape:
            return TextKeyResult::PutDown;
        case TextKey::Left:
            if (column_ == 0) return TextKeyResult::Nothing;
            --column_;
            return TextKeyResult::CaretMoved;
        case TextKey::Right:
            if (column_ >= length) return TextKeyResult::Nothing;
            ++column_;
            return TextKeyResult::CaretMoved;
        case TextKey::Up:
            if (line_ == 0) return TextKeyResult::Nothing;
            --line_;
            column_ = static_cast<int>(lines_[static_cast<std::size_t>(line_)].size());
            return TextKeyResult::CaretMoved;
        case TextKey::Down:
            if (line_ + 1 >= static_cast<int>(lines_.size())) return TextKeyResult::Nothing;
            ++line_;
            column_ = static_cast<int>(lines_[static_cast<std::size_t>(line_)].size());
            return TextKeyResult::CaretMoved;
    }
    return TextKeyResult::Nothing;
}

PixelPoint TextStore::caret(const TextMeasure& font) const {
    const std::string& line = lines_[static_cast<std::size_t>(line_)];
    return {font.textWidth(std::string_view(line).substr(0, static_cast<std::size_t>(column_))),
            line_ * font.lineHeight()};
}

}  // namespace mozu
