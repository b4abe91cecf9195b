#include "editor/edit_scroll_bar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace mozu {

namespace {

constexpr int kThumbLength = 40;

// The thumb paints itself; presses on it reach the track, which drags it.
class Thumb : public QWidget {
  public:
    Thumb(const QString& name, QWidget* parent) : QWidget(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(150, 160, 185));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
};

}  // namespace

EditScrollBar::EditScrollBar(const QString& objectName, const QString& thumbName,
                             Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation), thumb_(new Thumb(thumbName, this)) {
    setObjectName(objectName);
}

int EditScrollBar::length() const {
    const int whole = orientation_ == Qt::Horizontal ? width() : height();
    return std::max(1, whole - kThumbLength);
}

int EditScrollBar::percent() const {
    return position_ * 100 / length();
}

void EditScrollBar::home() {
    position_ = 0;
    resizeEvent(nullptr);
}

void EditScrollBar::moveThumbTo(int position) {
    position_ = std::clamp(position, 0, length());
    resizeEvent(nullptr);
    Q_EMIT percentChanged(percent());
}

void EditScrollBar::resizeEvent(QResizeEvent*) {
    if (orientation_ == Qt::Horizontal)
        thumb_->setGeometry(position_, 0, kThumbLength, height());
    else
        thumb_->setGeometry(0, position_, width(), kThumbLength);
}

void EditScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (canScroll_ && !canScroll_()) {
        QApplication::beep();
        return;
    }
    const int at = orientation_ == Qt::Horizontal ? event->position().toPoint().x()
                                                  : event->position().toPoint().y();
    if (at >= position_ && at < position_ + kThumbLength) {
        grab_ = at - position_;
    } else {
        grab_ = kThumbLength / 2;  // the thumb jumps under the mouse
        moveThumbTo(at - grab_);
    }
    dragging_ = true;
}

void EditScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const int at = orientation_ == Qt::Horizontal ? event->position().toPoint().x()
                                                  : event->position().toPoint().y();
    moveThumbTo(at - grab_);
}

void EditScrollBar::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void EditScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 44, 56));
    painter.drawRoundedRect(QRectF(rect()), 5, 5);
}

}  // namespace mozu
