#include "skin/skin_label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "skin/theme.h"

namespace mozu {

namespace {

// The text's lines: "\n\r" is one line break.
QStringList Lines(const QString& text) {
    QString plain = text;
    plain.remove(QChar('\r'));
    return plain.split(QChar('\n'));
}

// The size the lines take in `font`, word-wrapped to `width` where `wrap`.
QSize TextSize(const QFont& font, const QStringList& lines, int width, bool wrap) {
    const QFontMetrics m(font);
    if (wrap)
        return m.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, lines.join('\n'))
            .size();
    int w = 0;
    for (const QString& line : lines) w = std::max(w, m.horizontalAdvance(line));
    return QSize(w, static_cast<int>(lines.size()) * m.lineSpacing());
}

}  // namespace

SkinLabel::SkinLabel(const QString& objectName, QWidget* parent)
    : QWidget(parent), colour_(Theme::TextColour()) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TranslucentBackground);
    shownFont_ = font();
}

void SkinLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    fit();
    update();
}

void SkinLabel::setAlignment(Qt::Alignment a) {
    alignment_ = a;
    update();
}

void SkinLabel::setWordWrap(bool on) {
    wrap_ = on;
    fit();
    update();
}

void SkinLabel::setColour(const QColor& c) {
    colour_ = c;
    update();
}

void SkinLabel::resizeEvent(QResizeEvent*) {
    fit();
}

void SkinLabel::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) fit();
    QWidget::changeEvent(e);
}

void SkinLabel::fit() {
    shownFont_ = font();
    shownLines_ = text_.isEmpty() ? QStringList() : Lines(text_);
    elided_ = false;
    const QSize box = size();
    if (shownLines_.isEmpty() || box.isEmpty()) {
        wholeText_.clear();
        showToolTip();
        return;
    }
    // A font in points is measured in its pixel size.
    if (shownFont_.pixelSize() <= 0)
        shownFont_.setPixelSize(std::max(1, QFontMetrics(shownFont_).height()));
    const auto fits = [&](const QFont& f) {
        const QSize s = TextSize(f, shownLines_, box.width(), wrap_);
        return s.width() <= box.width() && s.height() <= box.height();
    };
    const bool whole = fits(shownFont_);
    while (!fits(shownFont_) && shownFont_.pixelSize() > kSmallestPixelSize)
        shownFont_.setPixelSize(shownFont_.pixelSize() - 1);
    if (!fits(shownFont_)) {
        // Still too large at the smallest size: as many lines as the box holds, each cut to its
        // width.
        const QFontMetrics m(shownFont_);
        const int rows = std::max(1, box.height() / std::max(1, m.lineSpacing()));
        if (shownLines_.size() > rows) {
            shownLines_ = shownLines_.mid(0, rows);
            shownLines_.back() += QStringLiteral("…");
        }
        for (QString& line : shownLines_) line = m.elidedText(line, Qt::ElideRight, box.width());
        elided_ = true;
    }
    // A text shown smaller or cut can be read whole in the tooltip.
    wholeText_ = whole ? QString() : Lines(text_).join('\n');
    showToolTip();
}

void SkinLabel::setToolTipNote(const QString& note) {
    note_ = note;
    showToolTip();
}

void SkinLabel::showToolTip() {
    QStringList parts;
    if (!wholeText_.isEmpty()) parts << wholeText_;
    if (!note_.isEmpty()) parts << note_;
    setToolTip(parts.join('\n'));
}

void SkinLabel::paintEvent(QPaintEvent*) {
    if (shownLines_.isEmpty()) return;
    const QString shown = shownLines_.join('\n');
    QPainter p(this);
    p.setFont(shownFont_);
    int flags = static_cast<int>(alignment_);
    if (wrap_ && !elided_) flags |= Qt::TextWordWrap;
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(rect().translated(1, 1), flags, shown);
    p.setPen(colour_);
    p.drawText(rect(), flags, shown);
}

}  // namespace mozu
