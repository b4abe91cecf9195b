#include "app_test_support.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QTest>

#include <QTimer>
#include <QUrl>
#include "skin/skinned_window.h"

#include "dialogs/dialog_widgets.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "skin/picture_key.h"
#include "skin/skin_label.h"

namespace mozu::app_test {

MessageScript::MessageScript(MessageWindow& window) : window_(window) {
    connect(&window_, &MessageWindow::messageShown, this, &MessageScript::OnShown);
}

void MessageScript::Add(std::function<void()> answer) {
    answers_.emplace_back(std::exchange(snap_, QString()), std::move(answer));
}

MessageScript& MessageScript::Yes() {
    Add([this] { Click(window_.findChild<PictureKey*>("KeyGreen01")); });
    return *this;
}

MessageScript& MessageScript::No() {
    Add([this] { Click(window_.findChild<PictureKey*>("KeyRed01")); });
    return *this;
}

MessageScript& MessageScript::Ok() {
    Add([this] { Click(window_.findChild<PictureKey*>("Key01")); });
    return *this;
}

MessageScript& MessageScript::Name(const QString& name) {
    Add([this, name] {
        auto* edit = window_.findChild<QLineEdit*>("Edit1");
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    return *this;
}

MessageScript& MessageScript::Do(std::function<void()> act) {
    Add(std::move(act));
    return *this;
}

MessageScript& MessageScript::Snap(const QString& file) {
    snap_ = file;
    return *this;
}

void MessageScript::OnShown() {
    shown.push_back({window_.shownKind(), window_.findChild<SkinLabel*>("Label1")->text()});
    std::function<void()> answer;
    QString snap;
    if (answers_.empty()) {
        ++unexpected;
        answer = [this] { window_.close(); };
    } else {
        snap = answers_.front().first;
        answer = answers_.front().second;
        answers_.pop_front();
    }
    // The answer comes from the event loop, as a user's click would.
    QTimer::singleShot(0, this, [this, answer, snap] {
        if (!snap.isEmpty()) Screenshot(&window_, snap);
        answer();
    });
}

void WhenVisible(QWidget* w, std::function<void()> act) {
    auto* timer = new QTimer(w);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, w, [w, timer, act] {
        if (!w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start();
}

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(2);
    }
    return done();
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(1);
    }
}

void Click(QWidget* w) {
    if (!w) {
        ADD_FAILURE() << "no such widget to click";
        return;
    }
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void PickInOpenDialog(QWidget* dialog, const QString& fileName) {
    WhenVisible(dialog, [dialog, fileName] {
        if (fileName.isEmpty()) {
            Click(dialog->findChild<PictureKey*>("KeyRed01"));
            return;
        }
        for (const char* name : {"ListBox1", "ListBox2", "ListBox3"}) {
            auto* column = dialog->findChild<EntryColumn*>(name);
            for (int row = 0; column && row < column->count(); ++row) {
                if (column->text(row) != fileName) continue;
                column->setSelectedRow(row);  // scrolled into view, as the scroll bar does
                QTest::mouseClick(column, Qt::LeftButton, {}, column->rowRect(row).center());
                Click(dialog->findChild<PictureKey*>("KeyGreen01"));
                return;
            }
        }
        ADD_FAILURE() << "the open dialog does not list " << fileName.toStdString();
        Click(dialog->findChild<PictureKey*>("KeyRed01"));
    });
}

void AnswerSaveDialog(QWidget* dialog, const QString& name) {
    WhenVisible(dialog, [dialog, name] {
        if (name.isEmpty()) {
            Click(dialog->findChild<PictureKey*>("KeyRed01"));
            return;
        }
        auto* edit = dialog->findChild<QLineEdit*>("Edit1");
        edit->selectAll();
        QTest::keyClicks(edit, name);
        Click(dialog->findChild<PictureKey*>("KeyGreen01"));
    });
}

void DropFiles(QWidget* window, const QStringList& paths) {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    mime->setUrls(urls);  // text/uri-list
    const QPointF where(400, 300);
    QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(where, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    Settle();
    delete mime;
}

void Screenshot(QWidget* w, const QString& file) {
    const QString folder = QStringLiteral(MOZU_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    // The window's own shape, the rest transparent.
    QPixmap grabbed = w->grab();
    QImage picture(grabbed.size(), QImage::Format_ARGB32_Premultiplied);
    // At a scale factor the picture has more pixels than the window: drawn in the window's
    // own coordinates, the shape and the grab line up.
    picture.setDevicePixelRatio(grabbed.devicePixelRatio());
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    if (const auto* skinned = qobject_cast<const SkinnedWindow*>(w);
        skinned && !skinned->shape().isEmpty())
        p.setClipRegion(skinned->shape());
    p.drawPixmap(0, 0, grabbed);
    p.end();
    picture.save(folder + '/' + file + ".png");
}

QImage ThreeColourPicture(int w, int h) {
    QImage picture(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixelColor(x, y,
                                  x < w / 3       ? QColor(255, 0, 0)
                                  : x < 2 * w / 3 ? QColor(0, 0, 128)
                                                  : QColor(255, 255, 255));
    return picture;
}

QString SamplePhoto() {
    return QStringLiteral(MOZU_SOURCE_DIR "/samples/sample.jpg");
}

Program::Program() {
    windows_ = std::make_unique<MozuWindows>();
    script_ = std::make_unique<MessageScript>(*windows_->msg);
    windows_->main->show();
    Settle();
}

Program::~Program() {
    script_.reset();
    windows_.reset();
}

QString Program::Text(const char* label) const {
    auto* l = windows_->main->findChild<SkinLabel*>(label);
    return l ? l->text() : QString("<no %1>").arg(label);
}

QString Program::Write(const QString& name, const QImage& image) const {
    const QString path = folder() + name;
    image.save(path);
    return path;
}

}  // namespace mozu::app_test
