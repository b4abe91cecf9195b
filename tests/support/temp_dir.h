#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test is done.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mozu::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of `name` in this folder (which need not exist yet).
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // Writes `bytes` to `name` in this folder and returns its full path.
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

    // The names of everything in the folder, sorted.
    std::vector<std::string> files() const;

  private:
    std::filesystem::path path_;
};

}  // namespace mozu::test
