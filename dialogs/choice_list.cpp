#include "dialogs/choice_list.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace mozu {

ChoiceList::ChoiceList(const QString& objectName, int itemHeight, QWidget* parent)
    : QWidget(parent), itemHeight_(std::max(1, itemHeight)) {
    setObjectName(objectName);
}

void ChoiceList::setCount(int count) {
    count_ = std::max(0, count);
    selected_ = -1;
    top_ = 0;
    update();
}

int ChoiceList::visibleRows() const {
    return std::max(1, height() / itemHeight_);
}

void ChoiceList::setSelected(int row) {
    selected_ = (row >= 0 && row < count_) ? row : -1;
    if (selected_ >= 0) {
        if (selected_ < top_) top_ = selected_;
        if (selected_ >= top_ + visibleRows()) top_ = selected_ - visibleRows() + 1;
    }
    top_ = std::clamp(top_, 0, std::max(0, count_ - visibleRows()));
    update();
}

QRect ChoiceList::rowRect(int row) const {
    if (row < top_ || row >= count_ || row >= top_ + visibleRows()) return {};
    return QRect(0, (row - top_) * itemHeight_, width(), itemHeight_);
}

void ChoiceList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(14, 16, 22));
    if (!painter_) return;
    p.setClipRect(rect());
    for (int row = top_; row < count_ && row < top_ + visibleRows(); ++row) {
        const QRect box = rowRect(row);
        if (row == selected_) p.fillRect(box, QColor(56, 84, 140));
        p.save();
        painter_(p, box, row, row == selected_);
        p.restore();
    }
}

void ChoiceList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = top_ + event->position().toPoint().y() / itemHeight_;
    if (row < 0 || row >= count_) return;
    setSelected(row);
    Q_EMIT rowChosen(row);
}

void ChoiceList::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0 || count_ == 0) return;
    const int row = std::clamp((selected_ < 0 ? 0 : selected_) - steps, 0, count_ - 1);
    if (row == selected_) return;
    setSelected(row);
    Q_EMIT rowChosen(row);
}

}  // namespace mozu
