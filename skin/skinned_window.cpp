#include "skin/skinned_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace mozu {

SkinnedWindow::SkinnedWindow(Dragging dragging, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), draggingKind_(dragging) {}

void SkinnedWindow::PaintBackground(QPainter& painter) const {
    painter.drawPixmap(0, 0, background_);
}

void SkinnedWindow::setShape(const QRegion& shape) {
    shape_ = shape;
    applyShape();
}

void SkinnedWindow::applyShape() {
    // The window system's window exists once the widget has been shown (and is made anew if
    // the widget is re-created), so the outline is handed over again at every show.
    if (QWindow* window = windowHandle(); window && window->mask() != shape_)
        window->setMask(shape_);
}

void SkinnedWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applyShape();
}

void SkinnedWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintBackground(p);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    if (draggingKind_ == Dragging::None) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (draggingKind_ == Dragging::SystemMoveFirst && windowHandle() &&
        windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
    if (draggingKind_ == Dragging::None) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (draggingKind_ == Dragging::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
}

}  // namespace mozu
