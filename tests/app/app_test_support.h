#pragma once
// Fixtures of the main and message window tests: the program's eight windows, a script that
// answers the message window as a user would (clicking its keys), helpers that drive the file
// dialogs through their own widgets, small pictures made in code, and screenshots.

#include "colour/conversion_state.h"

#include <QImage>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "tests/support/temp_dir.h"

namespace mozu::app_test {

// One message the window showed: its kind and Label1's text.
struct Shown {
    int kind;
    QString text;
};

// Answers the message window's messages in order, clicking its keys. A message with no answer
// left is recorded as unexpected and closed (a question then counts as "no").
class MessageScript : public QObject {
  public:
    explicit MessageScript(MessageWindow& window);

    MessageScript& Yes();
    MessageScript& No();
    MessageScript& Ok();                       // the single button
    MessageScript& Name(const QString& name);  // types the name and presses Enter
    // Runs `act` while the message is on show; `act` answers it (or leaves it to the user).
    MessageScript& Do(std::function<void()> act);
    // Saves a screenshot of the message window under `file` before answering the next message.
    MessageScript& Snap(const QString& file);

    std::vector<Shown> shown;
    int unexpected = 0;

  private:
    void OnShown();
    void Add(std::function<void()> answer);
    MessageWindow& window_;
    // Each answer with the screenshot to take before it.
    std::deque<std::pair<QString, std::function<void()>>> answers_;
    QString snap_;
};

// Runs `act` as soon as `w` is on show (the code under test is then waiting in its loop).
void WhenVisible(QWidget* w, std::function<void()> act);
// Processes events until `done` or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done, int ms = 5000);
void Settle();
// A user's click in the middle of a widget.
void Click(QWidget* w);

// The open dialog, once on show: clicks `fileName` in its columns, then OK (or Cancel when
// fileName is empty).
void PickInOpenDialog(QWidget* dialog, const QString& fileName);
// The save dialog, once on show: types `name` and presses OK (or Cancel when name is empty).
void AnswerSaveDialog(QWidget* dialog, const QString& name);

// Drops `paths` on the window as a file manager does (text/uri-list).
void DropFiles(QWidget* window, const QStringList& paths);

// Saves w's picture as MOZU_BINARY_DIR/screenshots/<file>.png.
void Screenshot(QWidget* w, const QString& file);

// Pictures made in code.
QImage ThreeColourPicture(int w = 64, int h = 40);
QString SamplePhoto();

// The program's windows for one test, the main window shown.
class Program {
  public:
    Program();
    ~Program();
    MainWindow& main() { return *windows_->main; }
    MessageWindow& msg() { return *windows_->msg; }
    MozuWindows& windows() { return *windows_; }
    MessageScript& script() { return *script_; }
    QString Text(const char* label) const;  // a SkinLabel's text
    QString folder() const { return QString::fromStdString(dir_.path().string()) + '/'; }
    QString Write(const QString& name, const QImage& image) const;  // saved into the folder

  private:
    test::TempDir dir_;
    std::unique_ptr<MozuWindows> windows_;
    std::unique_ptr<MessageScript> script_;
};

}  // namespace mozu::app_test
