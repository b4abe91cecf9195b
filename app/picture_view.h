#pragma once
// A picture control (Image1 and friends): shows a picture either stretched over the control or
// kept in proportion and centred (scaled down to fit, never up unless stretched too). Where the
// picture does not cover the control, the dark screen shows.

#include <QImage>
#include <QWidget>

namespace mozu {

class PictureView : public QWidget {
    Q_OBJECT
  public:
    PictureView(const QString& objectName, QWidget* parent);

    void setImage(QImage image);
    const QImage& image() const { return image_; }
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
    QImage image_;
    bool stretch_ = false;
    bool proportional_ = true;
};

}  // namespace mozu
