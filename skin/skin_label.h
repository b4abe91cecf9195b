#pragma once
// A text on the skin: the program's texts carry "\n\r" line breaks, which this label keeps in
// text() and shows as plain line breaks. Transparent, so the skin shows through.

#include <QString>
#include <QWidget>

namespace mozu {

class SkinLabel : public QWidget {
    Q_OBJECT
  public:
    SkinLabel(const QString& objectName, QWidget* parent);

    void setText(const QString& text);
    QString text() const { return text_; }
    void setAlignment(Qt::Alignment a);
    void setWordWrap(bool on);
    void setColour(const QColor& c);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
    bool wrap_ = false;
    QColor colour_;
};

}  // namespace mozu
