#include "formats/file_name.h"

#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

std::size_t NameStart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Cuts s to at most n bytes without splitting a UTF-8 sequence.
std::string CutUtf8(const std::string& s, std::size_t n) {
    if (s.size() <= n) return s;
    std::size_t end = n;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return s.substr(0, end);
}

}  // namespace

std::string AMSname(const std::string& path) {
    std::string name = path.substr(NameStart(path));
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    // The header holds bytes; a name in UTF-8 is cut by bytes, never inside a character.
    return CutUtf8(name, 7);
}

std::string CheckFileName(Asker& asker, const std::string& path) {
    std::string current = path;
    while (FileExists(current)) {
        const std::size_t start = NameStart(current);
        const std::string name = current.substr(start);
        if (asker.askYesNo("File " + name + " exists\n\rOverwrite ?")) return current;
        const auto entered = asker.askName("Enter new filename", 7);
        if (!entered)
            throw IoError(io::kAccessDenied, "File " + name + " exists and was not replaced");
        // The tail keeps the character before the last dot: for "pic0.rim" it is "0.rim". A
        // name without a dot has no tail (our writers always add an extension).
        const auto dot = name.find_last_of('.');
        const std::string tail =
            dot == std::string::npos ? std::string() : name.substr(dot == 0 ? 0 : dot - 1);
        current = current.substr(0, start) + CutUtf8(*entered, 7) + tail;
    }
    return current;
}

}  // namespace mozu
