#pragma once
// Image1 of the editor: the working picture enlarged by its pixel scale and the zoom, seen
// through the 640 x 400 view at the scroll offsets, with a pixel grid from zoom 4 on, the
// selection's frame inverted over it and the floating block on top. Mouse presses, moves and
// releases go to the model in window pixels of the view; it finds the block or the pixel.

#include <functional>

#include <QImage>
#include <QWidget>

class QPainter;

namespace mozu {

class EditorModel;

class EditCanvas : public QWidget {
    Q_OBJECT
  public:
    EditCanvas(EditorModel& model, QWidget* parent);
    // The picture as it should be shown now (after any change of the model).
    void refresh();
    // What the view shows of the picture, as the user sees it (for tests): the picture with the
    // selection's frame, without the floating block.
    QImage shownPicture() const { return image_; }
    // The floating block as it is drawn (transparent where transparent mode skips pixels), and
    // where, in window pixels of the view; a null image with no block.
    QImage shownBlock() const { return block_; }
    QRect shownBlockRect() const;
    // Drawn over the picture after it (the text box and its caret).
    void setOverlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }

  Q_SIGNALS:
    // The model changed under the mouse (a drawing, the status text).
    void edited();
    // Ctrl and the wheel: +1 zoom in, -1 zoom out.
    void zoomWheel(int direction);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

  private:
    void toModel(QMouseEvent* event, int what);

    EditorModel& model_;
    QImage image_;  // the working picture, with the colour dialog's preview and the frame
    QImage block_;  // the floating block
    std::function<void(QPainter&)> overlay_;
};

}  // namespace mozu
