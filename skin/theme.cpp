#include "skin/theme.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QSet>
#include <QtGlobal>

// The resources live in the static mozu_skin library: referencing their initialiser keeps the
// linker from dropping them.
static void InitSkinResources() {
    Q_INIT_RESOURCE(skin);
}

namespace mozu {

namespace {

QString PathOf(const QString& name) {
    return QStringLiteral(":/skin/") + name + ".png";
}

void EnsureResources() {
    static const bool done = [] {
        InitSkinResources();
        return true;
    }();
    (void)done;
}

}  // namespace

QPixmap Theme::Picture(const QString& name) {
    EnsureResources();
    const QString key = QStringLiteral("mozu-skin-") + name;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    if (!pixmap.load(PathOf(name))) {
        static QSet<QString> warned;
        if (!warned.contains(name)) {
            warned.insert(name);
            qWarning("Mozu skin: no picture named %s", qPrintable(name));
        }
        return QPixmap();
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

bool Theme::Has(const QString& name) {
    EnsureResources();
    return QFile::exists(PathOf(name));
}

QPixmap Theme::Opaque(const QString& name, const QColor& under) {
    const QPixmap picture = Picture(name);
    if (picture.isNull()) return picture;
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(under);
    QPainter p(&opaque);
    p.drawPixmap(0, 0, picture);
    p.end();
    return QPixmap::fromImage(opaque);
}

QFont Theme::Font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

}  // namespace mozu
