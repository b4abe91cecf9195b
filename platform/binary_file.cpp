#include "platform/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/io_error.h"

namespace mozu {

bool FileExists(const std::string& path) {
    struct stat st{};
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
    struct stat st{};
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
        const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
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
constexpr std::size_t kBufferSize = 64 * 1024;

std::string TempPathFor(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return dir + "." + name + ".mozu-XXXXXX";
}
}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    tempPath_ = TempPathFor(path_);
    fd_ = ::mkstemp(tempPath_.data());
    if (fd_ < 0) ThrowErrno(errno, "cannot create", path_);
    // mkstemp makes the file 0600; give it the permissions a plain create would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    buffer_.reserve(kBufferSize);
}

OutputFile::~OutputFile() {
    if (!committed_) discard();
}

void OutputFile::flushBuffer() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            buffer_.clear();
            ThrowErrno(err, "cannot write", path_);
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void OutputFile::putByte(std::uint8_t b) {
    if (fd_ < 0) throw IoError(io::kFileNotOpen, "file not open: " + path_);
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
    if (buffer_.size() + bytes.size() > kBufferSize) flushBuffer();
    if (bytes.size() >= kBufferSize) {
        buffer_.assign(bytes.begin(), bytes.end());
        written_ += bytes.size();
        flushBuffer();
        return;
    }
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
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno, "cannot write", path_);
        }
        done += static_cast<std::size_t>(n);
    }
}

void OutputFile::commit() {
    if (fd_ < 0) throw IoError(io::kFileNotOpen, "file not open: " + path_);
    flushBuffer();
    // When an existing file is replaced, its new contents reach the disk before the rename, so
    // a crash right after cannot leave an empty file where the old one was. A new file has
    // nothing to lose and skips the (slow) flush, as GLib's g_file_set_contents does.
    if (FileExists(path_) && ::fsync(fd_) != 0 && errno != EINVAL)
        ThrowErrno(errno, "cannot write", path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tempPath_.c_str());
        committed_ = true;  // nothing left to discard
        ThrowErrno(err, "cannot write", path_);
    }
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        const int err = errno;
        ::unlink(tempPath_.c_str());
        committed_ = true;
        ThrowErrno(err, "cannot replace", path_);
    }
    committed_ = true;
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
