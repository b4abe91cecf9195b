#include "dialogs/open_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_pictures.h"
#include "dialogs/dialog_shape.h"
#include "dialogs/dialog_widgets.h"
#include "dialogs/file_preview.h"
#include "platform/asker.h"
#include "platform/io_error.h"
#include "skin/picture_key.h"
#include "skin/theme.h"

namespace mozu {
namespace {

namespace L = dialog_layout::open;

constexpr int kRowHeight = 24, kFontHeight = 16;  // folder view
// The drives view keeps its tall rows for the large icons; the names are drawn at the dialog's
// own font size, so that long ones ("Home", a stick's label) are not cut.
constexpr int kDriveRowHeight = 60, kDriveFontHeight = kFontHeight;

QLabel* MakeLabel(const QString& name, const dialog_layout::Box& box, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(box.x, box.y, box.w, box.h);
    label->setStyleSheet("color: white; background: transparent;");
    return label;
}

// The description must fit its 193-pixel box: "PC Video: Time:00:01:23 25 fps" takes a
// condensed face, a smaller one where needed.
void SetFittingText(QLabel* label, const QString& text) {
    QFont font = Theme::Font(12, true);
    font.setStretch(QFont::SemiCondensed);
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > label->width())
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
    label->setText(text);
}

void PlaceOver(QWidget* w, const dialog_layout::Box& b) {
    w->setGeometry(b.x, b.y, b.w, b.h);
}

}  // namespace

OpenDialog::OpenDialog(Asker& asker, QWidget* parent) : FolderDialog(asker, parent) {
    setObjectName("OpenDialog");
    setWindowTitle("Open");
    setFixedSize(L::kWidth, L::kHeight);
    setShape(DialogShape(L::kE1, L::kR, L::kE2, L::kE3));
    setBackground(DialogPicture(DialogPic::OpenBackground));

    addColumns({L::kListBox1, L::kListBox2, L::kListBox3}, L::kVertical);
    setColumnsLarge(false);

    folderLabel_ = new FolderLabel("Label1", this);
    PlaceOver(folderLabel_, L::kLabel1);
    // The folder can be typed over: a folder goes there, a file opens, Escape gives up.
    folderLabel_->hide();
    pathEdit_ = new QLineEdit(this);
    pathEdit_->setObjectName("PathEdit");
    PlaceOver(pathEdit_, L::kLabel1);
    pathEdit_->setFocusPolicy(Qt::ClickFocus);
    pathEdit_->setFont(Theme::Font(13, true));
    pathEdit_->setFrame(false);
    pathEdit_->setStyleSheet(
        "QLineEdit { color: white; background: transparent; border: none; padding: 0;"
        " selection-background-color: #2860d0; }"
        "QLineEdit:focus { background: rgba(0, 0, 64, 150); border-bottom: 1px solid #7880a0; }");
    pathEdit_->installEventFilter(this);
    descriptionLabel_ = MakeLabel("Label2", L::kLabel2, this);
    descriptionLabel_->setAlignment(Qt::AlignCenter);
    previewImage_ = new PreviewImage("Image2", this);
    PlaceOver(previewImage_, L::kImage2);
    previewImage_->hide();

    upButton_ = addKey("Key01", DialogPic::UpKeyUp, DialogPic::UpKeyDown, L::kKey01);
    connect(upButton_, &PictureKey::clicked, this, &OpenDialog::goUp);
    okButton_ =
        addKey("KeyGreen01", DialogPic::GreenKeyUp, DialogPic::GreenKeyDown, L::kKeyGreen01);
    connect(okButton_, &PictureKey::clicked, this, &OpenDialog::confirm);
    cancelButton_ = addKey("KeyRed01", DialogPic::RedKeyUp, DialogPic::RedKeyDown, L::kKeyRed01);
    connect(cancelButton_, &PictureKey::clicked, this, &OpenDialog::cancel);

    currentFolder_ = homeFolder_;
    // The home folder's depth is counted from its path ("/home/ann/" is 3).
    depth_ = PathDepth(homeFolder_);
}

OpenDialog::~OpenDialog() = default;

void OpenDialog::setCurrentFolder(const QString& folder) {
    currentFolder_ = WithTrailingSlash(QDir::cleanPath(folder));
    depth_ = PathDepth(currentFolder_);
}

QString OpenDialog::Execute(QWidget* owner) {
    QString result = "<none>";
    const auto keep = connect(this, &OpenDialog::finished, this,
                              [&result](const QString& path) { result = path; });
    Show(owner);
    if (open_) WaitFor(&OpenDialog::finished);
    disconnect(keep);
    return result;
}

void OpenDialog::Show(QWidget* owner) {
    owner_ = owner;
    confirmed_ = false;
    chosenPath_.clear();
    refresh();
    descriptionLabel_->clear();
    if (owner_) {
        move(owner_->geometry().center() - rect().center());
        owner_->hide();
    }
    open_ = true;
    show();
    raise();
    activateWindow();
}

void OpenDialog::clearColumns() {
    for (EntryColumn* c : columns_) c->clear();
}

void OpenDialog::setColumnsLarge(bool large) {
    for (EntryColumn* c : columns_)
        c->setMetrics(large ? kDriveRowHeight : kRowHeight, large ? kDriveFontHeight : kFontHeight);
}

void OpenDialog::showColumns() {
    showColumnsAndTrack(depth_ == 0);
}

void OpenDialog::enterFolder(const QString& folder) {
    // The listing is read first: a folder that cannot be read leaves the view as it was.
    FolderListing listing = ListFolder(folder, OpenDialogMask());
    listing_ = std::move(listing);
    currentFolder_ = WithTrailingSlash(folder);
    depth_ = PathDepth(currentFolder_);
    setFolderText(currentFolder_);
    scrollTrack_->setThumbOffset(0);
}

void OpenDialog::refresh() {
    previewImage_->hide();
    clearColumns();
    if (depth_ >= 1) {
        // A remembered folder that has gone (a removed stick, a deleted folder) gives way to the
        // home folder, and a home folder that cannot be read to the drives view.
        for (const QString& folder : {currentFolder_, homeFolder_}) {
            try {
                enterFolder(folder);
                setColumnsLarge(false);
                fillColumns();
                showColumns();
                return;
            } catch (const IoError&) {
            }
        }
    }
    showDrives();
}

void OpenDialog::fillColumns() {
    const std::vector<Entry> entries = FolderEntries(listing_);
    const auto split = SplitIntoColumns(entries, ColumnSizesEven(static_cast<int>(entries.size())));
    for (int c = 0; c < 3; ++c) columns_[c]->setEntries(split[c]);
}

void OpenDialog::showDrives() {
    setFolderText(QString());
    clearColumns();
    depth_ = 0;
    currentFolder_.clear();
    listing_ = {};
    shownDrives_ = availableDrives();
    std::vector<Entry> entries;
    for (const Drive& d : shownDrives_) entries.push_back({d.name, DriveIcon(d)});
    setColumnsLarge(true);
    const auto split =
        SplitIntoColumns(entries, ColumnSizesDrives(static_cast<int>(entries.size())));
    for (int c = 0; c < 3; ++c) columns_[c]->setEntries(split[c]);
    scrollTrack_->setThumbOffset(0);
    showColumns();
}

void OpenDialog::entryClicked(int column, int row) {
    EntryColumn* clicked = columns_[column];
    if (row < 0 || row >= clicked->count()) return;
    descriptionLabel_->clear();
    scrollTrack_->setThumbOffset(
        static_cast<int>(static_cast<double>(row) / clicked->count() * L::kVertical.h));
    for (EntryColumn* c : columns_) {
        c->setSelectedRow(std::min(row, c->count() - 1));
        if (c != clicked) c->setSelectedRow(-1);
        c->setMarkedRow(-1);
    }
    chosenPath_.clear();

    int entry = row;
    for (int c = 0; c < column; ++c) entry += columns_[c]->count();

    if (depth_ == 0) {
        const Drive drive = shownDrives_.at(static_cast<std::size_t>(entry));
        if (!DriveReady(drive)) {
            reportError(io::kInvalidDiskChange, drive.rootPath);
            return;
        }
        try {
            enterFolder(drive.rootPath);
        } catch (const IoError& e) {
            reportError(e.code(), drive.rootPath);
            return;
        }
        fileClicked_ = false;
    } else if (entry < listing_.folders.size()) {
        fileClicked_ = false;
        previewImage_->hide();
        try {
            enterFolder(currentFolder_ + clicked->text(row) + '/');
        } catch (const IoError& e) {
            reportError(e.code(), currentFolder_ + clicked->text(row) + '/');
            return;
        }
    } else {
        fileClicked_ = true;
        const QString name = clicked->text(row);
        try {
            const FilePreview preview = PreviewFile(currentFolder_ + name);
            // Files without a picture of their own (types 3 and 255) leave Image2 as it was.
            if (!preview.picture.isNull()) previewImage_->setPicture(preview.picture);
            SetFittingText(descriptionLabel_, preview.label);
        } catch (const IoError& e) {
            reportError(e.code(), currentFolder_ + name);
            return;
        }
        previewImage_->show();
        chosenPath_ = currentFolder_ + name;
        clicked->setSelectedRow(row);
        clicked->setMarkedRow(row);
    }

    setColumnsLarge(false);
    if (!fileClicked_) fillColumns();
    setFolderText(currentFolder_);
    showColumns();
}

void OpenDialog::setFolderText(const QString& text) {
    folderLabel_->setText(text);
    pathEdit_->setText(text);
    pathEdit_->setToolTip(text);
}

bool OpenDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != pathEdit_ || event->type() != QEvent::KeyPress)
        return FolderDialog::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            // Escape in the path gives the typing up (the dialog stays open).
            pathEdit_->setText(currentFolder_);
            setFocus();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Return goes where the path says; it never reaches the dialog, whose Return would
            // open the file clicked before.
            goToTypedPath(pathEdit_->text());
            return true;
        default:
            return FolderDialog::eventFilter(watched, event);
    }
}

void OpenDialog::goToTypedPath(const QString& typed) {
    QString path = typed.trimmed();
    if (path.isEmpty()) return;
    if (path == "~" || path.startsWith("~/")) path = homeFolder_ + path.mid(2);
    if (!path.startsWith('/'))
        path = (currentFolder_.isEmpty() ? homeFolder_ : currentFolder_) + path;
    const QFileInfo info(path);
    descriptionLabel_->clear();
    if (info.isDir()) {
        previewImage_->hide();
        const QString folder = WithTrailingSlash(QDir::cleanPath(info.absoluteFilePath()));
        try {
            enterFolder(folder);
        } catch (const IoError& e) {
            reportError(e.code(), folder);
            return;
        }
        fileClicked_ = false;
        chosenPath_.clear();
        clearColumns();
        setColumnsLarge(false);
        fillColumns();
        showColumns();
        setFocus();
        return;
    }
    if (info.exists()) {
        // A file: opened at once, and its folder is where the next open starts.
        const QString file = QDir::cleanPath(info.absoluteFilePath());
        try {
            enterFolder(WithTrailingSlash(info.absolutePath()));
        } catch (const IoError&) {
        }
        chosenPath_ = file;
        confirmed_ = true;
        close();
        return;
    }
    reportError(path.endsWith('/') ? io::kPathNotFound : io::kFileNotFound, path);
    pathEdit_->setFocus();
}

void OpenDialog::goUp() {
    descriptionLabel_->clear();
    previewImage_->hide();
    if (depth_ == 0) {
        // Up in the drives view: back to the home folder.
        currentFolder_ = homeFolder_;
    } else if (depth_ == 1) {
        // Above the root: the drives.
        clearColumns();
        showDrives();
        return;
    } else {
        currentFolder_ = ParentFolder(currentFolder_);
    }
    depth_ = PathDepth(currentFolder_);
    clearColumns();
    try {
        enterFolder(currentFolder_);
    } catch (const IoError&) {
        refresh();  // the folder above has gone: home, or the drives view
        return;
    }
    setColumnsLarge(false);
    fillColumns();
    showColumns();
}

void OpenDialog::scrolledTo(int percent) {
    const int n = columns_[0]->count();
    columns_[0]->setSelectedRow(std::max(0, n * percent / 100 - 1));
    for (int c = 1; c < 3; ++c) {
        if (columns_[c]->count() == 0) continue;
        columns_[c]->setSelectedRow(std::min(n * percent / 100, columns_[c]->count() - 1));
    }
}

void OpenDialog::confirm() {
    if (chosenPath_.isEmpty()) return;
    confirmed_ = true;
    close();
}

void OpenDialog::cancel() {
    chosenPath_ = "<none>";
    confirmed_ = false;
    close();
}

void OpenDialog::finishClosing() {
    if (!open_) return;
    open_ = false;
    if (owner_) owner_->show();
    const QString result = confirmed_ ? chosenPath_ : QString("<none>");
    Q_EMIT finished(result);
}

void OpenDialog::closeEvent(QCloseEvent* event) {
    // Closing through the window manager is a cancel.
    event->accept();
    finishClosing();
}

void OpenDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            cancel();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            confirm();
            break;
        case Qt::Key_Backspace:
            goUp();
            break;
        default:
            // Typing a path: the first character starts the path field over.
            if (const QString typed = event->text();
                !typed.isEmpty() && typed.at(0).isPrint() && !typed.at(0).isSpace() &&
                (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0) {
                pathEdit_->setFocus();
                pathEdit_->setText(typed);
                return;
            }
            QWidget::keyPressEvent(event);
    }
}

}  // namespace mozu
