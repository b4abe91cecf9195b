#pragma once
// What the fuzz targets share: the readers that take a path get the input through a file in a
// private folder made once per process (the folder goes when the process ends normally).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace mozu::fuzz {

// The largest picture the picture loaders' targets hand on: 4096 x 4096, a second or two under
// the sanitizers.
constexpr std::int64_t kMaxFuzzPixels = std::int64_t{1} << 24;

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mozu-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    // Writes the input to `name` in the folder and returns its path.
    std::string write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        const std::string path = (path_ / name).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) std::abort();
        return path;
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// One folder for the whole run of a target.
inline const ScratchFolder& Scratch() {
    static const ScratchFolder folder;
    return folder;
}

}  // namespace mozu::fuzz
