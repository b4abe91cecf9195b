#pragma once
// A colour swatch of the editor and the colour dialog: a round button filled with one colour.
// Presses report their button; a double click reports itself too.

#include <QColor>
#include <QWidget>

namespace mozu {

class Swatch : public QWidget {
    Q_OBJECT
  public:
    Swatch(const QString& objectName, QWidget* parent);
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

  Q_SIGNALS:
    void pressed(Qt::MouseButton button);
    void doubleClicked(Qt::MouseButton button);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

  private:
    QColor colour_{Qt::black};
};

}  // namespace mozu
