#include "editor/qt_text_painter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include "editing/western_charset.h"

namespace mozu {

QString WesternText(std::string_view text) {
    QString s;
    s.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) {
        const char32_t u = WesternToUnicode(static_cast<unsigned char>(c));
        if (u != 0) s += QChar(static_cast<char16_t>(u));
    }
    return s;
}

QtTextPainter::QtTextPainter(const QFont& font) : font_(font) {
    font_.setStyleStrategy(QFont::StyleStrategy(font_.styleStrategy() | QFont::NoAntialias |
                                                QFont::NoSubpixelAntialias));
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    height_ = metrics.height();
}

int QtTextPainter::textWidth(std::string_view text) const {
    return QFontMetrics(font_).horizontalAdvance(WesternText(text));
}

int QtTextPainter::lineHeight() const {
    return height_;
}

void QtTextPainter::drawText(Picture& box, int x, int y, std::string_view text,
                             Colour colour) const {
    if (text.empty() || box.width() <= 0 || box.height() <= 0) return;
    QImage mask(box.width(), box.height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font_);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(x, y + ascent_), WesternText(text));
    }
    for (int py = 0; py < mask.height(); ++py) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(py));
        for (int px = 0; px < mask.width(); ++px)
            if (qAlpha(line[px]) >= 128) box.setPixel(px, py, colour);
    }
}

}  // namespace mozu
