#pragma once
// SkinnedWindow: a borderless top-level window drawn by its skin. It paints its background
// picture and, where asked, lets the user drag the window by that background (presses on keys,
// labels and pictures are taken by those controls and never reach it).

#include <QEventLoop>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QWidget>

class QPainter;

namespace mozu {

class SkinnedWindow : public QWidget {
    Q_OBJECT
  public:
    // What a left press on the background does.
    enum class Dragging {
        None,             // nothing: the window stays where it was put
        Manual,           // the window follows the mouse until the button is released
        SystemMoveFirst,  // the window manager moves it where it can, otherwise as Manual
    };

    explicit SkinnedWindow(Dragging dragging, QWidget* parent = nullptr);

    // The window's outline. It is given to the window system only: as a widget mask it would
    // also clip every repaint of every control to a region of hundreds of rectangles, which
    // costs more than painting the control. Inside the outline the skin covers every pixel.
    void setShape(const QRegion& shape);
    const QRegion& shape() const { return shape_; }

  protected:
    void setBackground(const QPixmap& picture) { background_ = picture; }
    // Draws the background picture at the window's origin (a null picture draws nothing); the
    // painter's clip keeps it to the part being repainted.
    void PaintBackground(QPainter& painter) const;

    // Runs a local event loop (the user interface stays live) until `done` is emitted.
    template <typename Window, typename... Args>
    void WaitFor(void (Window::*done)(Args...)) {
        QEventLoop loop;
        const auto connection = connect(static_cast<Window*>(this), done, &loop, &QEventLoop::quit);
        loop.exec();
        disconnect(connection);
    }

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void applyShape();

    QRegion shape_;
    QPixmap background_;
    Dragging draggingKind_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace mozu
