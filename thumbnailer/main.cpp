// mozu-thumbnailer: the thumbnail a file manager shows for a CPC or SymbOS file. File managers
// run it through mozu.thumbnailer as `mozu-thumbnailer -s SIZE INPUT OUTPUT.png`.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/io_error.h"
#include "thumbnailer/thumbnail.h"

namespace {

constexpr const char* kUsage =
    "Usage: mozu-thumbnailer [-s SIZE] INPUT OUTPUT.png\n"
    "\n"
    "Writes what a CPC screen, overscan, SymbOS graphics file or the first frame of a SymbOS\n"
    "video shows, at its pixel shape, as a PNG at most SIZE pixels wide and high (default 128).\n"
    "Exits with 1 and writes nothing for a file it cannot show, 2 for a usage error.\n";

constexpr int kLargestSize = 4096;

int Usage(const std::string& problem) {
    std::cerr << "mozu-thumbnailer: " << problem << "\n" << kUsage;
    return 2;
}

// One line on stderr that names the input, once: most of the readers' messages name it already.
void Report(const std::string& input, const std::string& message) {
    std::cerr << "mozu-thumbnailer: "
              << (message.find(input) == std::string::npos ? input + ": " : "") << message << '\n';
}

// A whole number 1 .. kLargestSize, or 0.
int ParseSize(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > kLargestSize) return 0;
    return static_cast<int>(value);
}

}  // namespace

int main(int argc, char** argv) {
    int size = 128;
    std::vector<std::string> files;
    bool options = true;  // until "--"
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!options || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "-s" || arg == "--size") {
            if (i + 1 == argc) return Usage(arg + " needs a size");
            size = ParseSize(argv[++i]);
            if (size == 0)
                return Usage("the size is a whole number 1-" + std::to_string(kLargestSize) +
                             ", not '" + argv[i] + "'");
        } else {
            return Usage("unknown option '" + arg + "'");
        }
    }
    if (files.size() != 2) return Usage("an INPUT and an OUTPUT.png are needed");
    try {
        mozu::WriteThumbnail(files[0], files[1], size);
        return 0;
    } catch (const mozu::IoError& e) {
        const std::string text = e.what();
        Report(files[0], text.empty() ? std::string(mozu::ErrorText(e.code())) : text);
    } catch (const std::exception& e) {
        Report(files[0], e.what());
    }
    return 1;
}
