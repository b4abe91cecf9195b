#include "platform/binary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/io_error.h"

namespace mozu {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    InputFile in(path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.size()));
    in.readAt(0, bytes);
    return bytes;
}

// ---- ByteReader

void ByteReader::pastEnd() const {
    throw IoError(io::kReadPastEnd, "unexpected end of file in " + name_);
}
void ByteReader::seek(std::size_t pos) {
    if (pos > bytes_.size()) pastEnd();
    pos_ = pos;
}
std::uint8_t ByteReader::u8() {
    if (pos_ >= bytes_.size()) pastEnd();
    return bytes_[pos_++];
}
std::uint16_t ByteReader::u16() {
    const std::uint16_t lo = u8();
    return static_cast<std::uint16_t>(lo | (u8() << 8));
}
std::uint32_t ByteReader::u32() {
    const std::uint32_t lo = u16();
    return lo | (static_cast<std::uint32_t>(u16()) << 16);
}
std::span<const std::uint8_t> ByteReader::take(std::size_t n) {
    if (n > bytes_.size() - pos_) pastEnd();
    auto out = bytes_.subspan(pos_, n);
    pos_ += n;
    return out;
}
std::uint8_t ByteReader::at(std::size_t offset) const {
    if (offset >= bytes_.size()) pastEnd();
    return bytes_[offset];
}

// ---- InputFile

InputFile::InputFile(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) ThrowErrno(errno, "cannot open", path);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd_);
        ThrowErrno(err, "cannot open", path);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

void InputFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > size_ || out.size() > size_ - offset)
        throw IoError(io::kReadPastEnd, "unexpected end of file in " + path_);
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno, "cannot read", path_);
        }
        if (n == 0)  // the file shrank since it was opened
            throw IoError(io::kReadPastEnd, "unexpected end of file in " + path_);
        done += static_cast<std::size_t>(n);
    }
}

// ---- OutputFile

namespace {

// The failures asked for through FailNextOutputStep, an errno per step; 0: none.
std::array<std::atomic<int>, 5> gFailNext{};
// FailOutputStepNumber: steps taken, the number of the one to fail (0: none) and its errno.
std::atomic<int> gStepsTaken{0};
std::atomic<int> gFailNumber{0};
std::atomic<int> gFailNumberErr{0};

// True (with errno set) when the step is to fail instead of calling the system; each failure
// asked for is taken once.
bool Refused(OutputStep step) {
    const int number = gStepsTaken.fetch_add(1, std::memory_order_relaxed) + 1;
    if (number == gFailNumber.load(std::memory_order_relaxed)) {
        int expected = number;
        if (gFailNumber.compare_exchange_strong(expected, 0)) {
            errno = gFailNumberErr.load();
            return true;
        }
    }
    std::atomic<int>& slot = gFailNext[static_cast<std::size_t>(step)];
    if (slot.load(std::memory_order_relaxed) == 0) return false;
    const int err = slot.exchange(0);
    if (err == 0) return false;
    errno = err;
    return true;
}

constexpr std::size_t kBufferSize = 64 * 1024;
// Writes at least this long go straight to the file instead of through the buffer.
constexpr std::size_t kDirectWrite = 4096;

// The temporary name beside the target: ".NAME.mozu-" and six letters or digits.
std::string TempPathFor(const std::string& path, std::uint64_t seed) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + name + ".mozu-";
    for (int i = 0; i < 6; ++i, seed /= 62) temp += kLetters[seed % 62];
    return temp;
}

void WriteAll(int fd, const std::uint8_t* bytes, std::size_t size, const std::string& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = Refused(OutputStep::kWrite) ? -1 : ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowWriteErrno(errno, "cannot write", path);
        }
        done += static_cast<std::size_t>(n);
    }
}

// Flushes the file at `path` to disk through a new descriptor (ours is closed by then).
bool SyncByPath(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = Refused(OutputStep::kSync)
                        ? false
                        : ::fsync(fd) == 0 || errno == EINVAL;  // EINVAL: no flushing to be had
    const int err = errno;
    ::close(fd);
    errno = err;
    return ok;
}

bool IsTempSuffix(const std::string& name, std::size_t at) {
    if (name.size() != at + 6) return false;
    for (std::size_t i = at; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Removes the temporary files that writers which died left in `dir` ("" the current folder).
// A writer holds an exclusive lock on its temporary file for as long as it lives, and the
// kernel lets go of it when the process ends however it ends: a file whose lock can be taken
// belongs to nobody. It is removed while the lock is held, and only if the name still names
// the file that was locked and it is a plain file of ours.
void RemoveDeadTempFiles(const std::string& dir) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (!IsOutputTempName(name)) continue;
        const std::string path = dir + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(d);
}
}  // namespace

bool IsOutputTempName(const std::string& name) {
    // "." + at least one character + ".mozu-" + six letters or digits.
    constexpr std::string_view kMark = ".mozu-";
    if (name.size() < 1 + 1 + kMark.size() + 6 || name[0] != '.') return false;
    const std::size_t at = name.size() - 6 - kMark.size();
    return name.compare(at, kMark.size(), kMark) == 0 && IsTempSuffix(name, at + kMark.size());
}

void FailNextOutputStep(OutputStep step, int err) {
    gFailNext[static_cast<std::size_t>(step)].store(err);
}

void FailOutputStepNumber(int n, int err) {
    gFailNumber.store(0);
    gStepsTaken.store(0);
    gFailNumberErr.store(err);
    gFailNumber.store(n);
}

int OutputStepsTaken() {
    return gStepsTaken.load();
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    // The file is created with O_EXCL under a name of our own, so it is never someone else's
    // file, and with mode 0666 so that the umask gives it the permissions a plain create would.
    // (mkstemp would make it 0600 and cost a umask round trip and a chmod to put that right.)
    const auto clock =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t seed = clock ^ (reinterpret_cast<std::uintptr_t>(this) << 20);
    const auto slash = path_.find_last_of('/');
    RemoveDeadTempFiles(slash == std::string::npos ? std::string() : path_.substr(0, slash + 1));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        tempPath_ = TempPathFor(path_, seed >> 16);
        fd_ = Refused(OutputStep::kCreate)
                  ? -1
                  : ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            if (errno != EEXIST) break;
            continue;
        }
        // Locked for as long as this writer lives (RemoveDeadTempFiles). Should another
        // process's clean-up have locked or removed it between the create and the lock, the
        // next name is tried.
        struct stat st {};
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd_, &st) == 0 && st.st_nlink > 0)
            return;
        ::close(fd_);
        fd_ = -1;
        errno = EEXIST;
    }
    const int err = errno;
    tempPath_.clear();  // nothing of ours to remove
    ThrowWriteErrno(err, "cannot create", path_);
}

OutputFile::~OutputFile() {
    if (!committed_) discard();
}

void OutputFile::flushBuffer() {
    if (buffer_.empty()) return;
    try {
        WriteAll(fd_, buffer_.data(), buffer_.size(), path_);
    } catch (...) {
        buffer_.clear();
        throw;
    }
    buffer_.clear();
}

void OutputFile::putByte(std::uint8_t b) {
    if (fd_ < 0) throw IoError(io::kFileNotOpen, "file not open: " + path_);
    if (buffer_.capacity() == 0) buffer_.reserve(kBufferSize);
    buffer_.push_back(b);
    ++written_;
    if (buffer_.size() >= kBufferSize) flushBuffer();
}

void OutputFile::putWord(std::uint16_t w) {
    putByte(static_cast<std::uint8_t>(w & 0xFF));
    putByte(static_cast<std::uint8_t>(w >> 8));
}

void OutputFile::write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0) throw IoError(io::kFileNotOpen, "file not open: " + path_);
    if (bytes.size() >= kDirectWrite) {
        // A whole file image or a frame: one write from the caller's memory, no copy.
        flushBuffer();
        WriteAll(fd_, bytes.data(), bytes.size(), path_);
        written_ += bytes.size();
        return;
    }
    if (buffer_.size() + bytes.size() > kBufferSize) flushBuffer();
    if (buffer_.capacity() == 0) buffer_.reserve(kBufferSize);
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    written_ += bytes.size();
}

void OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (fd_ < 0) throw IoError(io::kFileNotOpen, "file not open: " + path_);
    if (offset + bytes.size() > written_)
        throw IoError(io::kDeviceWriteFault, "write beyond the end of " + path_);
    flushBuffer();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = Refused(OutputStep::kWrite)
                              ? -1
                              : ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                         static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowWriteErrno(errno, "cannot write", path_);
        }
        done += static_cast<std::size_t>(n);
    }
}

void OutputFile::commit() {
    if (fd_ < 0) throw IoError(io::kFileNotOpen, "file not open: " + path_);
    flushBuffer();
    const int fd = fd_;
    fd_ = -1;
    // The lock that marks the file as a live writer's belongs to the open file, not to one
    // descriptor: a second descriptor keeps it held through the close below until the file has
    // its name, or another writer's clean-up in this folder would take it for a dead one's.
    lockHolder_ = ::dup(fd);
    if (lockHolder_ < 0) {
        const int err = errno;
        ::close(fd);
        fail(err, "cannot write");
    }
    // Closed before it gets the target's name, so that a failure to close (a late write error)
    // is seen while the old file is still in place.
    if (Refused(OutputStep::kClose)) {
        const int err = errno;
        ::close(fd);
        fail(err, "cannot write");
    }
    if (::close(fd) != 0) fail(errno, "cannot write");
    // A new file takes its name in one step that refuses to replace anything. A new file has
    // nothing to lose if the machine stops before its contents reach the disk, so it skips the
    // (slow) flush, as GLib's g_file_set_contents does.
    if (!Refused(OutputStep::kRename) &&
        ::renameat2(AT_FDCWD, tempPath_.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE) == 0) {
        committed_ = true;
        releaseLock();
        return;
    }
    // The target exists (or the file system cannot rename without replacing, then we ask it).
    const int err = errno;
    if (err != EEXIST && err != EINVAL && err != ENOSYS) fail(err, "cannot replace");
    if (err == EEXIST || FileExists(path_)) {
        // An existing file is replaced: the new contents reach the disk before the rename, so a
        // crash right after cannot leave an empty file where the old one was.
        if (!SyncByPath(tempPath_)) fail(errno, "cannot write");
    }
    if (Refused(OutputStep::kRename) || ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        fail(errno, "cannot replace");
    committed_ = true;
    releaseLock();
}

void OutputFile::releaseLock() noexcept {
    if (lockHolder_ >= 0) ::close(lockHolder_);
    lockHolder_ = -1;
}

void OutputFile::fail(int err, const char* what) {
    ::unlink(tempPath_.c_str());
    committed_ = true;  // nothing left to discard
    releaseLock();
    ThrowWriteErrno(err, what, path_);
}

void OutputFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!committed_ && !tempPath_.empty()) ::unlink(tempPath_.c_str());
    committed_ = true;
}

}  // namespace mozu
