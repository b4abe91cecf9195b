#pragma once
// What the file dialogs show of the file system: the name tests that pick an entry's icon and
// preview, the levels of a folder path, a folder's subfolders and files, and the filling of the
// three columns (entries run down the first column, then the second, then the third).
//
// Folders are written with a trailing '/' ("/" for the root, "/home/ann/" below it); the depth of
// a folder is the number of its levels counting the root ("/" is 1, "/home/ann/" is 3).

#include <QString>
#include <QStringList>
#include <array>

namespace mozu {

// The icon drawn in front of an entry.
enum class EntryIcon { Folder, Image, Video, Disc, Floppy, CD, USB };

struct Entry {
    QString text;
    EntryIcon icon = EntryIcon::Image;
};

// The open dialog's file mask and the save dialog's (which lists fewer video kinds).
QStringList OpenDialogMask();
QStringList SaveDialogMask();

// True when the name's extension names a video. The extension is what follows the last dot
// found in the name without its last two characters, so "Clip.MPEG" is MPEG and a dot in the
// final two characters is not taken as the start of an extension.
bool IsVideo(const QString& name);
// True for the extensions (dot included, any case) the program loads as PC pictures or videos.
bool PCFile(const QString& extension);
// The extension of a file name from its last dot, dot included, in upper case ("" without one).
QString UpperExtension(const QString& name);

// Levels of a folder: "/" is 1, "/home/" 2, "/home/ann/" 3. An empty text is 0.
int PathDepth(const QString& folder);
// "/home/ann" and "/home/ann/" both give "/home/ann/"; "/" stays "/"; "" stays "".
QString WithTrailingSlash(const QString& folder);
// The folder above: "/home/ann/" gives "/home/", "/home/" gives "/", "/" gives "".
QString ParentFolder(const QString& folder);
// The user's home folder with its trailing '/'.
QString HomeFolder();

struct FolderListing {
    QStringList folders;  // subfolders, by name, case-insensitive; hidden ones left out
    QStringList files;    // files matching the mask, same order
};
// Lists `folder`; raises IoError (code 3, "Path not found") when it cannot be read.
FolderListing ListFolder(const QString& folder, const QStringList& mask);

// Folders first (with the folder icon), then the files (video or picture icon).
std::vector<Entry> FolderEntries(const FolderListing& listing);

// The folder view's split: `total` entries in three columns of total/3 rounded up entries each,
// filled column by column. Returns how many entries each column holds.
std::array<int, 3> ColumnSizesEven(int total);
// The drives view's split: columns of total div 3 + 1 entries.
std::array<int, 3> ColumnSizesDrives(int total);
// The entries of each column for those sizes.
std::array<std::vector<Entry>, 3> SplitIntoColumns(const std::vector<Entry>& entries,
                                                   const std::array<int, 3>& sizes);

}  // namespace mozu
