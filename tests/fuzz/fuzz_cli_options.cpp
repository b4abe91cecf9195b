// mozu-cli's option parsing: the input is an argument list, one argument a line, the first the
// subcommand. The commands run for real in a private folder holding one small picture, "p.bmp";
// an argument with a '/' is not passed on, so that nothing outside that folder is read or
// written. What the commands write is removed after each input.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// An 8 x 8 24-bit BMP of four colours.
std::vector<std::uint8_t> SmallBmp() {
    std::vector<std::uint8_t> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                   0,   0,   0, 8, 0, 0, 0, 8, 0, 0, 0,  1, 0, 24, 0};
    b.resize(54, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t v = static_cast<std::uint8_t>(((x / 4) + 2 * (y / 4)) * 80);
            b.insert(b.end(), {v, static_cast<std::uint8_t>(255 - v), 128});
        }
    b[2] = static_cast<std::uint8_t>(b.size());
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        const auto& scratch = mozu::fuzz::Scratch();
        const auto bmp = SmallBmp();
        scratch.write("p.bmp", bmp.data(), bmp.size());
        if (::chdir(scratch.path().c_str()) != 0) std::abort();
        return scratch.path();
    }();
    std::vector<std::string> args;
    std::string arg;
    for (std::size_t i = 0; i < size && args.size() < 16; ++i) {
        if (data[i] == '\n') {
            args.push_back(arg);
            arg.clear();
        } else if (data[i] == 0 || data[i] == '/') {
            return 0;
        } else {
            arg += static_cast<char>(data[i]);
        }
    }
    if (args.size() < 16) args.push_back(arg);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(args.size());
    const std::string& command = args[0];
    if (command == "convert") mozu::cli::RunConvertCommand(argc, argv.data());
    if (command == "info") mozu::cli::RunInfoCommand(argc, argv.data());
    if (command == "export") mozu::cli::RunExportCommand(argc, argv.data());
    if (command == "video") mozu::cli::RunVideoCommand(argc, argv.data());
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename() != "p.bmp") std::filesystem::remove_all(e.path());
    return 0;
}
