#pragma once
// The program's one input/output error: a code from the error text table (0-255) and, for the
// terminal and the logs, a message that names the file. The GUI shows ErrorText(code()).

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace mozu {

namespace io {
// Codes used by the core; the full table is ErrorText().
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kInvalidDrive = 15;
constexpr int kWriteProtected = 19;
constexpr int kDriveNotReady = 21;
constexpr int kDeviceWriteFault = 29;
constexpr int kDeviceReadFault = 30;
constexpr int kSharingViolation = 32;
constexpr int kInvalidDiskChange = 34;  // a drive without a medium
constexpr int kReadPastEnd = 100;       // "Read error:End of file"
constexpr int kDiskFull = 101;          // "Write error:Disc is full"
constexpr int kFileNotOpen = 103;
constexpr int kInvalidData = 106;  // "Unavailable input operation": bytes that are no such file
}  // namespace io

class IoError : public std::runtime_error {
  public:
    IoError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// Text of an error code as the message window shows it; empty for codes without one.
std::string_view ErrorText(int code);

// The error code for a C errno value from a failed open, read or write.
int ErrnoToIoCode(int err);

// Throws IoError with the code for `err` and a message "<what> <path>: <strerror>".
[[noreturn]] void ThrowErrno(int err, std::string_view what, const std::string& path);
// The same for a failed write, flush, close or rename: an I/O error there is a write fault
// (29), not the read fault (30) ErrnoToIoCode gives.
[[noreturn]] void ThrowWriteErrno(int err, std::string_view what, const std::string& path);

}  // namespace mozu
