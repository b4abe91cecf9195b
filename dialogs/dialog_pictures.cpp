#include "dialogs/dialog_pictures.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmapCache>

#include "dialogs/dialog_layout.h"
#include "skin/theme.h"

namespace mozu {
namespace {

namespace L = dialog_layout;

QSize PlainSize(DialogPic pic) {
    switch (pic) {
        case DialogPic::OpenBackground:
            return {L::open::kWidth, L::open::kHeight};
        case DialogPic::SaveBackground:
            return {L::save::kWidth, L::save::kHeight};
        case DialogPic::UpKeyUp:
        case DialogPic::UpKeyDown:
            return {L::kUpKeyWidth, L::kUpKeyHeight};
        case DialogPic::GreenKeyUp:
        case DialogPic::GreenKeyDown:
        case DialogPic::RedKeyUp:
        case DialogPic::RedKeyDown:
            return {L::kOkKeyWidth, L::kOkKeyHeight};
        case DialogPic::OptionOn:
        case DialogPic::OptionOff:
        case DialogPic::OptionDown:
        case DialogPic::OptionInactive:
            return {L::kOptionMark, L::kOptionMark};
        case DialogPic::Track:
            return {L::kTrackWidth, L::open::kVertical.h};
        case DialogPic::Thumb:
            return {L::kThumbWidth, L::kThumbHeight};
        default:
            return {L::kIconSize, L::kIconSize};
    }
}

QColor PlainColour(DialogPic pic) {
    switch (pic) {
        case DialogPic::OpenBackground:
        case DialogPic::SaveBackground:
            return {38, 41, 50};
        case DialogPic::GreenKeyUp:
        case DialogPic::OptionOn:
            return {30, 150, 60};
        case DialogPic::RedKeyUp:
            return {190, 34, 34};
        case DialogPic::FolderIcon:
            return {230, 190, 60};
        case DialogPic::VideoIcon:
            return {40, 110, 230};
        case DialogPic::Track:
            return {12, 13, 18};
        default:
            return {86, 92, 108};
    }
}

// A picture missing from the skin: a plain box of the right size, so the dialog still works.
QPixmap Plain(DialogPic pic) {
    QPixmap p(PlainSize(pic));
    p.fill(PlainColour(pic));
    return p;
}

}  // namespace

QString DialogPictureName(DialogPic pic) {
    switch (pic) {
        case DialogPic::OpenBackground:
            return "OpenDialog";
        case DialogPic::SaveBackground:
            return "SaveDialog";
        case DialogPic::FolderIcon:
            return "FolderIcon";
        case DialogPic::ImageIcon:
            return "ImageIcon";
        case DialogPic::VideoIcon:
            return "VideoIcon";
        case DialogPic::DiscIcon:
            return "DiscIcon";
        case DialogPic::FloppyIcon:
            return "FloppyIcon";
        case DialogPic::CDIcon:
            return "CDIcon";
        case DialogPic::USBIcon:
            return "USBIcon";
        case DialogPic::UpKeyUp:
            return "DialogUpKeyUp";
        case DialogPic::UpKeyDown:
            return "DialogUpKeyDown";
        case DialogPic::GreenKeyUp:
            return "DialogGreenKeyUp";
        case DialogPic::GreenKeyDown:
            return "DialogGreenKeyDown";
        case DialogPic::RedKeyUp:
            return "DialogRedKeyUp";
        case DialogPic::RedKeyDown:
            return "DialogRedKeyDown";
        case DialogPic::OptionOn:
            return "KeyOptionOn";
        case DialogPic::OptionOff:
            return "KeyOptionOff";
        case DialogPic::OptionDown:
            return "KeyOptionDown";
        case DialogPic::OptionInactive:
            return "KeyOptionInactive";
        case DialogPic::Track:
            return "DialogTrack";
        case DialogPic::Thumb:
            return "DialogThumb";
    }
    return {};
}

QPixmap DialogPicture(DialogPic pic) {
    // Kept in Qt's pixmap cache, which goes with the application (no pixmap outlives it).
    const QString name = DialogPictureName(pic);
    const QString key = "mozu-dialog-" + name;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture)) return picture;
    if (Theme::Has(name)) picture = Theme::Picture(name);
    if (picture.isNull()) picture = Plain(pic);
    if (pic >= DialogPic::FolderIcon && pic <= DialogPic::USBIcon) {
        // White is the icons' transparent colour.
        picture.setMask(picture.createMaskFromColor(Qt::white, Qt::MaskInColor));
    }
    QPixmapCache::insert(key, picture);
    return picture;
}

QPixmap IconPicture(EntryIcon icon) {
    switch (icon) {
        case EntryIcon::Folder:
            return DialogPicture(DialogPic::FolderIcon);
        case EntryIcon::Image:
            return DialogPicture(DialogPic::ImageIcon);
        case EntryIcon::Video:
            return DialogPicture(DialogPic::VideoIcon);
        case EntryIcon::Disc:
            return DialogPicture(DialogPic::DiscIcon);
        case EntryIcon::Floppy:
            return DialogPicture(DialogPic::FloppyIcon);
        case EntryIcon::CD:
            return DialogPicture(DialogPic::CDIcon);
        case EntryIcon::USB:
            return DialogPicture(DialogPic::USBIcon);
    }
    return {};
}

}  // namespace mozu
