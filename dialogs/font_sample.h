#pragma once
// The font dialog's samples (Label1, Label2): a text in a font and a colour, drawn without
// anti-aliasing as the text box will draw it.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace mozu {

class FontSample : public QWidget {
    Q_OBJECT
  public:
    FontSample(const QString& objectName, QWidget* parent);
    void setSample(const QString& text, const QFont& font, const QColor& colour);
    QString text() const { return text_; }
    QFont sampleFont() const { return font_; }
    QColor colour() const { return colour_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
    QFont font_;
    QColor colour_;
};

}  // namespace mozu
