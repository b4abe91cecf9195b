#pragma once
// The text tool's store: the typed lines, the caret, and what each key does to them. The text
// is single-byte (character codes 32-126 and 130-255, the Windows Western set the fonts are
// asked for). Widths and the line height come from a TextMeasure, so the window plugs in its
// font and the tests a fixed-width one; the store itself draws nothing.

#include <string>
#include <string_view>
#include <vector>

#include "editing/selection_rect.h"

namespace mozu {

// The box font's metrics, in picture pixels.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    // The advance of the text drawn in the box font.
    virtual int textWidth(std::string_view text) const = 0;
    // The height of one line: the height of "A" in the box font.
    virtual int lineHeight() const = 0;
};

// The keys handled besides characters.
enum class TextKey { Backspace, Enter, Escape, Left, Up, Right, Down, Delete };

// What a key did: the store changed (redraw the box), only the caret moved, nothing happened
// (a key the store does not take, or a key with nothing to do, such as Backspace at column 0),
// the key was refused (the editor beeps), or Escape asked for the text to be put down.
enum class TextKeyResult { TextChanged, CaretMoved, Nothing, Refused, PutDown };

class TextStore {
  public:
    TextStore() { clear(); }

    // `StartEdit`: one empty line, the caret at its start, a box of this size in picture pixels.
    void open(int boxWidth, int boxHeight);
    // One empty line, the caret at 0 (the store after the text was put down).
    void clear();

    // `FormKeyPress`: inserts character `c` at the caret if it is a typable code and the whole
    // line, with it, still fits the box's width; else Refused (or Nothing for a code that is
    // not typable).
    TextKeyResult type(unsigned char c, const TextMeasure& font);
    // `FormKeyUp`: the key table.
    TextKeyResult press(TextKey key, const TextMeasure& font);

    const std::vector<std::string>& lines() const { return lines_; }
    int lineIndex() const { return line_; }
    int column() const { return column_; }
    // The caret's top in box pixels: x the width of the text before it, y the top of its line.
    PixelPoint caret(const TextMeasure& font) const;
    int boxWidth() const { return boxWidth_; }
    int boxHeight() const { return boxHeight_; }

  private:
    std::vector<std::string> lines_;
    int line_ = 0, column_ = 0;
    int boxWidth_ = 0, boxHeight_ = 0;
};

// Whether a character code can be typed into the box: 32-126 and 130-255.
bool IsTypableCharacter(unsigned char c);

}  // namespace mozu
