#include "cli/cli_asker.h"

#include "cli/options.h"
#include "colour/conversion_commands.h"

namespace mozu::cli {

bool CliAsker::askYesNo(const std::string& text) {
    lastQuestion_ = text;
    if (text == kExactColourQuestion) return exactColours_;
    if (text.starts_with("File ")) return force_;  // "File NAME exists\n\rOverwrite ?"
    return false;
}

std::optional<std::string> CliAsker::askName(const std::string& prompt, int) {
    if (lastQuestion_.starts_with("File ")) {
        const std::size_t end = lastQuestion_.find(" exists");
        throw CliError(lastQuestion_.substr(5, end == std::string::npos ? end : end - 5) +
                       " exists (use --force to replace it)");
    }
    throw CliError("cannot answer '" + prompt + "' on the command line");
}

void CliAsker::notify(const std::string& text) {
    ReportFailure(text, 0);
}

}  // namespace mozu::cli
