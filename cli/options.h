#pragma once
// Small helpers shared by the subcommands: parsing with CLI11, failure reporting, the output
// base name and opening a picture as the main window does.

#include <stdexcept>
#include <string>

#include "colour/reduction_options.h"
#include "document/open_file.h"
#include "platform/io_error.h"

namespace CLI {
class App;
}

namespace mozu::cli {

// A usage or input error: reported as one line on stderr, exit status 1 (2 for usage).
class CliError : public std::runtime_error {
  public:
    explicit CliError(const std::string& message, int status = 1)
        : std::runtime_error(message), status_(status) {}
    int status() const { return status_; }

  private:
    int status_;
};

// Parses argv (argv[0] the subcommand) into `app`, then prints help and returns true when
// --help was given. Raises CliError (status 2) on unknown options or missing values.
bool ParseOrHelp(CLI::App& app, int argc, char** argv);

// Runs a subcommand body, turning CliError, IoError and other exceptions into one line on stderr
// and an exit status.
int ReportFailure(const std::string& message, int status);
// The one-line text of the exception being handled and its exit status.
std::pair<std::string, int> CurrentFailure();
template <typename F>
int Guarded(F&& body) {
    try {
        return body();
    } catch (...) {
        const auto [message, status] = CurrentFailure();
        return ReportFailure(message, status);
    }
}

// A non-negative whole number option value, or CliError naming the option.
int ParseCount(const std::string& value, const std::string& option);

// The number of parallel jobs: -j N (1-256), by default the number of cores.
int ParseJobs(const std::string& value);

// The base name as the save dialog forms it: the folder as given plus the name cut to its
// AMS name (everything from the first dot goes, at most 7 characters). CliError if that leaves
// no name.
std::string OutputBaseName(const std::string& base);

// Whether `output` names a folder: it ends in '/' (or is an existing folder when `several`
// inputs share it). CliError when several inputs would share one file name.
bool NamesFolder(const std::string& output, bool several);

// `folder` and the file name of `path`, with one '/' between.
std::string InFolder(const std::string& folder, const std::string& path);

// Creates the folder part of `path` (and its parents) when missing; CliError if that fails.
void MakeParentFolder(const std::string& path);

bool PathExists(const std::string& path);

// Opens a PC picture or Mozu picture file of type `type` (RecogniseAnyFile) into the document as
// the open dialog does; the result
// holds the file type and its description. CliError for missing files, folders, videos and files
// of no supported type; IoError for files that cannot be read. PNG, GIF, TGA, WebP and TIFF
// transparency is laid over `background`. Another tool's screen dump takes its mode and colours
// from the .pal file beside it, else is read in `screenMode` (0-2) with the firmware's colours;
// without either it is a CliError that asks for --mode.
OpenResult OpenPicture(Document& document, const std::string& path, FileType type,
                       Colour background = 0, int screenMode = -1);

// --mode N: the screen mode of a CPC screen dump without a .pal file; `text` receives it.
void AddScreenModeOption(CLI::App& app, std::string& text);
// The mode given with --mode (0-2), or -1 when `text` is empty; a usage error otherwise.
int ParseScreenMode(const std::string& text);

// --method NAME, --palette NAME and --pens LIST: the reduction method of dithered conversions.
// The names are read by the core (ParseReductionMethod, ParsePaletteChoice, ParsePens); a bad
// one is a usage error.
struct ReductionTexts {
    std::string method = "classic", palette = "popularity", pens;
};
void AddReductionOptions(CLI::App& app, ReductionTexts& texts);
ReductionOptions ReductionOptionsFrom(const ReductionTexts& texts);

// "\n\r" (the labels' line break) as a newline.
std::string PlainLines(const std::string& label);

// A colour given as RRGGBB (an optional leading '#'); CliError naming the option otherwise.
Colour ParseColour(const std::string& value, const std::string& option);

}  // namespace mozu::cli
