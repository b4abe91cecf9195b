// mozu-cli: Mozu's conversions from the command line.

#include <cstring>
#include <iostream>
#include <string_view>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/video_library.h"

namespace {

constexpr const char* kUsage =
    "Usage: mozu-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  convert INPUT -o BASE   convert a picture to CPC and SymbOS files\n"
    "  convert INPUT... -o DIR/ [-j N]\n"
    "                          convert many pictures at once, each to its own name in DIR\n"
    "  info FILE... [--json]   show each file's type and description\n"
    "  export FILE -o OUT.png  write what a Mozu picture file shows as a PNG\n"
    "  export FILE... -o DIR/  the same for many files, each to DIR/NAME.png\n"
    "  video ...               SymbOS videos (see 'mozu-cli video --help')\n"
    "\n"
    "Pictures read: BMP, JPEG, PNG, GIF, TGA, PNM (PPM/PGM) and Mozu's own files.\n"
    "\n"
    "'mozu-cli COMMAND --help' describes a command's options; 'mozu-cli --version' names the\n"
    "version.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--version" || command == "-V") {
        std::cout << "mozu-cli " MOZU_VERSION "\n";
        return 0;
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    // Each subcommand sees its own name as argv[0].
    if (command == "convert") return mozu::cli::RunConvertCommand(argc - 1, argv + 1);
    if (command == "info") return mozu::cli::RunInfoCommand(argc - 1, argv + 1);
    if (command == "export") return mozu::cli::RunExportCommand(argc - 1, argv + 1);
    // Video support (FFmpeg) is loaded only for the video command.
    if (command == "video")
        return mozu::cli::Guarded(
            [&] { return mozu::cli::LoadVideoLibrary().runVideoCommand(argc - 1, argv + 1); });
    std::cerr << "mozu-cli: unknown command '" << command << "' (see mozu-cli --help)\n";
    return 2;
}
