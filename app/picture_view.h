#pragma once
// A picture control (Image1 and friends): shows a picture either stretched over the control or
// kept in proportion and centred (scaled down to fit, never up unless stretched too). Where the
// picture does not cover the control, the dark screen shows.

#include <QImage>
#include <QWidget>

#include "colour/picture.h"

namespace mozu {

class PictureView : public QWidget {
    Q_OBJECT
  public:
    PictureView(const QString& objectName, QWidget* parent);

    // Shows a copy of `picture`, each of its lines `lineRepeat` times (tall MSX pixels).
    void setPicture(const Picture& picture, int lineRepeat = 1);
    // What is shown, at the picture's own size (lines repeated).
    QImage image() const;
    void setStretch(bool on);
    void setProportional(bool on);
    bool stretch() const { return stretch_; }
    bool proportional() const { return proportional_; }
    // Where the picture is drawn inside the control.
    QRect pictureRect() const;

  Q_SIGNALS:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

  private:
    QSize pictureSize() const;

    Picture picture_;
    int lineRepeat_ = 1;
    // The picture scaled to its place, made at the first paint after a change: painting it is
    // then a plain copy, where a scaled paint would sample every pixel again each time.
    QImage shown_;
    bool shownStale_ = true;
    bool stretch_ = false;
    bool proportional_ = true;
};

}  // namespace mozu
