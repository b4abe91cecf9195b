#include "app/picture_convert.h"

#include <cstring>

namespace mozu {

QImage ToQImage(const Picture& picture) {
    if (picture.empty()) return QImage();
    // Our bytes are blue, green, red: Qt's BGR888 exactly. Held as RGB32, the format the
    // screen paints from without converting again at every paint.
    const QImage view(picture.data(), picture.width(), picture.height(),
                      static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888);
    return view.convertToFormat(QImage::Format_RGB32);
}

Picture FromQImage(const QImage& image) {
    if (image.isNull()) return Picture();
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    Picture picture(bgr.width(), bgr.height());
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(picture.row(y), bgr.constScanLine(y), picture.stride());
    return picture;
}

}  // namespace mozu
