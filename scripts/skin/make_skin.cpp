// Draws every picture of Mozu's skin and writes them, with the resource list skin.qrc, into
// the folder given (skin/pictures); given an icon folder and name too, also the program's
// icons for the desktop (desktop/icons). Run through scripts/make-skin.sh.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "skin_common.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: make_skin OUTPUT_FOLDER [ICON_FOLDER ICON_NAME]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    skin::Output out(folder);
    auto drawers = skin::SkinDrawers();
    std::sort(drawers.begin(), drawers.end(),
              [](const skin::SkinDrawer& a, const skin::SkinDrawer& b) {
                  return qstrcmp(a.name, b.name) < 0;
              });
    for (const auto& drawer : drawers) {
        std::printf("drawing %s\n", drawer.name);
        drawer.draw(out);
    }
    if (!out.ok()) return 1;

    auto names = out.names();
    std::sort(names.begin(), names.end());
    QFile qrc(QDir(folder).filePath("skin.qrc"));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write skin.qrc\n");
        return 1;
    }
    QTextStream s(&qrc);
    s << "<!DOCTYPE RCC>\n<!-- Written by scripts/skin/make_skin: do not edit. -->\n"
      << "<RCC version=\"1.0\">\n  <qresource prefix=\"/skin\">\n";
    for (const auto& n : names) s << "    <file>" << n << ".png</file>\n";
    s << "  </qresource>\n</RCC>\n";
    std::printf("%zu pictures written to %s\n", names.size(), argv[1]);
    // The desktop's icons of the program (desktop/icons), drawn like the skin's own.
    if (argc == 4 &&
        !skin::WriteDesktopIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])))
        return 1;
    return 0;
}
