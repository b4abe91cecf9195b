// mozu-cli: Mozu's conversions from the command line.

#include <cstring>
#include <iostream>
#include <string_view>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: mozu-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  convert INPUT -o BASE   convert a picture to CPC and SymbOS files\n"
    "  info FILE...            show each file's type and description\n"
    "  export FILE -o OUT.png  write what a Mozu picture file shows as a PNG\n"
    "  video ...               SymbOS videos (see 'mozu-cli video --help')\n"
    "\n"
    "'mozu-cli COMMAND --help' describes a command's options.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    // Each subcommand sees its own name as argv[0].
    if (command == "convert") return mozu::cli::RunConvertCommand(argc - 1, argv + 1);
    if (command == "info") return mozu::cli::RunInfoCommand(argc - 1, argv + 1);
    if (command == "export") return mozu::cli::RunExportCommand(argc - 1, argv + 1);
    if (command == "video") return mozu::cli::RunVideoCommand(argc - 1, argv + 1);
    std::cerr << "mozu-cli: unknown command '" << command << "' (see mozu-cli --help)\n";
    return 2;
}
