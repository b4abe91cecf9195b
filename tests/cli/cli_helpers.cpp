#include "cli/cli_helpers.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace mozu::testing {

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

void PutLe(std::ofstream& f, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.put(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

ScratchDir::ScratchDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("mozu_cli_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

CliRun RunCli(const std::vector<std::string>& args, const ScratchDir& dir) {
    const std::string out = dir.path().parent_path() / (dir.path().filename().string() + ".out");
    const std::string err = dir.path().parent_path() / (dir.path().filename().string() + ".err");
    // Built piece by piece: GCC 12 at -O3 takes `" " + Quote(a)` for an overlapping copy
    // (-Wrestrict), a known false alarm.
    std::string command = "cd " + Quote(dir.path().string()) + " && " + Quote(MOZU_CLI_PATH);
    for (const std::string& a : args) {
        command += ' ';
        command += Quote(a);
    }
    command += " >";
    command += Quote(out);
    command += " 2>";
    command += Quote(err);
    const int raw = std::system(command.c_str());
    CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

void WriteBmp24(const std::string& path, const Picture& picture) {
    const int w = picture.width(), h = picture.height();
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = rowBytes * static_cast<std::uint32_t>(h);
    std::ofstream f(path, std::ios::binary);
    f.write("BM", 2);
    PutLe(f, 54 + dataSize, 4);
    PutLe(f, 0, 4);
    PutLe(f, 54, 4);
    PutLe(f, 40, 4);
    PutLe(f, static_cast<std::uint32_t>(w), 4);
    PutLe(f, static_cast<std::uint32_t>(h), 4);  // bottom-up rows
    PutLe(f, 1, 2);
    PutLe(f, 24, 2);
    PutLe(f, 0, 4);
    PutLe(f, dataSize, 4);
    PutLe(f, 2835, 4);
    PutLe(f, 2835, 4);
    PutLe(f, 0, 4);
    PutLe(f, 0, 4);
    const std::string padding(rowBytes - static_cast<std::uint32_t>(w) * 3, '\0');
    for (int y = h - 1; y >= 0; --y) {
        f.write(reinterpret_cast<const char*>(picture.row(y)),
                static_cast<std::streamsize>(picture.stride()));
        f.write(padding.data(), static_cast<std::streamsize>(padding.size()));
    }
}

std::pair<int, int> PngSize(const std::string& path) {
    const std::string bytes = ReadText(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    auto be32 = [&](std::size_t at) {
        int v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

std::uintmax_t SgxFileSize(int w, int h, bool sixteenColours) {
    // n = w div 254, less one above 1; n full strips, then the whole bytes left.
    int n = w / 254;
    if (n > 1) --n;
    const int fullBytes = sixteenColours ? (w / (n + 1)) / 4 * 2 : (w / (n + 1)) / 4;
    const int fullPixels = sixteenColours ? fullBytes * 2 : fullBytes * 4;
    const int lastBytes = sixteenColours ? (w - n * fullPixels) / 2 : (w - n * fullPixels) / 4;
    std::uintmax_t size = 3;
    for (int s = 0; s < n; ++s) size += 8 + static_cast<std::uintmax_t>(fullBytes) * h;
    return size + 8 + static_cast<std::uintmax_t>(lastBytes) * h;
}

std::string ReadText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace mozu::testing
