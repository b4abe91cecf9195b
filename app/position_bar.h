#pragma once
// The video position bar (Horizontal): a one-pixel groove with the range marks drawn as two
// bands, green over the whole track and grey between the start and end marks.

#include <QWidget>

namespace mozu {

class PositionBar : public QWidget {
    Q_OBJECT
  public:
    explicit PositionBar(QWidget* parent);
    // Both bands green (a video was just opened), or grey from x `from` to `to`.
    void setMarks(int from, int to);
    void clearMarks();
    bool hasMarks() const { return marked_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    bool marked_ = false;
    int greyFrom_ = 0;
    int greyTo_ = 0;
};

}  // namespace mozu
