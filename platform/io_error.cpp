#include "platform/io_error.h"

#include <cerrno>
#include <cstring>

namespace mozu {

namespace {

struct ErrorTable {
    std::array<std::string_view, 256> text{};
    ErrorTable() {
        text[0] = "Successful operation";
        text[2] = "File not found";
        text[3] = "Path not found";
        text[4] = "Too many open files";
        text[5] = "File access denied";
        text[6] = "Invalid file handle";
        text[7] = "Bad storage control blocks";
        text[12] = "Invalid file access code";
        text[15] = "Invalid drive number";
        text[16] = "Cannot remove current directory";
        text[17] = "Cannot rename across drives";
        text[18] = "No more files";
        text[19] = "Disk is write-protected";
        text[20] = "Unknown unit";
        text[21] = "Drive not ready";
        text[22] = "Unknown command";
        text[23] = "CRC error";
        text[24] = "Bad drive request structure length";
        text[25] = "Disk seek error";
        text[26] = "Unknown media type";
        text[27] = "Sector not found";
        text[29] = "Device write fault";
        text[30] = "Device read fault";
        text[31] = "Hardware failure";
        // The one text in Polish: the file is already open and cannot be shared.
        text[32] = "Plik jest już otwarty, niemożliwy wspólny dostęp do pliku";
        text[33] = "Lock violation";
        text[34] = "Invalid disk change";
        text[38] = "End of file";
        text[39] = "Disk is full";
        text[100] = "Read error:End of file";
        text[101] = "Write error:Disc is full";
        text[102] = "File handle not assigned";
        text[103] = "File not open";
        text[104] = "File not open for input";
        text[105] = "File not open for output";
        text[106] = "Unavailable input operation";
        text[150] = "Disk is write-protected";
        text[151] = "Unknown unit";
        text[152] = "Drive not ready";
        text[153] = "Unknown command";
        text[154] = "CRC error \tERROR_CRC";
        text[155] = "Bad drive request structure length";
        text[156] = "Disk seek error";
        text[157] = "Unknown media type";
        text[158] = "Sector not found";
        text[160] = "Device write fault";
        text[161] = "Device read fault";
        text[162] = "Hardware failure";
        text[164] = "Lock violation";
        text[165] = "Invalid disk change";
        text[169] = "End of file";
        text[170] = "Disk is full";
    }
};

}  // namespace

std::string_view ErrorText(int code) {
    static const ErrorTable table;
    if (code < 0 || code > 255) return {};
    return table.text[static_cast<std::size_t>(code)];
}

int ErrnoToIoCode(int err) {
    switch (err) {
        case ENOENT:
            return io::kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return io::kPathNotFound;
        case EMFILE:
        case ENFILE:
            return io::kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
            return io::kAccessDenied;
        case EROFS:
            return io::kWriteProtected;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return io::kDiskFull;
        case ENXIO:
        case ENODEV:
        case ENOMEDIUM:
            return io::kDriveNotReady;
        case ETXTBSY:
        case EBUSY:
            return io::kSharingViolation;
        case EIO:
            return io::kDeviceReadFault;
        default:
            return io::kAccessDenied;
    }
}

namespace {
std::string ErrnoMessage(int err, std::string_view what, const std::string& path) {
    std::string message(what);
    message += ' ';
    message += path;
    message += ": ";
    message += std::strerror(err);
    return message;
}
}  // namespace

void ThrowErrno(int err, std::string_view what, const std::string& path) {
    throw IoError(ErrnoToIoCode(err), ErrnoMessage(err, what, path));
}

void ThrowWriteErrno(int err, std::string_view what, const std::string& path) {
    const int code = err == EIO ? io::kDeviceWriteFault : ErrnoToIoCode(err);
    throw IoError(code, ErrnoMessage(err, what, path));
}

}  // namespace mozu
