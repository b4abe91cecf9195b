#include "tests/support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "tests/support/file_bytes.h"

namespace mozu::test {

TempDir::TempDir() {
    // mkdtemp makes the folder under a name nobody else has, even with tests run in parallel.
    std::string pattern = (std::filesystem::temp_directory_path() / "mozu-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string full = *this / name;
    WriteBytes(full, bytes);
    return full;
}

std::vector<std::string> TempDir::files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace mozu::test
