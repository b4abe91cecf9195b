// mozu-cli export: what a Mozu picture file (or a video frame) shows, as a PNG; several files
// at once into a folder.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <map>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/video_library.h"
#include "formats/shown_picture.h"
#include "media/png_file.h"
#include "platform/io_error.h"
#include "video/shown_file.h"
#include "video/video_describe.h"

namespace mozu::cli {

namespace {

// Written beside the target and renamed over it, so a failed export destroys nothing.
void SavePng(const Picture& picture, const std::string& path) {
    try {
        WritePng(path, picture);
    } catch (const IoError& e) {
        throw CliError(path + ": cannot write the PNG file (" + e.what() + ")");
    }
}

std::int32_t ParseFrame(const std::string& value) {
    long long k = -1;
    if (!value.empty() && value.size() <= 10 &&
        value.find_first_not_of("0123456789") == std::string::npos)
        k = std::stoll(value);
    if (k < 0 || k > 0x7FFFFFFF)
        throw CliError("--frame takes a frame number, not '" + value + "'", 2);
    return static_cast<std::int32_t>(k);
}

struct ExportSettings {
    bool raw = false;
    bool frameGiven = false;
    std::int32_t frame = 0;
    Colour background = 0;
    int screenMode = -1;  // of a screen dump without a .pal file
};

void ExportOne(const std::string& path, const std::string& out, const ExportSettings& s) {
    if (!PathExists(path)) throw CliError(path + ": no such file");
    const FileType type = RecogniseAnyFile(path);
    if (IsSymbosVideoType(type) || type == FileType::PcVideo) {
        Picture picture;
        if (type == FileType::PcVideo) {
            const auto source = LoadVideoLibrary().makeFrameSource();
            picture = PcVideoFrame(*source, path, s.frame);
        } else {
            // 16-colour frames come with their lines doubled, as the preview shows them;
            // --raw gives one line per frame line.
            picture = ShownFile(kDefaultColourTable, path, type, {s.frame, s.raw});
        }
        SavePng(picture, out);
        return;
    }
    if (s.frameGiven) throw CliError(path + ": --frame is for videos only", 2);
    Document document;
    OpenPicture(document, path, type, s.background, s.screenMode);
    // A CPC or SymbOS file shows the slot it was read into (a screen dump the screen slot of its
    // mode); a PC picture shows itself.
    const ConversionState& state = document.state();
    const FileType shownType =
        type == FileType::ScreenDump ? static_cast<FileType>(SlotNumber(state.sourceSlot)) : type;
    const Picture& picture =
        IsPictureFileType(shownType) ? state.picture(SlotOfFileType(shownType)) : state.source;
    SavePng(s.raw ? picture : AtPixelShape(picture, PixelShapeOf(shownType)), out);
}

}  // namespace

int RunExportCommand(int argc, char** argv) {
    return Guarded([&] {
        CLI::App app(
            "Writes what a Mozu picture file shows as a PNG, at its pixel shape (mode 0 pixels\n"
            "twice as wide, mode 2 and MSX pixels twice as tall) unless --raw. With several\n"
            "files (or -o ending in /) each becomes NAME.png in the output folder.",
            "mozu-cli export");
        std::vector<std::string> files;
        std::string output, frame, jobs, background;
        app.add_option(
               "FILE", files,
               "Mozu picture files (.rim .scr .bin .sca .sgx), other tools' CPC screens, PC\n"
               "pictures or videos.")
            ->type_name("FILE...");
        app.add_option("-o,--output", output, "The PNG file to write, or a folder (ending in /).")
            ->type_name("OUT.png|DIR/");
        const CLI::Option* raw =
            app.add_flag("--raw")->description("One PNG pixel per picture pixel.");
        app.add_option("--frame", frame, "Frame K of a video (PC or SymbOS; default 0).")
            ->type_name("K");
        app.add_option("--background", background,
                       "Colour under transparent pixels, RRGGBB (default 000000).")
            ->type_name("RRGGBB");
        app.add_option("-j,--jobs", jobs, "Files exported at once (default: every core).")
            ->type_name("N");
        std::string modeText;
        AddScreenModeOption(app, modeText);
        if (ParseOrHelp(app, argc, argv)) return 0;
        if (files.empty()) throw CliError("export needs at least one FILE (see --help)", 2);
        if (output.empty()) throw CliError("export needs -o OUT.png (see --help)", 2);
        ExportSettings s;
        s.raw = raw->count() > 0;
        s.frameGiven = !frame.empty();
        if (s.frameGiven) s.frame = ParseFrame(frame);
        if (!background.empty()) s.background = ParseColour(background, "background");
        s.screenMode = ParseScreenMode(modeText);
        const int jobCount = ParseJobs(jobs);

        const bool several = files.size() > 1;
        if (!NamesFolder(output, several)) {
            ExportOne(files.front(), output, s);
            return 0;
        }
        std::vector<std::string> targets;
        std::map<std::string, std::string> owner;
        for (const std::string& file : files) {
            const std::string target =
                InFolder(output, std::filesystem::path(file).stem().string() + ".png");
            const auto [at, fresh] = owner.emplace(target, file);
            if (!fresh)
                throw CliError(file + " and " + at->second + " would both write " + target, 2);
            targets.push_back(target);
        }
        MakeParentFolder(InFolder(output, "x.png"));
        const BatchReport report =
            RunBatch(files, jobCount, several, "exported", [&](std::size_t i) {
                ExportOne(files[i], targets[i], s);
                PrintOut(targets[i] + '\n');
            });
        if (several)
            std::fprintf(
                stderr, "mozu-cli: exported %d of %zu files%s\n", report.done - report.failed,
                files.size(),
                report.failed ? (", " + std::to_string(report.failed) + " failed").c_str() : "");
        return report.failed ? 1 : 0;
    });
}

}  // namespace mozu::cli
