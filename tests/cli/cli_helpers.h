#pragma once
// Running the built mozu-cli in a scratch folder, and small fixtures for its tests.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu::testing {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // The names of the files in the folder, sorted.
    std::vector<std::string> files() const;

  private:
    std::filesystem::path path_;
};

// Runs mozu-cli with `args` in `dir`; stdout and stderr are captured.
CliRun RunCli(const std::vector<std::string>& args, const ScratchDir& dir);

// An uncompressed 24-bit BMP file of the picture.
void WriteBmp24(const std::string& path, const Picture& picture);

// Width and height from a PNG file's header; {0, 0} if it is no PNG.
std::pair<int, int> PngSize(const std::string& path);

// The size of a SymbOS graphics file of a w x h picture: its strips' headers and rows and the
// three end bytes.
std::uintmax_t SgxFileSize(int w, int h, bool sixteenColours);

std::string ReadText(const std::string& path);

}  // namespace mozu::testing
