// SaveDialog's window: its controls and their places, showing and closing it, the format options
// and the name typed. The folder browser lives in save_dialog_browser.cpp.

#include "dialogs/save_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_pictures.h"
#include "dialogs/dialog_shape.h"
#include "dialogs/dialog_widgets.h"
#include "formats/file_name.h"
#include "skin/picture_key.h"
#include "video/vid_format.h"

namespace mozu {
namespace {

namespace L = dialog_layout::save;

const QString kCancelSelection = QStringLiteral("FFFFFFFFFFFFF");

// Option n's caption and its place: the screen modes and CPC graphics in the left column, the
// overscans and MSX graphics in the right one.
struct OptionPlace {
    int n;
    const char* caption;
    int column;
    int row;
};
constexpr OptionPlace kOptions[] = {
    {0, "Mode 0", 0, 0},
    {1, "Mode 1", 0, 1},
    {2, "Mode 2", 0, 2},
    {8, "CPC SGX(resized)", 0, 3},
    {9, "CPC SGX (fullsize)", 0, 4},
    {4, "Mode 0 overscan", 1, 0},
    {5, "Mode 1 overscan", 1, 1},
    {6, "Mode 2 overscan", 1, 2},
    {10, "MSX SGX(resized)", 1, 3},
    {11, "MSX SGX (fullsize)", 1, 4},
};

QString Ams(const QString& name) {
    return QString::fromStdString(AMSname(name.toStdString()));
}

QLabel* MakeCaption(const QString& objectName, const QString& text, const dialog_layout::Box& box,
                    QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setGeometry(box.x, box.y, box.w, box.h);
    QFont font = label->font();
    font.setPixelSize(13);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet("color: white; background: transparent;");
    return label;
}

QLineEdit* MakeEdit(const QString& objectName, const dialog_layout::Box& box, int maxLength,
                    QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setGeometry(box.x, box.y, box.w, box.h);
    edit->setMaxLength(maxLength);
    QFont font = edit->font();
    font.setPixelSize(14);
    font.setBold(true);
    edit->setFont(font);
    edit->setStyleSheet(
        "QLineEdit { color: white; background: #0c0d12; border: 1px solid #788096;"
        " border-radius: 3px; padding: 0 4px; selection-background-color: #2870e6; }");
    return edit;
}

}  // namespace

SaveDialog::SaveDialog(Asker& asker, QWidget* parent) : FolderDialog(asker, parent) {
    setObjectName("SaveDialog");
    setWindowTitle("Save");
    setFixedSize(L::kWidth, L::kHeight);
    setShape(DialogShape(L::kE1, L::kR, L::kE2, L::kE3));
    setBackground(DialogPicture(DialogPic::SaveBackground));

    folderLabel_ = new FolderLabel("Label1", this);
    folderLabel_->setGeometry(L::kLabel1.x, L::kLabel1.y, L::kLabel1.w, L::kLabel1.h);

    upButton_ = addKey("Key01", DialogPic::UpKeyUp, DialogPic::UpKeyDown, L::kKey01);
    connect(upButton_, &PictureKey::clicked, this, &SaveDialog::goUp);

    newFolderOption_ = new OptionMark("Option16", "New Folder", this);
    newFolderOption_->setGeometry(L::kOption16.x, L::kOption16.y, L::kOption16.w, L::kOption16.h);
    connect(newFolderOption_, &OptionMark::clicked, this, &SaveDialog::createFolder);
    connect(newFolderOption_, &OptionMark::released, this,
            [this] { newFolderOption_->setLook(OptionMark::Look::Off); });

    addColumns({L::kListBox1, L::kListBox2, L::kListBox3}, L::kVertical);

    for (const OptionPlace& o : kOptions) {
        auto* option =
            new OptionMark(QString("Option%1").arg(o.n, 2, 10, QChar('0')), o.caption, this);
        option->setGeometry(L::kOptionLeft[o.column], L::kOptionTop[o.row], L::kOptionWidth,
                            L::kOptionHeight);
        const int n = o.n;
        connect(option, &OptionMark::clicked, this, [this, n] { toggleFormat(n); });
        connect(option, &OptionMark::released, this, [this, n, option] {
            option->setLook(flags_[n] ? OptionMark::Look::On : OptionMark::Look::Off);
        });
        formatOptions_[o.n] = option;
    }

    MakeCaption("Edit1Caption", "Filename", L::kEdit1Caption, this)
        ->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    nameEdit_ = MakeEdit("Edit1", L::kEdit1, 7, this);
    videoControls_.push_back(
        MakeCaption("VideoTitleCaption", "Video Title", L::kVideoTitleCaption, this));
    videoTitle_ = MakeEdit("VideoTitle", L::kVideoTitle, kVidTextSize, this);
    videoControls_.push_back(videoTitle_);
    videoControls_.push_back(
        MakeCaption("VideoAddCaption", "VideoAdditional Info", L::kVideoAddCaption, this));
    videoAdd_ = MakeEdit("VideoAdd", L::kVideoAdd, kVidTextSize, this);
    videoControls_.push_back(videoAdd_);
    for (QLineEdit* edit : {nameEdit_, videoTitle_, videoAdd_}) {
        connect(edit, &QLineEdit::textChanged, this, &SaveDialog::updateChosenName);
        connect(edit, &QLineEdit::editingFinished, this, &SaveDialog::updateChosenName);
    }
    connect(nameEdit_, &QLineEdit::returnPressed, this, &SaveDialog::confirm);

    okButton_ =
        addKey("KeyGreen01", DialogPic::GreenKeyUp, DialogPic::GreenKeyDown, L::kKeyGreen01);
    connect(okButton_, &PictureKey::clicked, this, &SaveDialog::confirm);
    cancelButton_ = addKey("KeyRed01", DialogPic::RedKeyUp, DialogPic::RedKeyDown, L::kKeyRed01);
    connect(cancelButton_, &PictureKey::clicked, this, &SaveDialog::cancel);

    currentFolder_ = homeFolder_;
    level_ = PathDepth(homeFolder_);  // counted from the path, 3 for /home/ann/
}

SaveDialog::~SaveDialog() = default;

QString SaveDialog::VideoDescription(const QString& title, const QString& info) {
    // The file stores the texts as bytes: Latin-1 keeps one character a byte.
    return QString::fromLatin1(
        MakeVideoDescription(title.left(kVidTextSize).toLatin1().toStdString(),
                             info.left(kVidTextSize).toLatin1().toStdString()));
}

SaveDialogResult SaveDialog::Execute(QWidget* owner, const QString& selection,
                                     const QString& name) {
    Show(owner, selection, name);
    if (open_) WaitFor(&SaveDialog::finished);
    return result();
}

void SaveDialog::Show(QWidget* owner, const QString& selection, const QString& name) {
    owner_ = owner;
    selection_ = selection;
    name_ = name;
    refreshBrowser();
    confirmed_ = false;
    if (owner_) {
        move(owner_->geometry().center() - rect().center());
        owner_->hide();
    }
    nameEdit_->setText(Ams(name));

    flags_.fill(0);
    for (int n = 0; n <= 12 && n < selection_.size(); ++n) flags_[n] = selection_[n] == 'T';

    const bool video = videoMode();
    for (QWidget* w : videoControls_) w->setVisible(video);
    for (OptionMark* option : formatOptions_) {
        if (!option) continue;
        option->setVisible(!video);
        const int n = option->objectName().mid(6, 2).toInt();
        option->setEnabled(flags_[n] != 0);
        option->setLook(flags_[n] ? OptionMark::Look::On : OptionMark::Look::Inactive);
    }
    // "New Folder" is no format: it always shows its "off" mark and is there in picture mode.
    newFolderOption_->setVisible(!video);
    newFolderOption_->setEnabled(true);
    newFolderOption_->setLook(OptionMark::Look::Off);
    if (video) {
        videoTitle_->setText(QFileInfo(name).completeBaseName().left(kVidTextSize));
        videoAdd_->setText(("Converted with Mozu " +
                            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat))
                               .left(kVidTextSize));
    }

    showColumns();
    open_ = true;
    show();
    raise();
    activateWindow();
    chosenName_ = Ams(name);
    nameEdit_->setFocus();
}

void SaveDialog::toggleFormat(int n) {
    flags_[n] ^= 1;
    // Rebuilt from the flags of slots 0-11: twelve characters, never the cancel string.
    selection_.clear();
    for (int i = 0; i < 12; ++i) selection_ += flags_[i] ? 'T' : 'F';
}

void SaveDialog::updateChosenName() {
    chosenName_ = Ams(nameEdit_->text());
}

void SaveDialog::confirm() {
    // No name, or no folder (the drives view), and OK does nothing: nothing may be written to
    // a place the user did not choose.
    if (chosenName_.isEmpty() || currentFolder_.isEmpty()) return;
    confirmed_ = true;
    if (videoMode()) selection_ = VideoDescription(videoTitle_->text(), videoAdd_->text());
    close();
}

void SaveDialog::cancel() {
    chosenName_ = "<none>";
    selection_ = kCancelSelection;
    confirmed_ = false;
    close();
}

void SaveDialog::finishClosing() {
    if (!open_) return;
    open_ = false;
    if (confirmed_) {
        name_ = currentFolder_ + Ams(chosenName_);
    } else {
        // Closed by the window manager counts as cancel too.
        name_ = "<none>";
        selection_ = kCancelSelection;
    }
    // The owner comes back before anything else runs, so the program never has no window.
    if (owner_) owner_->show();
    QCoreApplication::processEvents();
    Q_EMIT finished();
}

void SaveDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    finishClosing();
}

void SaveDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        cancel();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace mozu
