#include "editor/desktop_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace mozu {

QImage ImageOf(const Picture& picture) {
    // The picture's bytes are blue, green, red: Qt's BGR888 reads them as they are.
    return QImage(picture.data(), picture.width(), picture.height(),
                  static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888)
        .convertToFormat(QImage::Format_RGB32);
}

Picture PictureOf(const QImage& image) {
    // Transparent parts of an image from another program come as the colours under their alpha.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture picture(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            picture.setPixel(x, y, MakeColour(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
    }
    return picture;
}

DesktopClipboard::DesktopClipboard(QObject* parent) : QObject(parent) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            if (!offering_) changedSinceOwn_ = true;
        });
}

void DesktopClipboard::offer(const Picture& block) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || block.empty()) return;
    own_ = ImageOf(block);
    offering_ = true;
    clipboard->setImage(own_);
    offering_ = false;
    changedSinceOwn_ = false;
}

std::optional<Picture> DesktopClipboard::newerImage(bool ownEmpty) const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !(ownEmpty || changedSinceOwn_)) return std::nullopt;
    const QImage image = clipboard->image();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return std::nullopt;
    // Some platforms report the editor's own setImage later; its own block maps better from
    // the editor's clipboard, which knows the slot it came from.
    if (!ownEmpty && !own_.isNull() && image.convertToFormat(QImage::Format_RGB32) == own_)
        return std::nullopt;
    return PictureOf(image);
}

}  // namespace mozu
