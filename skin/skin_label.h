#pragma once
// A text on the skin: the program's texts carry "\n\r" line breaks, which this label keeps in
// text() and shows as plain line breaks. Transparent, so the skin shows through.
//
// Every text fits its box: a text too large for the label's font is drawn smaller, down to a
// smallest readable size, and what still does not fit is cut with an ellipsis; the whole text
// is then the label's tooltip.

#include <QFont>
#include <QString>
#include <QWidget>

namespace mozu {

class SkinLabel : public QWidget {
    Q_OBJECT
  public:
    // The smallest pixel size a text is shrunk to before it is cut.
    static constexpr int kSmallestPixelSize = 8;

    SkinLabel(const QString& objectName, QWidget* parent);

    void setText(const QString& text);
    QString text() const { return text_; }
    void setAlignment(Qt::Alignment a);
    void setWordWrap(bool on);
    void setColour(const QColor& c);
    // A line the tooltip always shows, below the whole text when the text had to be shrunk or
    // cut (the reduction method of the slot on show, say). Empty: none.
    void setToolTipNote(const QString& note);

    // The font the text is drawn in and the lines drawn (after shrinking and cutting).
    QFont shownFont() const { return shownFont_; }
    QStringList shownLines() const { return shownLines_; }
    // Whether the text had to be cut.
    bool elided() const { return elided_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;

  private:
    // Chooses the shown font and lines for the text, the box and the label's font.
    void fit();

    void showToolTip();

    QString text_;
    QString wholeText_;  // the text in the tooltip when it is shown smaller or cut
    QString note_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
    bool wrap_ = false;
    QColor colour_;
    QFont shownFont_;
    QStringList shownLines_;
    bool elided_ = false;
};

}  // namespace mozu
