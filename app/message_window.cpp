#include "app/message_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QWindow>

#include "app/message_window_layout.h"
#include "platform/io_error.h"
#include "skin/picture_key.h"
#include "skin/shape.h"
#include "skin/skin_label.h"
#include "skin/theme.h"

namespace mozu {

namespace M = message_layout;

namespace {

QRect ToRect(const layout::Box& b) {
    return QRect(b.x, b.y, b.w, b.h);
}

}  // namespace

MessageWindow::MessageWindow(QWidget* parent) : SkinnedWindow(Dragging::None, parent) {
    setObjectName("MessageWindow");
    setWindowTitle("Mozu");
    setFixedSize(M::kWidth, M::kHeight);
    setAttribute(Qt::WA_TranslucentBackground);
    setShape(MessageWindowShape());

    questionBackground_ = Theme::Picture("MsgImage1");
    errorBackground_ = Theme::Picture("MsgImage2");
    noticeBackground_ = Theme::Picture("MsgImage3");
    setBackground(questionBackground_);

    textLabel_ = new SkinLabel("Label1", this);
    textLabel_->setGeometry(ToRect(M::kLabel1));
    textLabel_->setFont(Theme::Font(16, true));
    textLabel_->setAlignment(Qt::AlignCenter);
    textLabel_->setWordWrap(true);

    nameCaption_ = new SkinLabel("Label2", this);
    nameCaption_->setGeometry(ToRect(M::kLabel2));
    nameCaption_->setFont(Theme::Font(12, true));
    nameCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    nameCaption_->setText("New file name ");
    nameCaption_->hide();

    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName("Edit1");
    nameEdit_->setGeometry(ToRect(M::kEdit1));
    nameEdit_->setMaxLength(7);
    nameEdit_->setFont(Theme::Font(13, true));
    nameEdit_->setStyleSheet(
        "QLineEdit { color: white; background: #000080; border: 1px solid #7880a0;"
        " border-radius: 3px; padding: 0 3px; selection-background-color: #2860d0; }");
    nameEdit_->hide();
    connect(nameEdit_, &QLineEdit::returnPressed, this, [this] { confirmName(); });

    yesButton_ = new PictureKey("KeyGreen01", this);
    yesButton_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
    yesButton_->move(M::kKeyGreen01.x, M::kKeyGreen01.y);
    yesButton_->setCaption("Yes");
    connect(yesButton_, &PictureKey::clicked, this, [this] { answerYes(); });

    noButton_ = new PictureKey("KeyRed01", this);
    noButton_->setPictures("MsgKeyRedUp", "MsgKeyRedDown");
    noButton_->move(M::kKeyRed01.x, M::kKeyRed01.y);
    noButton_->setCaption("No");
    connect(noButton_, &PictureKey::clicked, this, [this] { answerNo(); });

    okButton_ = new PictureKey("Key01", this);
    okButton_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
    okButton_->move(M::kKey01.x, M::kKey01.y);
    okButton_->setCaption("OK");
    connect(okButton_, &PictureKey::clicked, this, [this] { answerOk(); });
}

void MessageWindow::Execute(QWidget* owner, std::uint8_t& answered, std::uint8_t& answer, int kind,
                            const QString& text, int nameLength) {
    Request r{owner, &answered, &answer, kind, text, nameLength};
    // An empty text: the kind is an error code; show its text as an error message.
    if (r.text.isEmpty()) {
        r.text = QString::fromUtf8(ErrorText(kind).data(),
                                   static_cast<qsizetype>(ErrorText(kind).size()));
        r.kind = kError;
    }
    answered = 0;
    if (owner) owner->setEnabled(false);
    if (showing_) {
        queue_.push_back(r);  // shown when the one on show is answered
        return;
    }
    showRequest(r);
}

void MessageWindow::showRequest(const Request& r) {
    current_ = r;
    showing_ = true;
    kind_ = r.kind;
    switch (r.kind) {
        case kQuestion:
            setBackground(questionBackground_);
            yesButton_->show();
            noButton_->show();
            okButton_->hide();
            nameEdit_->hide();
            nameCaption_->hide();
            break;
        case kError:
            setBackground(errorBackground_);
            yesButton_->hide();
            noButton_->hide();
            okButton_->setPictures("MsgKeyRedUp", "MsgKeyRedDown");
            okButton_->show();
            nameEdit_->hide();
            nameCaption_->hide();
            break;
        case kNotice:
            setBackground(noticeBackground_);
            yesButton_->hide();
            noButton_->hide();
            okButton_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
            okButton_->show();
            nameEdit_->hide();
            nameCaption_->hide();
            break;
        case kNameRequest:
            setBackground(questionBackground_);
            yesButton_->hide();
            noButton_->hide();
            okButton_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
            okButton_->show();
            nameEdit_->clear();
            // A file name takes 7 characters; a folder name any number.
            nameEdit_->setMaxLength(r.nameLength > 0 ? r.nameLength : 32767);
            nameEdit_->show();
            // A one-character answer is a screen dump's mode (0, 1 or 2), not a file name.
            nameCaption_->setText(r.nameLength == 1  ? "Mode "
                                  : r.nameLength > 0 ? "New file name "
                                                     : "Folder name ");
            nameCaption_->show();
            break;
        default:  // any other kind keeps the last layout
            break;
    }
    // Centred on the owner (the main window, or a dialog asking for itself).
    QWidget* anchor = r.owner && r.owner->isVisible() ? r.owner->window() : nullptr;
    QRect area = anchor ? anchor->frameGeometry()
                        : (QGuiApplication::primaryScreen()
                               ? QGuiApplication::primaryScreen()->availableGeometry()
                               : QRect(0, 0, 1024, 768));
    move(area.center() - QPoint(width() / 2, height() / 2));
    // Kept above the window it belongs to: a window manager never lets that window cover it.
    if (anchor && anchor->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(anchor->windowHandle());
    }
    show();
    raise();
    activateWindow();
    textLabel_->setText(r.text);
    if (nameEdit_->isVisible()) nameEdit_->setFocus();
    update();
    Q_EMIT messageShown();
}

bool MessageWindow::ownerHasMore(QWidget* owner) const {
    for (const Request& r : queue_)
        if (r.owner == owner) return true;
    return false;
}

void MessageWindow::answerWith(std::uint8_t value) {
    if (!showing_) return;
    const Request r = current_;
    if (value == kSingle && nameEdit_->isVisible()) enteredName_ = nameEdit_->text();
    showing_ = false;
    hide();
    *r.answer = value;
    *r.answered = 1;
    if (r.owner && !ownerHasMore(r.owner)) r.owner->setEnabled(true);
    if (!queue_.empty()) {
        const Request next = queue_.front();
        queue_.pop_front();
        showRequest(next);
    }
}

void MessageWindow::closeEvent(QCloseEvent* e) {
    // Closed by the window manager: a question is answered "no", anything else as by its one
    // button. The window itself only hides.
    e->ignore();
    if (!showing_) {
        hide();
        return;
    }
    answerWith(kind_ == kQuestion ? kNo : kSingle);
}

void MessageWindow::keyPressEvent(QKeyEvent* e) {
    // Escape answers like closing the window; Enter like the single button.
    if (e->key() == Qt::Key_Escape && showing_) {
        answerWith(kind_ == kQuestion ? kNo : kSingle);
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && showing_ &&
        okButton_->isVisible()) {
        answerWith(kSingle);
        return;
    }
    QWidget::keyPressEvent(e);
}

}  // namespace mozu
