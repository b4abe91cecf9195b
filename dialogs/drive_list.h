#pragma once
// The "drives" of the file dialogs on a system without drive letters: the root file system, the
// home folder and the mounted media (USB sticks, memory cards, optical discs, network shares),
// each typed from its file system, and the check that a drive holds a readable medium.

#include <QByteArray>
#include <QString>
#include <vector>

#include "dialogs/folder_view.h"

namespace mozu {

enum class DriveType { Removable, Fixed, Network, Optical, Unknown };

struct Drive {
    QString name;      // what the drives view shows ("/", "Home", a volume's label)
    QString rootPath;  // the drive's top folder, ending in '/'
    DriveType type = DriveType::Fixed;
    QByteArray device;  // the mounted device ("/dev/sdb1"), empty for the home folder
};

// The type a mounted file system stands for: optical file systems, network file systems,
// media mounted under /media, /run/media or /mnt, or a device the kernel calls removable;
// other disk file systems are fixed; kernel and memory file systems are Unknown (not listed).
DriveType DriveTypeOf(const QByteArray& fileSystem, const QByteArray& device, const QString& root);

// The drives in display order: "/", the home folder, then the other mounted volumes by path.
// Drives of unknown type are left out.
std::vector<Drive> ListDrives();

// True when the drive's medium is mounted, readable and reports a size (a card reader without a
// card, an unmounted disc and a vanished mount report none).
bool DriveReady(const Drive& drive);

// The icon of a drive in the drives view.
EntryIcon DriveIcon(const Drive& drive);

}  // namespace mozu
