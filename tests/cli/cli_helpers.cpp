#include "cli/cli_helpers.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace mozu::test {

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const TempDir& dir) {
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

}  // namespace mozu::test
