#include "app/gui_asker.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>

#include "app/message_window.h"
#include "platform/io_error.h"

namespace mozu {

void WaitForFlag(const std::uint8_t& flag) {
    // A volatile read: the flag is set by event handlers run from inside processEvents.
    const volatile std::uint8_t* f = &flag;
    while (*f == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QString ErrorTextNaming(int code, const QString& path) {
    const std::string_view text = ErrorText(code);
    QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (path.isEmpty()) return message;
    const QString name = QFileInfo(path).fileName();
    return message + "\n\r" + (name.isEmpty() ? path : name);
}

QWidget* GuiAsker::Owner() const {
    // The window the user is working in (a file dialog asking for itself), else the main one.
    QWidget* active = QApplication::activeWindow();
    if (active && active != window_ && active->isVisible()) return active;
    return owner_.data();
}

std::uint8_t GuiAsker::Ask(int kind, const QString& text, int nameLength) {
    if (!window_) return MessageWindow::kNo;  // no window to ask with: nothing is agreed to
    std::uint8_t answered = 0;
    std::uint8_t answer = 0;
    window_->Execute(Owner(), answered, answer, kind, text, nameLength);
    WaitForFlag(answered);
    return answer;
}

void GuiAsker::notifyWithoutWaiting(const QString& text) {
    if (!window_) return;
    std::erase_if(unwaited_, [](const auto& flags) { return flags.first != 0; });
    auto& [answered, answer] = unwaited_.emplace_back(0, 0);
    window_->Execute(Owner(), answered, answer, MessageWindow::kNotice, text);
}

bool GuiAsker::askYesNo(const std::string& text) {
    return Ask(MessageWindow::kQuestion, QString::fromStdString(text)) == MessageWindow::kYes;
}

std::optional<std::string> GuiAsker::askName(const std::string& prompt, int maxLength) {
    if (Ask(MessageWindow::kNameRequest, QString::fromStdString(prompt), maxLength) !=
        MessageWindow::kSingle)
        return std::nullopt;
    return window_->EnteredName().toStdString();
}

void GuiAsker::notify(const std::string& text) {
    Ask(MessageWindow::kNotice, QString::fromStdString(text));
}

void GuiAsker::showError(const IoError& error) {
    showErrorCode(error.code());
}

void GuiAsker::showErrorCode(int code) {
    // An empty text makes the message window show the code's text as an error (kind 1).
    Ask(code, QString());
}

}  // namespace mozu
