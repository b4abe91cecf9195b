#include "cli/options.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <iostream>

#include "colour/conversion_commands.h"
#include "formats/cpc_file_reader.h"
#include "formats/file_name.h"
#include "platform/media/image_loader.h"

namespace mozu::cli {

namespace {

constexpr int kTypeBmp = 20;
constexpr int kTypeJpeg = 21;
constexpr int kTypePcVideo = 22;

bool IsPictureFileType(int type) {
    return (type >= 0 && type <= 2) || (type >= 4 && type <= 6) || type == 9 || type == 11;
}

}  // namespace

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

int OpenPicture(ConversionState& state, const std::string& path, std::string* description) {
    if (!QFileInfo::exists(QString::fromStdString(path))) throw CliError(path + ": no such file");
    const int type = IsSupportedFile(path);
    state.currentFileName = path;
    if (type == kTypeBmp || type == kTypeJpeg) {
        Picture picture;
        if (type == kTypeJpeg)
            JPEGtoBMP(path, picture);
        else
            LoadBMP(path, picture);
        AdoptPcPicture(state, std::move(picture));
        state.fileType = type;
        if (description) {
            // The open command's text: the last four characters of the name, in upper case.
            std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : path;
            for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            *description = ext + " image\n\r" + std::to_string(state.source.width()) + "x" +
                           std::to_string(state.source.height()) + "\n\r" +
                           std::to_string(state.sourceColourCount) + " colors";
        }
        return type;
    }
    if (IsPictureFileType(type)) {
        state.converted.fill(0);
        const std::string text = OpenCPCFile(state, path);
        AdoptOpenedPicture(state, type);
        state.fileType = type;
        if (description) *description = text;
        return type;
    }
    if (type == 13 || type == 14 || type == kTypePcVideo)
        throw CliError(path + ": a video (file type " + std::to_string(type) +
                       "); use 'mozu-cli video'");
    throw CliError(path + ": Not supported file format (file type " + std::to_string(type) + ")");
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
