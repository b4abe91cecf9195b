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

    // A click from the keyboard (a shortcut, or Return on the key with the focus): the command
    // runs as after a mouse click, if the key is enabled.
    void click();
    // The key of what is on show: drawn with a light bar under its face.
    void setCurrent(bool current);
    bool isCurrent() const { return current_; }
    bool isHovered() const { return hovered_; }

  Q_SIGNALS:
    void clicked();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;

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
    bool current_ = false;
    bool hovered_ = false;
    bool focusShown_ = false;  // the focus came from the keyboard: drawn as a frame
};

}  // namespace mozu
