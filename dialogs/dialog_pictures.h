#pragma once
// The file dialogs' skin pictures, by role. They come from the skin (drawn by
// scripts/skin/dialog_skin.cpp); a picture missing from it is drawn plainly so the dialogs stay
// usable.

#include <QPixmap>
#include <QString>

#include "dialogs/folder_view.h"

namespace mozu {

enum class DialogPic {
    OpenBackground,
    SaveBackground,
    FolderIcon,
    ImageIcon,
    VideoIcon,
    DiscIcon,
    FloppyIcon,
    CDIcon,
    USBIcon,
    UpKeyUp,
    UpKeyDown,
    GreenKeyUp,
    GreenKeyDown,
    RedKeyUp,
    RedKeyDown,
    OptionOn,
    OptionOff,
    OptionDown,
    OptionInactive,
    Track,
    Thumb,
};

// The picture's name in the skin ("OpenDialog", "FolderIcon", "KeyOptionOn" ...).
QString DialogPictureName(DialogPic pic);
// The picture; icons come with white made transparent.
QPixmap DialogPicture(DialogPic pic);
QPixmap IconPicture(EntryIcon icon);

}  // namespace mozu
