#pragma once
// Small helpers shared by the subcommands: argument lists for Qt's parser, failure reporting,
// the output base name and opening a picture as the main window does.

#include <QCommandLineParser>
#include <QStringList>
#include <stdexcept>
#include <string>

#include "colour/reduction_options.h"
#include "document/open_file.h"
#include "platform/io_error.h"

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

QStringList Arguments(int argc, char** argv);

// Parses, then prints help and returns true when --help was given. Raises CliError on unknown
// options or a missing value.
bool ParseOrHelp(QCommandLineParser& parser, const QStringList& args);

// Runs a subcommand body, turning CliError, IoError and other exceptions into one line on stderr
// and an exit status.
int ReportFailure(const std::string& message, int status);
template <typename F>
int Guarded(F&& body) {
    try {
        return body();
    } catch (const CliError& e) {
        return ReportFailure(e.what(), e.status());
    } catch (const IoError& e) {
        const std::string text = e.what();
        return ReportFailure(text.empty() ? std::string(ErrorText(e.code())) : text, 1);
    } catch (const std::exception& e) {
        return ReportFailure(e.what(), 1);
    }
}

// A non-negative whole number option value, or CliError naming the option.
int ParseCount(const QString& value, const std::string& option);

// The base name as the save dialog forms it: the folder as given plus the name cut to its
// AMS name (everything from the first dot goes, at most 7 characters). CliError if that leaves
// no name.
std::string OutputBaseName(const std::string& base);

// Opens a BMP, JPEG or Mozu picture file into the document as the open dialog does; the result
// holds the file type and its description. CliError for missing files, videos and files of no
// supported type; IoError for files that cannot be read.
OpenResult OpenPicture(Document& document, const std::string& path);

// --method NAME, --palette NAME and --pens LIST: the reduction method of dithered conversions.
// The names are read by the core (ParseReductionMethod, ParsePaletteChoice, ParsePens); a bad
// one is a usage error.
void AddReductionOptions(QCommandLineParser& parser);
ReductionOptions ReductionOptionsFrom(const QCommandLineParser& parser);

// "\n\r" (the labels' line break) as a newline.
std::string PlainLines(const std::string& label);

}  // namespace mozu::cli
