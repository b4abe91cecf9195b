#include "formats/file_type.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "formats/amsdos_header.h"
#include "formats/file_type_detail.h"
#include "formats/level_reader.h"
#include "formats/screen_dump.h"
#include "formats/screen_files.h"
#include "platform/binary_file.h"

namespace mozu {

namespace {

std::string Extension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < start) return {};
    return path.substr(dot);  // dot included
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The first 257 bytes, or as many as the file has, and random access to a few later ones.
class Probe {
  public:
    explicit Probe(InputFile& in) : in_(in) {
        buf_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), kSize)));
        in.readAt(0, buf_);
    }
    // -1 where the file has no such byte.
    int at(std::uint64_t offset) const {
        if (offset < buf_.size()) return buf_[static_cast<std::size_t>(offset)];
        if (offset >= in_.size()) return -1;
        std::uint8_t b = 0;
        in_.readAt(offset, std::span<std::uint8_t>(&b, 1));
        return b;
    }
    // The bytes read at once.
    std::span<const std::uint8_t> head() const { return buf_; }

  private:
    InputFile& in_;
    static constexpr std::uint64_t kSize = 257;
    std::vector<std::uint8_t> buf_;
};

}  // namespace

namespace detail {

CpcKind CpcKindOf(const std::string& path, bool wholeLowerCase) {
    const std::string ext = Extension(path);
    if (wholeLowerCase) {
        const std::string e = Lower(ext);
        if (e == ".vid") return CpcKind::Video;
        if (e == ".sgx") return CpcKind::Sgx;
        if (e == ".bin" || e == ".scr" || e == ".rim") return CpcKind::Screen;
        if (e == ".sca") return CpcKind::Overscan;
        if (e == ".lvl") return CpcKind::Level;
        return CpcKind::None;
    }
    const std::string e = ext.empty() ? std::string() : Upper(ext.substr(1, 3));
    if (e == "VID") return CpcKind::Video;
    if (e == "SGX") return CpcKind::Sgx;
    if (e == "BIN" || e == "SCR" || e == "RIM") return CpcKind::Screen;
    if (e == "SCA") return CpcKind::Overscan;
    if (e == "LVL") return CpcKind::Level;
    return CpcKind::None;
}

FileType ClassifyOpenFile(InputFile& in, CpcKind kind) {
    const Probe probe(in);
    FileType type = FileType::Unsupported;
    switch (kind) {
        case CpcKind::Video: {
            const int mode = probe.at(18);
            if (mode == 1) type = FileType::Video4;
            if (mode == 7) type = FileType::Video16;
            break;
        }
        case CpcKind::Sgx: {
            const int b0 = probe.at(0);
            const int b1 = probe.at(1);
            if (b0 == 0x40 && b1 == 5) type = FileType::Sgx16;
            if (b0 == 0x40 && b1 == 0) type = FileType::Sgx4;
            // A plain graphic starts with its width in bytes, then in pixels.
            if (b0 >= 0 && b1 >= 0 && b0 * 4 == b1) type = FileType::Sgx4;
            break;
        }
        case CpcKind::Screen: {
            // A bare 16 KB screen: no file of ours is that short (ours are 16512 bytes).
            if (in.size() == kScreenDumpBytes && !IsAmsdosHeader(probe.head())) {
                type = FileType::ScreenDump;
                break;
            }
            const bool header = IsScreenLoadHeader(probe.head());
            if (header) {
                // Our own files start the routine with LD A,mode; a mode byte that is no screen
                // mode (or a file too short to hold the routine) is a headed screen file that
                // is not ours.
                const int mode = probe.at(kStartupRoutineOffset + 1);
                type = probe.at(kStartupRoutineOffset) == 0x3E && mode >= 0 && mode <= 2
                           ? static_cast<FileType>(mode)  // ScreenMode0-2
                           : FileType::HeadedScreen;
                // Another tool's screen behind a correct AMSDOS header (see screen_dump.h).
                if (type == FileType::HeadedScreen &&
                    LooksLikeScreenDump(probe.head(), in.size(), false))
                    type = FileType::ScreenDump;
            }
            break;
        }
        case CpcKind::Overscan: {
            const int mode = probe.at(128);
            if (mode >= 0 && mode <= 2)
                type = static_cast<FileType>(FileTypeNumber(FileType::OverscanMode0) + mode);
            break;
        }
        case CpcKind::Level: {
            // ".lvl" names other programs' levels too: only a level file's header counts.
            const int mode = LevelFileMode(probe.head());
            if (mode >= 0) type = mode == 0 ? FileType::LevelMode0 : FileType::LevelMode1;
            break;
        }
        case CpcKind::None:
            break;
    }
    return type;
}

}  // namespace detail

FileType IsSupportedFile(const std::string& path) {
    const std::string ext = Lower(Extension(path));
    if (ext == ".bmp") return FileType::Bmp;
    if (ext == ".jpg" || ext == ".jpeg") return FileType::Jpeg;
    if (ext == ".png") return FileType::Png;
    if (ext == ".gif") return FileType::Gif;
    if (ext == ".tga") return FileType::Tga;
    if (ext == ".ppm" || ext == ".pgm" || ext == ".pnm") return FileType::Pnm;
    if (ext == ".webp") return FileType::Webp;
    if (ext == ".tif" || ext == ".tiff") return FileType::Tiff;
    static constexpr const char* kVideos[] = {
        ".avi", ".divx", ".xvid", ".vob", ".mov", ".wmv", ".rmvb", ".mpg", ".mpeg",
        // Today's containers, which the same frame source reads.
        ".mp4", ".m4v", ".mkv", ".webm", ".ogv", ".flv", ".ts", ".mts"};
    for (const char* v : kVideos)
        if (ext == v) return FileType::PcVideo;
    InputFile in(path);
    return detail::ClassifyOpenFile(in, detail::CpcKindOf(path, true));
}

FileType CheckCPCFile(const std::string& path) {
    InputFile in(path);
    return detail::ClassifyOpenFile(in, detail::CpcKindOf(path, false));
}

}  // namespace mozu
