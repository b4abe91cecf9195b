#pragma once
// MessageWindow: the program's only message box, a shaped window of its own. It asks yes/no
// (kind 0), shows an error (kind 1), a notice (kind 2) or asks for a name (kind 4). It never
// blocks: Execute shows it and returns; the caller waits, processing events, until its
// answered flag is 1, then reads its answer byte (1 yes, 2 no, 4 the single button).
//
// One message is shown at a time. A message that arrives while another is shown waits its
// turn in a queue; every caller's flags are answered in order, none is lost. The owner window
// stays disabled while it has a message shown or waiting.

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <deque>

#include "skin/skinned_window.h"

class QLineEdit;

namespace mozu {

class PictureKey;
class SkinLabel;

class MessageWindow : public SkinnedWindow {
    Q_OBJECT
  public:
    static constexpr int kQuestion = 0;
    static constexpr int kError = 1;
    static constexpr int kNotice = 2;
    static constexpr int kNameRequest = 4;
    static constexpr std::uint8_t kYes = 1;
    static constexpr std::uint8_t kNo = 2;
    static constexpr std::uint8_t kSingle = 4;

    explicit MessageWindow(QWidget* parent = nullptr);

    // An empty text shows the error table's text of `kind` (then an error code) as kind 1.
    // `nameLength` limits the name field of kind 4 (7 for a file name; 0 for any length).
    // The flags must live until answered is 1.
    void Execute(QWidget* owner, std::uint8_t& answered, std::uint8_t& answer, int kind,
                 const QString& text, int nameLength = 7);

    // The name typed for the last answered name request.
    QString EnteredName() const { return enteredName_; }
    int shownKind() const { return kind_; }
    int waiting() const { return static_cast<int>(queue_.size()); }
    // Whether a message is on show (or waiting).
    bool busy() const { return showing_; }

  Q_SIGNALS:
    // A message was put on show (tests and screenshots hook in here).
    void messageShown();

  protected:
    void closeEvent(QCloseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    struct Request {
        QWidget* owner;
        std::uint8_t* answered;
        std::uint8_t* answer;
        int kind;
        QString text;
        int nameLength;
    };

    void showRequest(const Request& r);
    // Answers the message on show with `value`, then shows the next one waiting.
    void answerWith(std::uint8_t value);
    // Handlers.
    void answerYes() { answerWith(kYes); }       // KeyGreen01
    void answerNo() { answerWith(kNo); }         // KeyRed01
    void answerOk() { answerWith(kSingle); }     // Key01
    void confirmName() { answerWith(kSingle); }  // Enter in Edit1
    bool ownerHasMore(QWidget* owner) const;

    // Controls, with their object names.
    SkinLabel* textLabel_ = nullptr;    // Label1: the message
    SkinLabel* nameCaption_ = nullptr;  // Label2: "New file name ", "Folder name ", "Mode "
    QLineEdit* nameEdit_ = nullptr;     // Edit1
    PictureKey* yesButton_ = nullptr;   // KeyGreen01
    PictureKey* noButton_ = nullptr;    // KeyRed01
    PictureKey* okButton_ = nullptr;    // Key01, the single button
    // The backgrounds (MsgImage1-3) of a question, an error, a notice.
    QPixmap questionBackground_, errorBackground_, noticeBackground_;

    bool showing_ = false;
    int kind_ = -1;
    Request current_{};
    std::deque<Request> queue_;
    QString enteredName_;
};

}  // namespace mozu
