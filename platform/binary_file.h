#pragma once
// Checked file input and output. Every failure raises IoError with the code the message
// window shows.
//
// OutputFile never writes over an existing file in place: it writes a temporary file in the
// same folder and renames it over the target only in commit(). A writer that fails part-way
// (or is destroyed without commit) removes its temporary file and leaves the old file intact.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mozu {

bool FileExists(const std::string& path);

// The whole file; IoError (code from errno) if it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// Bounds-checked little-endian reads over bytes in memory. Reading past the end raises
// IoError io::kReadPastEnd ("Read error:End of file") naming `name`.
class ByteReader {
  public:
    ByteReader(std::span<const std::uint8_t> bytes, std::string name)
        : bytes_(bytes), name_(std::move(name)) {}
    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return pos_; }
    void seek(std::size_t pos);
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::span<const std::uint8_t> take(std::size_t n);
    std::uint8_t at(std::size_t offset) const;  // checked random access
    const std::string& name() const { return name_; }

  private:
    [[noreturn]] void pastEnd() const;
    std::span<const std::uint8_t> bytes_;
    std::string name_;
    std::size_t pos_ = 0;
};

// A file opened for reading at any offset, for files too large to hold (SymbOS videos).
class InputFile {
  public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    std::uint64_t size() const { return size_; }
    // Exactly out.size() bytes from `offset`, or IoError io::kReadPastEnd.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> out);
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

class OutputFile {
  public:
    // Creates the temporary file beside `path`; IoError if the folder cannot take it.
    explicit OutputFile(std::string path);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void putByte(std::uint8_t b);
    void putWord(std::uint16_t w);  // little-endian
    void write(std::span<const std::uint8_t> bytes);
    // Overwrites already written bytes at `offset` (the video writer's frame count).
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    std::uint64_t size() const { return written_; }
    // Writes out what is buffered, closes the temporary file and gives it the target's name;
    // when that replaces an existing file, the contents are flushed to disk first.
    void commit();
    // Closes and removes the temporary file; the target is untouched.
    void discard() noexcept;
    const std::string& path() const { return path_; }

  private:
    void flushBuffer();
    // Removes the temporary file and raises IoError from errno `err`.
    [[noreturn]] void fail(int err, const char* what);
    void releaseLock() noexcept;
    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    int lockHolder_ = -1;  // during commit: keeps the temporary file's lock after its close
    std::vector<std::uint8_t> buffer_;
    std::uint64_t written_ = 0;
    bool committed_ = false;
};

// A seam for the tests: the next OutputFile step of the kind, in any thread, fails with errno
// `err` as if the system had refused it (0 takes a pending failure back). It lets the tests
// show refusals that cannot be brought about otherwise, such as a read-only folder to root or
// a full disc. Nothing in Mozu calls it; without it every step is the system's own.
//   kCreate  creating the temporary file
//   kWrite   each write of bytes to it
//   kRename  giving it the target's name
//   kSync    flushing it to disk before it replaces an existing file
//   kClose   closing it (where a late write error shows)
enum class OutputStep { kCreate, kWrite, kRename, kSync, kClose };
void FailNextOutputStep(OutputStep step, int err);

// The same seam by number, so that a test can fail a writer at each of its steps in turn:
// counting starts afresh, and the n-th OutputFile step from now (1 the very next, of any kind,
// in any thread) fails with errno `err`; n = 0 only counts.
void FailOutputStepNumber(int n, int err);
// The OutputFile steps taken since the last FailOutputStepNumber.
int OutputStepsTaken();

// Whether `name` (a file name without folder) is an OutputFile's temporary file:
// ".NAME.mozu-" and six letters or digits. One left behind by a process that died is removed
// by the next OutputFile made in that folder; one still being written is left alone.
bool IsOutputTempName(const std::string& name);

}  // namespace mozu
