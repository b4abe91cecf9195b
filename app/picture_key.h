#pragma once
// A skinned button: a picture that shows its pressed picture while the mouse button is down
// and its released picture otherwise; the command runs on the click (release inside the key),
// after the released picture is back. An optional white caption is drawn over the face.

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
    void setCaptionPixelSize(int px) { captionSize_ = px; }
    bool isDown() const { return down_; }
    QString upPicture() const { return upName_; }
    QString downPicture() const { return downName_; }

  Q_SIGNALS:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;

  private:
    QString upName_, downName_;
    QPixmap upPixmap_, downPixmap_;
    QString caption_;
    int captionSize_ = 11;
    bool down_ = false;
};

}  // namespace mozu
