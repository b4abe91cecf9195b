#pragma once
// The video position bar (Horizontal): a one-pixel groove with the range marks drawn as two
// bands, green over the whole track and grey between the start and end marks; and its thumb
// (HScrollButton), which the user drags. Both only report the pointer: the video commands
// decide what a press or a drag means.

#include <QPixmap>
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
    int greyFrom() const { return greyFrom_; }
    int greyTo() const { return greyTo_; }

  Q_SIGNALS:
    // The track was pressed at x (track pixels).
    void pressed(int x);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

  private:
    bool marked_ = false;
    int greyFrom_ = 0;
    int greyTo_ = 0;
};

// The thumb: reports a press, each move while the button is down and the release, with the
// pointer's x in window pixels (the thumb moves under the pointer, so its own x would drift).
class PositionThumb : public QWidget {
    Q_OBJECT
  public:
    PositionThumb(const QString& picture, QWidget* parent);

  Q_SIGNALS:
    void pressed(int windowX);
    void dragged(int windowX);
    void released();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

  private:
    int windowX(QMouseEvent* e) const;
    QPixmap picture_;
};

}  // namespace mozu
