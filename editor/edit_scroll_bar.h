#pragma once
// One of the editor's scroll bars: a track with a thumb that the mouse drags (a press on the
// track makes the thumb jump there first). It reports the thumb's place as a percentage of the
// track; whether the view may scroll is asked before every press, and a refused press beeps.

#include <QWidget>
#include <functional>

namespace mozu {

class EditScrollBar : public QWidget {
    Q_OBJECT
  public:
    EditScrollBar(const QString& objectName, const QString& thumbName, Qt::Orientation orientation,
                  QWidget* parent);
    void setCanScroll(std::function<bool()> canScroll) { canScroll_ = std::move(canScroll); }
    // Back to the start of the track (zoom out, a new edit).
    void home();
    int percent() const;
    QWidget* thumb() const { return thumb_; }

  Q_SIGNALS:
    void percentChanged(int percent);

  protected:
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    int length() const;  // the room the thumb moves in
    void moveThumbTo(int position);

    Qt::Orientation orientation_;
    QWidget* thumb_;
    std::function<bool()> canScroll_;
    int position_ = 0;
    int grab_ = 0;  // where the thumb was taken, from its start
    bool dragging_ = false;
};

}  // namespace mozu
