#include "cli/options.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <iostream>

#include "formats/file_name.h"

namespace mozu::cli {

QStringList Arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

bool ParseOrHelp(QCommandLineParser& parser, const QStringList& args) {
    const QCommandLineOption help(QStringList{"h", "help"}, "Show this help.");
    parser.addOption(help);
    if (!parser.parse(args)) throw CliError(parser.errorText().toStdString(), 2);
    if (parser.isSet(help)) {
        // Without an application object the parser does not know the program's name.
        QString text = parser.helpText();
        text.replace("<executable_name>", "mozu-cli " + args.value(0));
        std::cout << text.toStdString();
        return true;
    }
    return false;
}

int ReportFailure(const std::string& message, int status) {
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    std::cerr << "mozu-cli: " << line << '\n';
    return status;
}

int ParseCount(const QString& value, const std::string& option) {
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < 0 || n > 1000)
        throw CliError(
            "--" + option + " takes a whole number 0-1000, not '" + value.toStdString() + "'", 2);
    return n;
}

std::string OutputBaseName(const std::string& base) {
    const std::size_t slash = base.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : base.substr(0, slash + 1);
    const std::string name = AMSname(base.substr(slash == std::string::npos ? 0 : slash + 1));
    if (name.empty()) throw CliError("no file name in output base '" + base + "'", 2);
    return folder + name;
}

OpenResult OpenPicture(Document& document, const std::string& path) {
    if (!QFileInfo::exists(QString::fromStdString(path))) throw CliError(path + ": no such file");
    const FileType type = RecogniseFile(path);
    if (IsSymbosVideoType(type) || type == FileType::PcVideo)
        throw CliError(path + ": a video (file type " + std::to_string(FileTypeNumber(type)) +
                       "); use 'mozu-cli video'");
    const OpenResult result = OpenFileAs(document, path, type, OpenOrigin::Chosen);
    if (!result.opened())
        throw CliError(path + ": Not supported file format (file type " +
                       std::to_string(FileTypeNumber(type)) + ")");
    return result;
}

void AddReductionOptions(QCommandLineParser& parser) {
    QString methods;
    for (ReductionMethod m : kAllReductionMethods)
        methods += QString::fromUtf8(ReductionMethodName(m).data(),
                                     static_cast<qsizetype>(ReductionMethodName(m).size())) +
                   ' ';
    parser.addOptions({
        {"method",
         "How dithering reduces the colours: " + methods.trimmed() +
             " (default classic); add +serpentine (error diffusion) or +rgb (error in RGB "
             "instead of OKLab), e.g. floyd-steinberg+serpentine.",
         "NAME", "classic"},
        {"palette", "How free pens are chosen: popularity (default) or clustering.", "NAME",
         "popularity"},
        {"pens",
         "Pens fixed by firmware colour number, first pen first (e.g. 0,26,6); the palette "
         "choice fills the other pens.",
         "LIST"},
    });
}

ReductionOptions ReductionOptionsFrom(const QCommandLineParser& parser) {
    ReductionOptions options;
    try {
        ParseReductionMethod(parser.value("method").toStdString(), options);
        options.palette = ParsePaletteChoice(parser.value("palette").toStdString());
        if (parser.isSet("pens")) options.pens = ParsePens(parser.value("pens").toStdString());
    } catch (const std::invalid_argument& e) {
        throw CliError(e.what(), 2);
    }
    return options;
}

std::string PlainLines(const std::string& label) {
    std::string out;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '\n' && i + 1 < label.size() && label[i + 1] == '\r') {
            out += '\n';
            ++i;
        } else {
            out += label[i];
        }
    }
    return out;
}

}  // namespace mozu::cli
