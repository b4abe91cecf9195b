#include "editor/edit_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "editing/editor_model.h"

namespace mozu {

namespace {

QRgb ToRgb(Colour c) {
    return qRgb(Red(c), Green(c), Blue(c));
}

MouseButton ButtonOf(Qt::MouseButton button) {
    return button == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
}

enum { kPress, kMove, kRelease };

}  // namespace

EditCanvas::EditCanvas(EditorModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("Image1");
    setMouseTracking(true);  // the status text follows the mouse
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void EditCanvas::refresh() {
    const Picture& p = model_.picture();
    // The picture's bytes are blue, green, red: Qt's BGR888 reads them as they are.
    image_ = QImage(p.data(), p.width(), p.height(), static_cast<qsizetype>(p.stride()),
                    QImage::Format_BGR888)
                 .convertToFormat(QImage::Format_RGB32);
    if (const auto& preview = model_.colourPreview()) {
        // The old colour's pixels show the new colour; the picture itself keeps them.
        const QRgb from = ToRgb(preview->oldColour), to = ToRgb(preview->newColour);
        for (int y = 0; y < image_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                if (line[x] == from) line[x] = to;
        }
    }
    update();
}

void EditCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(16, 18, 24));
    if (image_.isNull()) return;
    const EditView& view = model_.view();
    const QRect shown(-view.scrollX(), -view.scrollY(), view.shownWidth(), view.shownHeight());
    painter.drawImage(shown, image_);  // no smoothing: every pixel a sharp block
    if (view.zoom() >= 4) {
        // The grid between picture pixels, where each pixel is large enough to aim at.
        painter.setPen(QColor(0, 0, 0, 70));
        const double cell_w = view.xScale() * view.zoom(), cell_h = view.yScale() * view.zoom();
        const QRect visible = shown.intersected(rect());
        const int firstX = static_cast<int>(view.scrollX() / cell_w);
        const int firstY = static_cast<int>(view.scrollY() / cell_h);
        for (int i = firstX;; ++i) {
            const int x = static_cast<int>(i * cell_w) - view.scrollX();
            if (x > visible.right()) break;
            painter.drawLine(x, visible.top(), x, visible.bottom());
        }
        for (int j = firstY;; ++j) {
            const int y = static_cast<int>(j * cell_h) - view.scrollY();
            if (y > visible.bottom()) break;
            painter.drawLine(visible.left(), y, visible.right(), y);
        }
    }
    if (overlay_) overlay_(painter);
}

void EditCanvas::toModel(QMouseEvent* event, int what) {
    if (!model_.isOpen()) return;
    const EditView& view = model_.view();
    const QPoint at = event->position().toPoint();
    const PixelPoint p = view.pixelAt(at.x() + view.scrollX(), at.y() + view.scrollY());
    const bool drew = what != kMove || model_.buttonHeld();
    switch (what) {
        case kPress:
            model_.press(p, ButtonOf(event->button()));
            break;
        case kMove:
            if (model_.buttonHeld())
                model_.move(p);
            else
                model_.hover(p);
            break;
        default:
            model_.release(p);
            break;
    }
    if (drew) refresh();
    Q_EMIT edited();
}

void EditCanvas::mousePressEvent(QMouseEvent* event) {
    toModel(event, kPress);
}

void EditCanvas::mouseMoveEvent(QMouseEvent* event) {
    toModel(event, kMove);
}

void EditCanvas::mouseReleaseEvent(QMouseEvent* event) {
    toModel(event, kRelease);
}

void EditCanvas::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    Q_EMIT zoomWheel(event->angleDelta().y() > 0 ? 1 : -1);
}

}  // namespace mozu
