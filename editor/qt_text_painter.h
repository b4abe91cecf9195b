#pragma once
// The text box's font: a Qt font drawn into the editor's pictures without anti-aliasing. A
// glyph is drawn as a coverage mask and every pixel it covers at least half becomes the text's
// colour, so the box holds that colour and the key colour only, whatever the font engine does.

#include <QFont>

#include "editing/text_box.h"

class QString;

namespace mozu {

class QtTextPainter : public TextPainter {
  public:
    explicit QtTextPainter(const QFont& font);

    int textWidth(std::string_view text) const override;
    int lineHeight() const override;
    void drawText(Picture& box, int x, int y, std::string_view text, Colour colour) const override;

    const QFont& font() const { return font_; }

  private:
    QFont font_;
    int ascent_ = 0;
    int height_ = 0;
};

// The store's single-byte text as the font draws it.
QString WesternText(std::string_view text);

}  // namespace mozu
