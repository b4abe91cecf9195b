#include "dialogs/drive_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace mozu {
namespace {

bool UnderMediaFolder(const QString& root) {
    return root.startsWith("/media/") || root.startsWith("/run/media/") || root.startsWith("/mnt/");
}

// The kernel's removable flag of the disk behind a partition device such as /dev/sdb1.
bool KernelSaysRemovable(const QByteArray& device) {
    if (!device.startsWith("/dev/")) return false;
    QString name = QString::fromLocal8Bit(device.mid(5));
    for (int tries = 0; tries < 3 && !name.isEmpty(); ++tries) {
        QFile flag("/sys/class/block/" + name + "/removable");
        if (flag.open(QIODevice::ReadOnly)) return flag.readAll().trimmed() == "1";
        // A partition has no flag of its own: look at its disk.
        QFileInfo link("/sys/class/block/" + name);
        const QString parent = QFileInfo(link.canonicalFilePath()).dir().dirName();
        if (parent.isEmpty() || parent == name || parent == "block") return false;
        name = parent;
    }
    return false;
}

}  // namespace

DriveType DriveTypeOf(const QByteArray& fileSystem, const QByteArray& device, const QString& root) {
    const QByteArray fs = fileSystem.toLower();
    static const QList<QByteArray> kOptical = {"iso9660", "udf"};
    static const QList<QByteArray> kNetwork = {"nfs",   "nfs4",       "cifs",       "smb3", "smbfs",
                                               "sshfs", "fuse.sshfs", "davfs",      "9p",   "afs",
                                               "ceph",  "glusterfs",  "fuse.rclone"};
    static const QList<QByteArray> kDisk = {
        "ext2",  "ext3",  "ext4", "btrfs", "xfs",     "jfs",     "zfs",      "f2fs",    "vfat",
        "msdos", "exfat", "ntfs", "ntfs3", "fuseblk", "hfsplus", "reiserfs", "overlay", "bcachefs"};
    if (kOptical.contains(fs)) return DriveType::Optical;
    if (kNetwork.contains(fs)) return DriveType::Network;
    if (!kDisk.contains(fs)) return DriveType::Unknown;
    if (UnderMediaFolder(root) || KernelSaysRemovable(device)) return DriveType::Removable;
    return DriveType::Fixed;
}

std::vector<Drive> ListDrives() {
    std::vector<Drive> drives;
    const QStorageInfo root = QStorageInfo::root();
    drives.push_back({"/", "/", DriveType::Fixed, root.device()});
    // The home folder stands for the user's own drive; it is left out only if it is missing.
    if (QFileInfo(HomeFolder()).isDir())
        drives.push_back({"Home", HomeFolder(), DriveType::Fixed, {}});

    std::vector<Drive> others;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString path = volume.rootPath();
        if (!volume.isValid() || path == "/" || path.isEmpty()) continue;
        const DriveType type = DriveTypeOf(volume.fileSystemType(), volume.device(), path);
        if (type == DriveType::Unknown) continue;
        // System mounts (boot partitions, snaps, containers' bind mounts) are no drives to a
        // user: only media folders, optical discs and network shares are listed.
        if (!UnderMediaFolder(path) && type != DriveType::Optical && type != DriveType::Network)
            continue;
        QString name = volume.name().isEmpty() ? QDir(path).dirName() : volume.name();
        others.push_back({name, WithTrailingSlash(path), type, volume.device()});
    }
    std::sort(others.begin(), others.end(),
              [](const Drive& a, const Drive& b) { return a.rootPath < b.rootPath; });
    drives.insert(drives.end(), others.begin(), others.end());
    return drives;
}

bool DriveReady(const Drive& drive) {
    if (!QFileInfo(drive.rootPath).isDir()) return false;
    QStorageInfo volume(drive.rootPath);
    volume.refresh();
    return volume.isValid() && volume.isReady() && volume.bytesTotal() > 0;
}

EntryIcon DriveIcon(const Drive& drive) {
    switch (drive.type) {
        case DriveType::Removable:
            return drive.device.startsWith("/dev/fd") ? EntryIcon::Floppy : EntryIcon::USB;
        case DriveType::Fixed:
        case DriveType::Network:
            return EntryIcon::Disc;
        case DriveType::Optical:
            return EntryIcon::CD;
        default:
            return EntryIcon::USB;
    }
}

}  // namespace mozu
