#pragma once
// The core's questions answered by the user through the message window. Each call shows the
// message and waits without blocking: it keeps processing events (timers, other windows, the
// message window's own keys) until the answered flag is set.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <list>

#include "platform/asker.h"

namespace mozu {

class IoError;
class MessageWindow;

class GuiAsker : public Asker {
  public:
    // The message window is created after the windows that ask through it; it is attached
    // once it exists. `owner`: the window disabled while a message is on show when no other
    // program window is active (the main window).
    GuiAsker() = default;
    void Attach(MessageWindow* window, QWidget* owner) {
        window_ = window;
        owner_ = owner;
    }

    bool askYesNo(const std::string& text) override;
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override;
    void notify(const std::string& text) override;

    // An input/output error, shown by its code's text (an error message, kind 1).
    void showError(const IoError& error);
    void showErrorCode(int code);

    // The message window (null until attached).
    MessageWindow* window() const { return window_; }

    // Shows a message of `kind` and waits for its answer byte.
    std::uint8_t Ask(int kind, const QString& text, int nameLength = 7);
    // Shows a notice (kind 2) and returns at once: the end of a video conversion is told
    // without holding up the timer tick that ended it.
    void notifyWithoutWaiting(const QString& text);

  private:
    QWidget* Owner() const;

    MessageWindow* window_ = nullptr;
    QPointer<QWidget> owner_;
    // The flags of notices nobody waits for: they must live until answered.
    std::list<std::pair<std::uint8_t, std::uint8_t>> unwaited_;
};

// An error about one file or folder: the code's text, then the file's name (a folder's whole
// path) on a line of its own; the code's text alone without a path.
QString ErrorTextNaming(int code, const QString& path);

// Waits, processing events, until `flag` is set.
void WaitForFlag(const std::uint8_t& flag);

}  // namespace mozu
