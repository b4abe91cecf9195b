#pragma once
// A skinned button: a picture that shows its pressed picture while the mouse button is down
// and its released picture otherwise; the command runs on the click (release inside the key),
// after the released picture is back. An optional white caption is drawn over the face.

#include <array>

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace mozu {

class PictureKey : public QWidget {
    Q_OBJECT
  public:
    PictureKey(const QString& objectName, QWidget* parent);

    // The released and pressed pictures (skin names); the key takes the released one's size.
    void setPictures(const QString& up, const QString& down);
    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    bool isDown() const { return down_; }
    QString upPicture() const { return upName_; }

  Q_SIGNALS:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    // The face with its caption, drawn once for each of pressed/released and enabled/disabled:
    // a click repaints the key twice, and laying out the caption text costs more than the
    // whole copy of a finished face.
    const QPixmap& face() const;
    void dropFaces();

    static constexpr int kCaptionPixelSize = 11;

    mutable std::array<QPixmap, 4> faces_;
    QString upName_;
    QPixmap upPixmap_, downPixmap_;
    QString caption_;
    bool down_ = false;
};

}  // namespace mozu
