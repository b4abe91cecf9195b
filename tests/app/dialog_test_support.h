#pragma once
// Fixtures of the file dialogs' tests: the application object (offscreen), a temporary folder,
// a scripted asker, clicks on the dialogs' own widgets and screenshots for the reviewers.

#include "colour/conversion_state.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_widgets.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"

namespace mozu::dialog_test {

// One QApplication for the test program, offscreen unless a platform was chosen; the program's
// own main may have made it already.
inline void EnsureApp() {
    static std::unique_ptr<QApplication> app;
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "mozu_app_tests";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
}

// The shared scripted asker; the dialogs' tests make theirs answer yes (Otherwise::kYes).
using test::Otherwise;
using test::ScriptedAsker;

// The shared temporary folder in Qt's strings, its path with the trailing '/'.
class TempFolder {
  public:
    QString path() const { return QString::fromStdString(dir_.path().string()) + '/'; }
    QString file(const QString& name) const { return path() + name; }
    void touch(const QString& name) const;
    void mkdir(const QString& name) const { QDir(path()).mkpath(name); }

  private:
    test::TempDir dir_;
};

inline void TempFolder::touch(const QString& name) const {
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly)) f.write("x");
}

template <class T>
T* Find(QWidget* dialog, const char* name) {
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

// Clicks row `row` of a column as a user would (the row is on show after a scroll).
inline void ClickRow(EntryColumn* column, int row) {
    QTest::mouseClick(column, Qt::LeftButton, {}, column->rowRect(row).center());
}
inline void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

inline std::vector<QString> Texts(const EntryColumn* column) {
    std::vector<QString> texts;
    for (const Entry& e : column->entries()) texts.push_back(e.text);
    return texts;
}

// The dialog as it looks, for reviewers: build/screenshots/<name>.png.
inline void SaveScreenshot(QWidget* w, const QString& name) {
    const QString folder = QStringLiteral(MOZU_BINARY_DIR "/screenshots/");
    QDir().mkpath(folder);
    w->grab().save(folder + name + ".png");
}

}  // namespace mozu::dialog_test
