#include "app/message_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>

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
    setObjectName("TMsgWindow");
    setWindowTitle("Mozu");
    setFixedSize(M::kWidth, M::kHeight);
    setAttribute(Qt::WA_TranslucentBackground);
    setShape(MessageWindowShape());

    image1_ = Theme::Picture("MsgImage1");
    image2_ = Theme::Picture("MsgImage2");
    image3_ = Theme::Picture("MsgImage3");
    setBackground(image1_);

    label1_ = new SkinLabel("Label1", this);
    label1_->setGeometry(ToRect(M::kLabel1));
    label1_->setFont(Theme::Font(16, true));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true);

    label2_ = new SkinLabel("Label2", this);
    label2_->setGeometry(ToRect(M::kLabel2));
    label2_->setFont(Theme::Font(12, true));
    label2_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label2_->setText("New file name ");
    label2_->hide();

    edit1_ = new QLineEdit(this);
    edit1_->setObjectName("Edit1");
    edit1_->setGeometry(ToRect(M::kEdit1));
    edit1_->setMaxLength(7);
    edit1_->setFont(Theme::Font(13, true));
    edit1_->setStyleSheet(
        "QLineEdit { color: white; background: #000080; border: 1px solid #7880a0;"
        " border-radius: 3px; padding: 0 3px; selection-background-color: #2860d0; }");
    edit1_->hide();
    connect(edit1_, &QLineEdit::returnPressed, this, [this] { Edit1KeyPress(); });

    keyGreen01_ = new PictureKey("KeyGreen01", this);
    keyGreen01_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
    keyGreen01_->move(M::kKeyGreen01.x, M::kKeyGreen01.y);
    keyGreen01_->setCaption("Yes");
    connect(keyGreen01_, &PictureKey::clicked, this, [this] { KeyGreen01Click(); });

    keyRed01_ = new PictureKey("KeyRed01", this);
    keyRed01_->setPictures("MsgKeyRedUp", "MsgKeyRedDown");
    keyRed01_->move(M::kKeyRed01.x, M::kKeyRed01.y);
    keyRed01_->setCaption("No");
    connect(keyRed01_, &PictureKey::clicked, this, [this] { KeyRed01Click(); });

    key01_ = new PictureKey("Key01", this);
    key01_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
    key01_->move(M::kKey01.x, M::kKey01.y);
    key01_->setCaption("OK");
    connect(key01_, &PictureKey::clicked, this, [this] { Key01Click(); });
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
    ShowRequest(r);
}

void MessageWindow::ShowRequest(const Request& r) {
    current_ = r;
    showing_ = true;
    kind_ = r.kind;
    switch (r.kind) {
        case kQuestion:
            setBackground(image1_);
            keyGreen01_->show();
            keyRed01_->show();
            key01_->hide();
            edit1_->hide();
            label2_->hide();
            break;
        case kError:
            setBackground(image2_);
            keyGreen01_->hide();
            keyRed01_->hide();
            key01_->setPictures("MsgKeyRedUp", "MsgKeyRedDown");
            key01_->show();
            edit1_->hide();
            label2_->hide();
            break;
        case kNotice:
            setBackground(image3_);
            keyGreen01_->hide();
            keyRed01_->hide();
            key01_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
            key01_->show();
            edit1_->hide();
            label2_->hide();
            break;
        case kNameRequest:
            setBackground(image1_);
            keyGreen01_->hide();
            keyRed01_->hide();
            key01_->setPictures("MsgKeyGreenUp", "MsgKeyGreenDown");
            key01_->show();
            edit1_->clear();
            // A file name takes 7 characters; a folder name any number.
            edit1_->setMaxLength(r.nameLength > 0 ? r.nameLength : 32767);
            edit1_->show();
            label2_->setText(r.nameLength > 0 ? "New file name " : "Folder name ");
            label2_->show();
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
    show();
    raise();
    activateWindow();
    label1_->setText(r.text);
    if (edit1_->isVisible()) edit1_->setFocus();
    update();
    Q_EMIT messageShown();
}

bool MessageWindow::OwnerHasMore(QWidget* owner) const {
    for (const Request& r : queue_)
        if (r.owner == owner) return true;
    return false;
}

void MessageWindow::Answer(std::uint8_t value) {
    if (!showing_) return;
    const Request r = current_;
    if (value == kSingle && edit1_->isVisible()) enteredName_ = edit1_->text();
    showing_ = false;
    hide();
    *r.answer = value;
    *r.answered = 1;
    if (r.owner && !OwnerHasMore(r.owner)) r.owner->setEnabled(true);
    if (!queue_.empty()) {
        const Request next = queue_.front();
        queue_.pop_front();
        ShowRequest(next);
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
    Answer(kind_ == kQuestion ? kNo : kSingle);
}

void MessageWindow::keyPressEvent(QKeyEvent* e) {
    // Escape answers like closing the window; Enter like the single button.
    if (e->key() == Qt::Key_Escape && showing_) {
        Answer(kind_ == kQuestion ? kNo : kSingle);
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && showing_ &&
        key01_->isVisible()) {
        Answer(kSingle);
        return;
    }
    QWidget::keyPressEvent(e);
}

}  // namespace mozu
