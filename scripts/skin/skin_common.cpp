#include "skin_common.h"

#include <QDir>
#include <QFont>
#include <cstdio>
#include <map>

namespace skin {

bool Output::save(const QString& name, const QImage& picture) {
    const QString path = QDir(folder_).filePath(name + ".png");
    if (!picture.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok_ = false;
        return false;
    }
    names_.push_back(name);
    return true;
}

std::vector<SkinDrawer>& SkinDrawers() {
    static std::vector<SkinDrawer> drawers;
    return drawers;
}

QImage NewPicture(int w, int h, QColor fill) {
    QImage picture(w, h, QImage::Format_ARGB32_Premultiplied);
    picture.fill(fill);
    return picture;
}

void BeginPainter(QPainter& p, QImage& picture) {
    p.begin(&picture);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QLinearGradient Vertical(const QRectF& rect, QColor top, QColor bottom) {
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void DrawKey(QPainter& p, const QRectF& rect, QColor base, bool down, qreal radius) {
    p.save();
    const QRectF outer = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    // A dark rim all round, the seat the key sits in.
    p.setPen(QPen(colour::kGroove, 1));
    p.setBrush(colour::kGroove);
    p.drawRoundedRect(outer, radius, radius);
    const QRectF face = outer.adjusted(1.5, down ? 2.5 : 1.5, -1.5, down ? -0.5 : -2.5);
    const QColor top = down ? base.darker(135) : base.lighter(150);
    const QColor bottom = down ? base.darker(105) : base.darker(115);
    p.setPen(Qt::NoPen);
    if (!down) {  // the key's side, seen under the face
        p.setBrush(base.darker(220));
        p.drawRoundedRect(outer.adjusted(1.5, 3.5, -1.5, -1.0), radius - 1, radius - 1);
    }
    p.setBrush(Vertical(face, top, bottom));
    p.drawRoundedRect(face, radius - 1.5, radius - 1.5);
    // A thin highlight along the upper edge of a raised key.
    if (!down) {
        p.setPen(QPen(base.lighter(200), 1));
        p.drawLine(QPointF(face.left() + radius, face.top() + 0.5),
                   QPointF(face.right() - radius, face.top() + 0.5));
    }
    p.restore();
}

void DrawEngraved(QPainter& p, const QPainterPath& path, qreal width) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 40), width));
    p.drawPath(path.translated(0, 1));
    p.setPen(QPen(QColor(0, 0, 0, 170), width));
    p.drawPath(path);
    p.restore();
}

void DrawStripes(QPainter& p, qreal x, qreal y, qreal w, qreal h, qreal gap) {
    const QColor stripes[] = {colour::kStripeRed, colour::kStripeGreen, colour::kStripeBlue};
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(stripes[i]);
        p.drawRect(QRectF(x, y + i * (h + gap), w, h));
    }
    p.restore();
}

namespace {

// 5 x 7 dot glyphs, a row a string, '#' a dot.
const std::map<QChar, std::array<const char*, 7>>& Glyphs() {
    static const std::map<QChar, std::array<const char*, 7>> glyphs = {
        {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
        {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
        {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
        {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
        {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
        {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
        {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
        {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
        {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
        {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
        {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
        {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
        {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
        {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
        {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
        {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
        {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
        {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
        {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
        {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
        {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
        {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
        {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
        {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
        {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
        {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
        {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
        {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
        {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
        {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
        {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
        {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
        {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
        {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
        {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
        {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
        {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
        {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
        {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
        {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
        {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
        {'/', {"     ", "    #", "   # ", "  #  ", " #   ", "#    ", "     "}},
        {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
    };
    return glyphs;
}

}  // namespace

qreal BlockTextWidth(const QString& text, qreal dot) {
    return text.isEmpty() ? 0 : (text.size() * 6 - 1) * dot;
}

qreal DrawBlockText(QPainter& p, qreal x, qreal y, const QString& text, qreal dot, QColor c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);  // dots stay square and sharp
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    qreal left = x;
    for (QChar ch : text) {
        auto it = Glyphs().find(ch.toUpper());
        if (it != Glyphs().end()) {
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (it->second[static_cast<std::size_t>(row)][col] == '#')
                        p.drawRect(QRectF(left + col * dot, y + row * dot, dot, dot));
        }
        left += 6 * dot;
    }
    p.restore();
    return BlockTextWidth(text, dot);
}

QFont SansFont(int pixelSize, bool bold) {
    QFont f("DejaVu Sans");
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace skin
