#pragma once
// The captions under the video keys. Their texts are characters of a symbol font ("4" play,
// ";" pause, "<" stop, "7"/"8" back/forward, "9"/":" to the start/end mark); the label keeps
// the character as its text and draws the symbol it stands for, so the look does not depend on
// an installed symbol font. Other texts ("start", "end") are drawn as words.

#include <QString>
#include <QWidget>

class QPainter;

namespace mozu {

class SymbolLabel : public QWidget {
    Q_OBJECT
  public:
    SymbolLabel(const QString& objectName, QWidget* parent);
    void setText(const QString& text);
    QString text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
};

// Draws the symbol of `character` centred in `box`; false if the character has no symbol.
bool DrawSymbol(QPainter& p, const QRectF& box, QChar character, const QColor& colour);

}  // namespace mozu
