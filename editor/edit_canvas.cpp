#include "editor/edit_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "editing/editor_model.h"
#include "editing/selection_frame.h"
#include "editor/desktop_clipboard.h"

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
    const auto steady = model_.steadyFrame();
    const auto blink = model_.blinkFrame();
    if (steady || blink) {
        // The frame is inverted into a copy of the picture: it never becomes the picture's.
        Picture framed = model_.picture();
        if (steady) InvertFrame(framed, *steady, kSteadyFrameWidth);
        if (blink) InvertFrame(framed, *blink, BlinkFrameWidth(model_.view().zoom()));
        image_ = ImageOf(framed);
    } else {
        image_ = ImageOf(model_.picture());
    }
    if (const auto& preview = model_.colourPreview()) {
        // The old colour's pixels show the new colour; the picture itself keeps them.
        const QRgb from = ToRgb(preview->oldColour), to = ToRgb(preview->newColour);
        for (int y = 0; y < image_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < image_.width(); ++x)
                if (line[x] == from) line[x] = to;
        }
    }
    block_ = QImage();
    if (const auto& block = model_.floatingBlock()) {
        block_ = ImageOf(block->pixels());
        if (const Transparency t = block->transparency(); t.on) {
            // What the put-down skips shows the picture under the block.
            block_ = block_.convertToFormat(QImage::Format_ARGB32);
            const QRgb skipped = ToRgb(t.colour);
            for (int y = 0; y < block_.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(block_.scanLine(y));
                for (int x = 0; x < block_.width(); ++x)
                    if (line[x] == skipped) line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    update();
}

QRect EditCanvas::shownBlockRect() const {
    const auto& block = model_.floatingBlock();
    if (!block) return {};
    const WindowRect r = block->shownRect(model_.viewMapping());
    return {r.left, r.top, r.width, r.height};
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
    if (!block_.isNull()) {
        // The floating block at its display scale (swapped by a turn), every pixel a block.
        const QRect at = shownBlockRect();
        painter.drawImage(at, block_);
        painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(at.adjusted(0, 0, -1, -1));
    }
    if (overlay_) overlay_(painter);
}

void EditCanvas::toModel(QMouseEvent* event, int what) {
    if (!model_.isOpen()) return;
    const EditView& view = model_.view();
    const QPoint at = event->position().toPoint();
    const bool drew = what != kMove || model_.buttonHeld();
    switch (what) {
        case kPress:
            model_.pressAt(at.x(), at.y(), ButtonOf(event->button()));
            break;
        case kMove:
            if (model_.buttonHeld())
                model_.moveAt(at.x(), at.y());
            else
                model_.hover(view.pixelAt(at.x() + view.scrollX(), at.y() + view.scrollY()));
            break;
        default:
            model_.releaseAt(at.x(), at.y());
            break;
    }
    setCursor(shownBlockRect().contains(at) ? Qt::SizeAllCursor : Qt::CrossCursor);
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
