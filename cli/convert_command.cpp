// mozu-cli convert: a picture to CPC and SymbOS files through the conversion and save flows.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/cli_asker.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/video_library.h"
#include "colour/slot_geometry.h"
#include "document/document.h"

namespace mozu::cli {

namespace {

struct Format {
    std::string_view name;
    Slot slot;
    std::string_view suffix;
};

// In the order `all` stands for; a conversion can change what later ones see (the current slot).
constexpr std::array<Format, 10> kFormats = {{
    {"mode0", Slot::Mode0, "0.rim"},
    {"mode1", Slot::Mode1, "1.rim"},
    {"mode2", Slot::Mode2, "2.rim"},
    {"overscan0", Slot::Overscan0, "0.sca"},
    {"overscan1", Slot::Overscan1, "1.sca"},
    {"overscan2", Slot::Overscan2, "2.sca"},
    {"sgx-cpc", Slot::SgxCpc, "C.sgx"},
    {"sgx-cpc-full", Slot::SgxCpcFree, "1.sgx"},
    {"sgx-msx", Slot::SgxMsx, "7.sgx"},
    {"sgx-msx-full", Slot::SgxMsxFree, "M.sgx"},
}};

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<Format> ParseFormats(const std::string& list) {
    std::vector<Format> formats;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string name = Trimmed(list.substr(from, comma - from));
        from = comma + 1;
        if (name.empty()) continue;
        if (name == "all") {
            formats.insert(formats.end(), kFormats.begin(), kFormats.end());
            continue;
        }
        bool known = false;
        for (const Format& f : kFormats) {
            if (f.name == name) {
                formats.push_back(f);
                known = true;
            }
        }
        if (!known) throw CliError("unknown format '" + name + "'", 2);
    }
    if (formats.empty()) throw CliError("--format needs at least one format", 2);
    return formats;
}

struct AdjustmentStep {
    Adjustment what;
    int times;
};

// The adjustments in the order given on the command line, each repeated as often as asked.
std::vector<AdjustmentStep> ParseAdjustments(const CLI::App& app) {
    struct Named {
        const char* name;
        Adjustment what;
    };
    static constexpr Named kNamed[] = {{"brighter", Adjustment::Brighter},
                                       {"darker", Adjustment::Darker},
                                       {"more-contrast", Adjustment::MoreContrast},
                                       {"less-contrast", Adjustment::LessContrast}};
    std::vector<AdjustmentStep> steps;
    std::array<std::size_t, 4> used{};  // how many values of each option were taken so far
    for (const CLI::Option* option : app.parse_order()) {
        const std::string name = option->get_name(false, true);
        if (name == "--autobalance") {
            steps.push_back({Adjustment::Autobalance, 1});
            continue;
        }
        for (std::size_t i = 0; i < std::size(kNamed); ++i) {
            if (name != std::string("--") + kNamed[i].name) continue;
            const std::vector<std::string> values = option->as<std::vector<std::string>>();
            const int n = ParseCount(values.at(used[i]++), kNamed[i].name);
            steps.push_back({kNamed[i].what, n});
        }
    }
    return steps;
}

void Apply(Document& document, const AdjustmentStep& step) {
    // The window's contrast threshold, so that the files match the ones the window writes.
    for (int i = 0; i < step.times; ++i) document.adjust(step.what, kMainWindowArea);
}

// The files the save will write: the chosen formats and the level files of converted level
// pictures.
std::vector<std::string> TargetFiles(const ConversionState& state, const std::string& base,
                                     const std::vector<Format>& formats) {
    std::vector<std::string> files;
    for (const Format& f : formats) {
        const std::string path = base + std::string(f.suffix);
        if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
    }
    if (state.converted[Slot::Level0] == 1) files.push_back(base + "0.lvl");
    if (state.converted[Slot::Level1] == 1) files.push_back(base + "1.lvl");
    return files;
}

struct Settings {
    std::vector<Format> formats;
    std::vector<AdjustmentStep> adjustments;
    bool dither = false;
    bool exact = false;
    bool force = false;
    Colour background = 0;
    int screenMode = -1;  // of a screen dump without a .pal file
    ReductionOptions reduction;
};

// Converts one input to the files of `base`; returns the files written, one a line. Raises on
// any failure; the files written before it are whole (each goes through a temporary file).
std::string ConvertOne(const std::string& input, const std::string& base, const Settings& s) {
    Document document;
    // A missing file or a folder is OpenPicture's to report.
    std::error_code ec;
    const bool file = std::filesystem::is_regular_file(input, ec);
    OpenPicture(document, input, file ? RecogniseAnyFile(input) : FileType::Unsupported,
                s.background, s.screenMode);
    for (const AdjustmentStep& step : s.adjustments) Apply(document, step);
    const ConversionState& state = document.state();

    if (s.exact) {
        for (const Format& f : s.formats) {
            if (state.sourceColourCount > SlotPens(f.slot))
                throw CliError(input + " has " + std::to_string(state.sourceColourCount) +
                               " colours, more than the " + std::to_string(SlotPens(f.slot)) +
                               " pens of " + std::string(f.name));
        }
    }
    CliAsker asker(!s.dither, s.force);
    std::string selection(kSlotCount, 'F');
    for (const Format& f : s.formats) {
        document.setReductionOptions(f.slot, s.reduction);
        document.convert(f.slot, asker);
        selection[SlotIndex(f.slot)] = 'T';
    }

    const std::vector<std::string> files = TargetFiles(state, base, s.formats);
    if (!s.force) {
        for (const std::string& file : files)
            if (PathExists(file)) throw CliError(file + " exists (use --force to replace it)");
    }
    MakeParentFolder(base);
    document.save(asker, base, selection);
    std::string written;
    for (const std::string& file : files) written += file + '\n';
    return written;
}

}  // namespace

int RunConvertCommand(int argc, char** argv) {
    return Guarded([&] {
        CLI::App app(
            "Converts pictures (BMP, JPEG, PNG, GIF, TGA, PNM, WebP, TIFF, Mozu picture files or\n"
            "other tools' 16 KB CPC screens) to CPC and SymbOS files. With several inputs (or -o\n"
            "ending in /) each input gets its own name in the output folder, which is made when\n"
            "missing; they are converted in parallel.\n"
            "Formats: mode0 mode1 mode2 overscan0 overscan1 overscan2 sgx-cpc sgx-cpc-full\n"
            "sgx-msx sgx-msx-full, or all (in this order). overscan0 and overscan1 also write\n"
            "the level file. Adjustments run in the order given, before any conversion.",
            "mozu-cli convert");
        std::vector<std::string> inputs;
        std::string output, formatList = "mode0", jobs, background;
        std::vector<std::string> counts[4];
        app.add_option("INPUT", inputs, "The pictures to convert.")->type_name("INPUT...");
        app.add_option("-o,--output", output,
                       "Folder and name of the files, without suffix; the name is cut to 7\n"
                       "characters. A folder (ending in /) for several inputs.")
            ->type_name("BASE|DIR/");
        app.add_option("--format", formatList, "Comma list of formats (default mode0).")
            ->type_name("LIST");
        const CLI::Option* dither =
            app.add_flag("--dither")
                ->description("Always dither, even a picture with few enough colours.");
        const CLI::Option* exact = app.add_flag("--exact")->description(
            "Never dither: fail when the picture has more colours than pens.");
        app.add_flag("--autobalance")->description("Stretch the brightness range.");
        app.add_option("--brighter", counts[0], "5% brighter, N times.")
            ->type_name("N")
            ->allow_extra_args(false);
        app.add_option("--darker", counts[1], "5% darker, N times.")
            ->type_name("N")
            ->allow_extra_args(false);
        app.add_option("--more-contrast", counts[2], "5% more contrast, N times.")
            ->type_name("N")
            ->allow_extra_args(false);
        app.add_option("--less-contrast", counts[3], "5% less contrast, N times.")
            ->type_name("N")
            ->allow_extra_args(false);
        app.add_option("--background", background,
                       "Colour under transparent pixels, RRGGBB (default 000000).")
            ->type_name("RRGGBB");
        app.add_option("-j,--jobs", jobs, "Pictures converted at once (default: every core).")
            ->type_name("N");
        std::string modeText;
        AddScreenModeOption(app, modeText);
        const CLI::Option* force = app.add_flag("--force")->description("Replace existing files.");
        ReductionTexts reductionTexts;
        AddReductionOptions(app, reductionTexts);
        if (ParseOrHelp(app, argc, argv)) return 0;
        if (inputs.empty()) throw CliError("convert needs at least one INPUT (see --help)", 2);
        if (output.empty()) throw CliError("convert needs -o BASE (see --help)", 2);
        Settings s;
        s.dither = dither->count() > 0;
        s.exact = exact->count() > 0;
        if (s.dither && s.exact) throw CliError("--dither and --exact exclude each other", 2);
        s.force = force->count() > 0;
        s.formats = ParseFormats(formatList);
        s.adjustments = ParseAdjustments(app);
        if (!background.empty()) s.background = ParseColour(background, "background");
        s.screenMode = ParseScreenMode(modeText);
        const int jobCount = ParseJobs(jobs);
        s.reduction = ReductionOptionsFrom(reductionTexts);

        const bool several = inputs.size() > 1;
        if (!NamesFolder(output, several)) {
            // One input, one base name: the files and nothing else on stdout.
            const std::string base = OutputBaseName(output);
            std::fputs(ConvertOne(inputs.front(), base, s).c_str(), stdout);
            return 0;
        }
        // Each input to its own base name in the folder; two inputs that would write the same
        // files are refused before anything is written.
        std::vector<std::string> bases;
        std::map<std::string, std::string> owner;
        for (const std::string& input : inputs) {
            const std::string base = OutputBaseName(InFolder(output, input));
            const auto [at, fresh] = owner.emplace(base, input);
            if (!fresh)
                throw CliError(input + " and " + at->second + " would both write " + base +
                                   ".*; rename one of them",
                               2);
            bases.push_back(base);
        }
        const BatchReport report =
            RunBatch(inputs, jobCount, several, "converted",
                     [&](std::size_t i) { PrintOut(ConvertOne(inputs[i], bases[i], s)); });
        if (several)
            std::fprintf(
                stderr, "mozu-cli: converted %d of %zu pictures%s\n", report.done - report.failed,
                inputs.size(),
                report.failed ? (", " + std::to_string(report.failed) + " failed").c_str() : "");
        return report.failed ? 1 : 0;
    });
}

}  // namespace mozu::cli
