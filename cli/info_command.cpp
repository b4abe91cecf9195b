// mozu-cli info: each file's type and the description the main window shows for it, as text or
// JSON, several files at once.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/video_library.h"
#include "video/video_describe.h"

namespace mozu::cli {

namespace {

struct Description {
    bool ok = false;
    FileType type = FileType::Unsupported;
    std::string text;  // lines separated by newlines
};

// The type and description of one file; raises on files that cannot be read.
Description Describe(const std::string& path, int screenMode) {
    if (!PathExists(path)) throw CliError(path + ": no such file");
    std::string description;
    const FileType type = RecogniseAnyFile(path);
    if (type == FileType::HeadedScreen) {
        description = "headed screen file without start-up routine (not shown)";
    } else if (type == FileType::Unsupported) {
        description = "Undefined";
    } else if (IsSymbosVideoType(type)) {
        description = DescribeVidFile(kDefaultColourTable, path);
    } else if (type == FileType::PcVideo) {
        const auto source = LoadVideoLibrary().makeFrameSource();
        description = DescribePcVideoFile(*source, path);
    } else {
        Document document;
        description = OpenPicture(document, path, type, 0, screenMode).description;
    }
    return {true, type, PlainLines(description)};
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// {"file": ..., "type": N, "description": [lines]} or {"file": ..., "error": ...}.
std::string JsonEntry(const std::string& path, const Description& d, const std::string& error) {
    std::string out = "  {\"file\": " + JsonString(path);
    if (!d.ok) return out + ", \"error\": " + JsonString(error) + "}";
    out += ", \"type\": " + std::to_string(FileTypeNumber(d.type)) + ", \"description\": [";
    std::size_t from = 0;
    bool first = true;
    while (from <= d.text.size()) {
        const std::size_t end = std::min(d.text.find('\n', from), d.text.size());
        out += (first ? "" : ", ") + JsonString(d.text.substr(from, end - from));
        first = false;
        from = end + 1;
    }
    return out + "]}";
}

}  // namespace

int RunInfoCommand(int argc, char** argv) {
    return Guarded([&] {
        CLI::App app("Prints each file's type number and the description the main window shows.",
                     "mozu-cli info");
        std::vector<std::string> files;
        std::string jobs, modeText;
        app.add_option("FILE", files, "Files to describe.")->type_name("FILE...");
        const CLI::Option* json = app.add_flag("--json")->description(
            "A JSON array: file, type and description lines, or error.");
        app.add_option("-j,--jobs", jobs, "Files read at once (default: every core).")
            ->type_name("N");
        AddScreenModeOption(app, modeText);
        if (ParseOrHelp(app, argc, argv)) return 0;
        if (files.empty()) throw CliError("info needs at least one FILE (see --help)", 2);
        const int jobCount = ParseJobs(jobs);
        const int screenMode = ParseScreenMode(modeText);

        // One unreadable file does not stop the others; it sets the exit status. The
        // descriptions come out in the order of the files.
        std::vector<Description> results(files.size());
        std::vector<std::string> errors(files.size());
        const BatchReport report =
            RunBatch(files, jobCount, false, "described", [&](std::size_t i) {
                try {
                    results[i] = Describe(files[i], screenMode);
                } catch (...) {
                    errors[i] = CurrentFailure().first;
                    throw;
                }
            });
        std::string out;
        if (json->count() > 0) {
            out = "[\n";
            for (std::size_t i = 0; i < files.size(); ++i)
                out += JsonEntry(files[i], results[i], errors[i]) +
                       (i + 1 < files.size() ? ",\n" : "\n");
            out += "]\n";
        } else {
            bool first = true;
            for (std::size_t i = 0; i < files.size(); ++i) {
                if (!results[i].ok) continue;
                if (!first) out += '\n';
                first = false;
                out += files[i] + ": file type " + std::to_string(FileTypeNumber(results[i].type)) +
                       '\n' + results[i].text + '\n';
            }
        }
        PrintOut(out);
        return report.failed ? 1 : 0;
    });
}

}  // namespace mozu::cli
