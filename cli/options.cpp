#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <thread>

#include "formats/file_name.h"
#include "formats/screen_dump.h"

namespace mozu::cli {

namespace fs = std::filesystem;

bool ParseOrHelp(CLI::App& app, int argc, char** argv) {
    try {
        // CLI11 takes argv[0] as the program's name; ours is "mozu-cli COMMAND".
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return true;
    } catch (const CLI::ParseError& e) {
        throw CliError(e.what(), 2);
    }
    return false;
}

int ReportFailure(const std::string& message, int status) {
    std::string line = "mozu-cli: " + message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    line += '\n';
    // One write, so that lines of parallel jobs never mix.
    std::fwrite(line.data(), 1, line.size(), stderr);
    return status;
}

std::pair<std::string, int> CurrentFailure() {
    try {
        throw;
    } catch (const CliError& e) {
        return {e.what(), e.status()};
    } catch (const IoError& e) {
        const std::string text = e.what();
        return {text.empty() ? std::string(ErrorText(e.code())) : text, 1};
    } catch (const std::bad_alloc&) {
        return {"not enough memory", 1};
    } catch (const std::exception& e) {
        return {e.what(), 1};
    }
}

int ParseCount(const std::string& value, const std::string& option) {
    int n = -1;
    const bool digits = !value.empty() && value.size() <= 4 &&
                        std::all_of(value.begin(), value.end(),
                                    [](unsigned char c) { return std::isdigit(c) != 0; });
    if (digits) n = std::stoi(value);
    if (n < 0 || n > 1000)
        throw CliError("--" + option + " takes a whole number 0-1000, not '" + value + "'", 2);
    return n;
}

int ParseJobs(const std::string& value) {
    if (value.empty()) return std::max(1u, std::thread::hardware_concurrency());
    const bool digits =
        value.size() <= 3 && std::all_of(value.begin(), value.end(),
                                         [](unsigned char c) { return std::isdigit(c) != 0; });
    const int n = digits ? std::stoi(value) : 0;
    if (n < 1 || n > 256) throw CliError("-j takes a number of jobs 1-256, not '" + value + "'", 2);
    return n;
}

std::string OutputBaseName(const std::string& base) {
    const std::size_t slash = base.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : base.substr(0, slash + 1);
    const std::string name = AMSname(base.substr(slash == std::string::npos ? 0 : slash + 1));
    if (name.empty()) throw CliError("no file name in output base '" + base + "'", 2);
    return folder + name;
}

bool NamesFolder(const std::string& output, bool several) {
    if (!output.empty() && output.back() == '/') return true;
    if (!several) return false;
    std::error_code ec;
    if (fs::exists(output, ec) && !fs::is_directory(output, ec))
        throw CliError(output + " is a file; several inputs need an output folder", 2);
    return true;
}

std::string InFolder(const std::string& folder, const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

void MakeParentFolder(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    if (parent.empty()) return;
    std::error_code ec;
    if (fs::is_directory(parent, ec)) return;
    fs::create_directories(parent, ec);
    if (ec && !fs::is_directory(parent))
        throw CliError("cannot create the folder " + parent.string() + ": " + ec.message());
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

OpenResult OpenPicture(Document& document, const std::string& path, FileType type,
                       Colour background, int screenMode) {
    std::error_code ec;
    if (!fs::exists(path, ec)) throw CliError(path + ": no such file");
    if (fs::is_directory(path, ec)) throw CliError(path + ": a folder, not a file");
    if (IsSymbosVideoType(type) || type == FileType::PcVideo)
        throw CliError(path + ": a video (file type " + std::to_string(FileTypeNumber(type)) +
                       "); use 'mozu-cli video'");
    if (type == FileType::ScreenDump && screenMode < 0 && PaletteFileBeside(path).empty())
        throw CliError(path +
                       ": a CPC screen dump with no .pal file beside it: give its mode with "
                       "--mode 0, 1 or 2");
    OpenSettings settings;
    settings.background = background;
    settings.screenMode = screenMode;
    const OpenResult result = OpenFileAs(document, path, type, OpenOrigin::Chosen, settings);
    if (!result.opened())
        throw CliError(path + ": Not supported file format (file type " +
                       std::to_string(FileTypeNumber(type)) + ")" +
                       (result.reason.empty() ? "" : ": " + result.reason));
    return result;
}

void AddScreenModeOption(CLI::App& app, std::string& text) {
    app.add_option("--mode", text,
                   "Screen mode (0, 1 or 2) of a CPC screen dump (16 KB, with or without an\n"
                   "AMSDOS header) that has no .pal file beside it; its colours are then the\n"
                   "firmware's.")
        ->type_name("N");
}

int ParseScreenMode(const std::string& text) {
    if (text.empty()) return -1;
    if (text != "0" && text != "1" && text != "2")
        throw CliError("--mode takes a screen mode 0, 1 or 2, not '" + text + "'", 2);
    return text[0] - '0';
}

void AddReductionOptions(CLI::App& app, ReductionTexts& texts) {
    std::string methods;
    for (ReductionMethod m : kAllReductionMethods) {
        if (!methods.empty()) methods += ' ';
        methods += ReductionMethodName(m);
    }
    app.add_option("--method", texts.method,
                   "How dithering reduces the colours: " + methods +
                       " (default classic); add +serpentine (error diffusion) or +rgb (error in "
                       "RGB instead of OKLab), e.g. floyd-steinberg+serpentine.")
        ->type_name("NAME");
    app.add_option("--palette", texts.palette,
                   "How free pens are chosen: popularity (default) or clustering.")
        ->type_name("NAME");
    app.add_option("--pens", texts.pens,
                   "Pens fixed by firmware colour number, first pen first (e.g. 0,26,6); the "
                   "palette choice fills the other pens.")
        ->type_name("LIST");
}

ReductionOptions ReductionOptionsFrom(const ReductionTexts& texts) {
    ReductionOptions options;
    try {
        ParseReductionMethod(texts.method, options);
        options.palette = ParsePaletteChoice(texts.palette);
        if (!texts.pens.empty()) options.pens = ParsePens(texts.pens);
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

Colour ParseColour(const std::string& value, const std::string& option) {
    std::string hex = value;
    if (!hex.empty() && hex[0] == '#') hex.erase(0, 1);
    const bool ok = hex.size() == 6 && std::all_of(hex.begin(), hex.end(), [](unsigned char c) {
                        return std::isxdigit(c) != 0;
                    });
    if (!ok) throw CliError("--" + option + " takes a colour RRGGBB, not '" + value + "'", 2);
    const unsigned long v = std::stoul(hex, nullptr, 16);
    return MakeColour(static_cast<int>(v >> 16), static_cast<int>(v >> 8), static_cast<int>(v));
}

}  // namespace mozu::cli
