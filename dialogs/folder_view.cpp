#include "dialogs/folder_view.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "platform/io_error.h"

namespace mozu {

QStringList OpenDialogMask() {
    return {"*.bmp", "*.jpg", "*.rim", "*.sgx", "*.bin", "*.sca", "*.lvl", "*.vid", "*.mpg",
            "*.avi", "*.mpeg", "*.divx", "*.mov", "*.rmvb", "*.vob", "*.wmv", "*.mp4", "*.m4v",
            "*.mkv", "*.webm", "*.ogv", "*.flv", "*.ts", "*.mts",
            // further PC pictures
            "*.png", "*.gif", "*.tga", "*.ppm", "*.pgm", "*.pnm", "*.webp", "*.tif", "*.tiff",
            // other tools' CPC screens
            "*.scr"};
}

QStringList SaveDialogMask() {
    return {"*.bmp",  "*.jpg", "*.rim",  "*.sgx", "*.bin", "*.sca", "*.vid",
            "*.mov",  "*.vob", "*.rmvb", "*.wmv", "*.mp4", "*.m4v", "*.mkv",
            "*.webm", "*.ogv", "*.flv",  "*.ts",  "*.mts"};
}

bool IsVideo(const QString& name) {
    const int dot = name.left(std::max<qsizetype>(0, name.size() - 2)).lastIndexOf('.');
    const QString ext = (dot < 0 ? name : name.mid(dot + 1)).toUpper();
    static const QStringList kVideo = {"VID", "MPG",  "MPEG", "AVI", "DIVX", "XVID",
                                       "MOV", "RMVB", "VOB",  "WMV", "MP4",  "M4V",
                                       "MKV", "WEBM", "OGV",  "FLV", "TS",   "MTS"};
    return kVideo.contains(ext);
}

bool PCFile(const QString& extension) {
    static const QStringList kPc = {
        ".JPG",  ".JPEG", ".BMP", ".AVI", ".MPEG", ".MPG",  ".DIVX", ".XVID", ".MOV", ".VOB",
        ".RMVB", ".WMV",  ".MP4", ".M4V", ".MKV",  ".WEBM", ".OGV",  ".FLV",  ".TS",  ".MTS",
        ".PNG",  ".GIF",  ".TGA", ".PPM", ".PGM",  ".PNM",  ".WEBP", ".TIF",  ".TIFF"};
    return kPc.contains(extension.toUpper());
}

QString UpperExtension(const QString& name) {
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

int PathDepth(const QString& folder) {
    if (folder.isEmpty()) return 0;
    return 1 + static_cast<int>(folder.split('/', Qt::SkipEmptyParts).size());
}

QString WithTrailingSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith('/')) return folder;
    return folder + '/';
}

QString ParentFolder(const QString& folder) {
    const QString f = WithTrailingSlash(folder);
    if (f.size() <= 1) return QString();
    const int slash = f.lastIndexOf('/', f.size() - 2);
    return slash < 0 ? QString() : f.left(slash + 1);
}

QString HomeFolder() {
    return WithTrailingSlash(QDir::cleanPath(QDir::homePath()).trimmed());
}

FolderListing ListFolder(const QString& folder, const QStringList& mask) {
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        throw IoError(io::kPathNotFound, "cannot list " + folder.toStdString());
    FolderListing listing;
    listing.folders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    dir.setNameFilters(mask);
    listing.files = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    return listing;
}

std::vector<Entry> FolderEntries(const FolderListing& listing) {
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(listing.folders.size() + listing.files.size()));
    for (const QString& f : listing.folders) entries.push_back({f, EntryIcon::Folder});
    for (const QString& f : listing.files)
        entries.push_back({f, IsVideo(f.toUpper()) ? EntryIcon::Video : EntryIcon::Image});
    return entries;
}

std::array<int, 3> ColumnSizesEven(int total) {
    const int per = (total + 2) / 3;
    std::array<int, 3> sizes{};
    for (int c = 0; c < 3; ++c) sizes[c] = std::clamp(total - c * per, 0, per);
    return sizes;
}

std::array<int, 3> ColumnSizesDrives(int total) {
    const int per = total / 3 + 1;
    std::array<int, 3> sizes{};
    for (int c = 0; c < 3; ++c) sizes[c] = std::clamp(total - c * per, 0, per);
    return sizes;
}

std::array<std::vector<Entry>, 3> SplitIntoColumns(const std::vector<Entry>& entries,
                                                   const std::array<int, 3>& sizes) {
    std::array<std::vector<Entry>, 3> columns;
    std::size_t next = 0;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < sizes[c] && next < entries.size(); ++r)
            columns[c].push_back(entries[next++]);
    return columns;
}

}  // namespace mozu
