#include "dialogs/dialog_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "dialogs/dialog_pictures.h"
#include "skin/theme.h"

namespace mozu {

// --- EntryColumn ---------------------------------------------------------------------------

EntryColumn::EntryColumn(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_NoSystemBackground);
}

void EntryColumn::setEntries(std::vector<Entry> entries) {
    entries_ = std::move(entries);
    selected_ = -1;
    marked_ = -1;
    top_ = 0;
    update();
}

void EntryColumn::setMetrics(int itemHeight, int fontPixels) {
    itemHeight_ = itemHeight;
    fontPixels_ = fontPixels;
    top_ = std::clamp(top_, 0, std::max(0, count() - visibleRows()));
    update();
}

int EntryColumn::visibleRows() const {
    return std::max(1, height() / itemHeight_);
}

void EntryColumn::setSelectedRow(int row) {
    selected_ = row < count() ? row : -1;
    if (selected_ >= 0) scrollIntoView(selected_);
    update();
}

void EntryColumn::setMarkedRow(int row) {
    marked_ = row;
    update();
}

void EntryColumn::scrollIntoView(int row) {
    if (row < top_)
        top_ = row;
    else if (row >= top_ + visibleRows())
        top_ = row - visibleRows() + 1;
}

int EntryColumn::rowAt(QPoint p) const {
    if (!rect().contains(p)) return -1;
    const int row = top_ + p.y() / itemHeight_;
    return row < count() ? row : -1;
}

QRect EntryColumn::rowRect(int row) const {
    return {0, (row - top_) * itemHeight_, width(), itemHeight_};
}

void EntryColumn::paintEvent(QPaintEvent*) {
    // The dialog's background shows through: only icons, texts and the mark are drawn.
    QPainter p(this);
    p.setFont(Theme::Font(fontPixels_, fontPixels_ > 20));
    const int last = std::min(count(), top_ + visibleRows() + 1);
    for (int row = top_; row < last; ++row) {
        const QRect r = rowRect(row);
        if (row == marked_) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 40));
            p.drawRoundedRect(r.adjusted(0, 1, -2, -1), 4, 4);
        }
        const Entry& e = entries_[static_cast<std::size_t>(row)];
        QPixmap icon = IconPicture(e.icon);
        // Large entries (the drives view) get their icon doubled, pixel for pixel, and centred
        // on the row's height.
        const bool large = itemHeight_ > 30;
        if (large)
            icon = icon.scaled(icon.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const int iconTop = large ? r.top() + (itemHeight_ - icon.height()) / 2 : r.top() + 2;
        p.drawPixmap(r.left() + 2, iconTop, icon);
        p.setPen(Qt::white);
        const QRect textBox(r.left() + 2 + icon.width() + 8, r.top(), r.width() - icon.width() - 10,
                            r.height());
        p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(e.text, Qt::ElideRight, textBox.width()));
    }
}

void EntryColumn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = rowAt(event->position().toPoint());
    if (row >= 0) Q_EMIT rowClicked(row);
}

void EntryColumn::wheelEvent(QWheelEvent* event) {
    const int steps = -event->angleDelta().y() / 120;
    if (steps != 0) Q_EMIT wheelTurned(steps);
}

// --- ScrollTrack ---------------------------------------------------------------------------

ScrollTrack::ScrollTrack(QWidget* parent, int thumbWidth, int thumbHeight) : QWidget(parent) {
    setObjectName("Vertical");
    thumb_ = new QWidget(this);
    thumb_->setObjectName("VScrollButton");
    thumb_->resize(thumbWidth, thumbHeight);
    thumb_->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    thumb_->installEventFilter(this);
}

void ScrollTrack::place(int x, int y, int trackWidth, int trackHeight) {
    trackWidth_ = trackWidth;
    const int w = std::max(trackWidth, thumb_->width());
    setGeometry(x - (w - trackWidth) / 2, y, w, trackHeight);
    setThumbOffset(thumbTop_);
}

void ScrollTrack::setThumbOffset(int offset) {
    thumbTop_ = std::clamp(offset, 0, height());
    // The thumb may hang over the track's foot by its own height, as the track is its range.
    thumb_->move((width() - thumb_->width()) / 2, std::min(thumbTop_, height() - thumb_->height()));
    update();
}

void ScrollTrack::dragTo(int y) {
    setThumbOffset(thumbTop_ + (y - anchor_));
    anchor_ = std::clamp(y, 0, height());
    Q_EMIT scrolled(static_cast<int>(static_cast<double>(thumbTop_) / height() * 100));
}

void ScrollTrack::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int track = trackWidth_ > 0 ? trackWidth_ : width();
    p.drawPixmap((width() - track) / 2, 0, DialogPicture(DialogPic::Track).scaled(track, height()));
    p.drawPixmap(thumb_->pos(), DialogPicture(DialogPic::Thumb));
}

void ScrollTrack::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Pressing the track drags the thumb to the pressed point.
    dragging_ = true;
    anchor_ = thumbTop_;
    dragTo(event->position().toPoint().y());
}

void ScrollTrack::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) dragTo(event->position().toPoint().y());
}

void ScrollTrack::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

bool ScrollTrack::eventFilter(QObject* watched, QEvent* event) {
    if (watched != thumb_) return QWidget::eventFilter(watched, event);
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse) return false;
    const int y = thumb_->mapToParent(mouse->position().toPoint()).y();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (mouse->button() == Qt::LeftButton) {
                dragging_ = true;
                anchor_ = y;
            }
            return true;
        case QEvent::MouseMove:
            if (dragging_) dragTo(y);
            return true;
        case QEvent::MouseButtonRelease:
            if (mouse->button() == Qt::LeftButton) dragging_ = false;
            return true;
        default:
            return false;
    }
}

// --- PreviewImage --------------------------------------------------------------------------

PreviewImage::PreviewImage(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
}

void PreviewImage::setPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void PreviewImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter p(this);
    p.fillRect(rect(), QColor(6, 8, 10));  // the screen's glass around a narrow picture
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize shown = picture_.size();
    shown.scale(size(), Qt::KeepAspectRatio);
    const QRect box(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    p.drawImage(box, picture_);
}

// --- FolderLabel -------------------------------------------------------------------------

FolderLabel::FolderLabel(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
}

void FolderLabel::setText(const QString& text) {
    text_ = text;
    setToolTip(text);
    update();
}

void FolderLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(Theme::Font(13, true));
    p.setPen(Theme::TextColour());
    p.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(text_, Qt::ElideLeft, width()));
}

// --- OptionMark ----------------------------------------------------------------------------

OptionMark::OptionMark(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setObjectName(objectName);
}

void OptionMark::setLook(Look look) {
    look_ = look;
    update();
}

void OptionMark::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DialogPic pic = DialogPic::OptionOff;
    switch (look_) {
        case Look::On:
            pic = DialogPic::OptionOn;
            break;
        case Look::Off:
            pic = DialogPic::OptionOff;
            break;
        case Look::Down:
            pic = DialogPic::OptionDown;
            break;
        case Look::Inactive:
            pic = DialogPic::OptionInactive;
            break;
    }
    const QPixmap mark = DialogPicture(pic);
    p.drawPixmap(0, (height() - mark.height()) / 2, mark);
    // The longest captions ("CPC SGX (fullsize)") must fit the 144 pixels between the two
    // columns: a condensed face, smaller where needed.
    const QRect box(mark.width() + 5, 0, width() - mark.width() - 5, height());
    QFont font = Theme::Font(13, true);
    font.setStretch(QFont::SemiCondensed);
    while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(caption_) > box.width())
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(look_ == Look::Inactive ? Theme::DimTextColour().darker(130) : Theme::TextColour());
    p.drawText(box, Qt::AlignVCenter | Qt::AlignLeft, caption_);
}

void OptionMark::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) return;
    setLook(Look::Down);
}

void OptionMark::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) return;
    if (rect().contains(event->position().toPoint())) Q_EMIT clicked();
    Q_EMIT released();
}

}  // namespace mozu
