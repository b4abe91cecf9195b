// mozu-cli convert: a picture to CPC and SymbOS files through the conversion and save flows.

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cli_asker.h"
#include "cli/commands.h"
#include "cli/options.h"
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

std::vector<Format> ParseFormats(const QString& list) {
    std::vector<Format> formats;
    for (const QString& item : list.split(',', Qt::SkipEmptyParts)) {
        const std::string name = item.trimmed().toStdString();
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
std::vector<AdjustmentStep> ParseAdjustments(const QCommandLineParser& parser) {
    struct Named {
        const char* name;
        Adjustment what;
    };
    static constexpr Named kNamed[] = {{"brighter", Adjustment::Brighter},
                                       {"darker", Adjustment::Darker},
                                       {"more-contrast", Adjustment::MoreContrast},
                                       {"less-contrast", Adjustment::LessContrast}};
    std::vector<AdjustmentStep> steps;
    std::array<int, 4> used{};  // how many values of each option were taken so far
    for (const QString& option : parser.optionNames()) {
        if (option == "autobalance") {
            steps.push_back({Adjustment::Autobalance, 1});
            continue;
        }
        for (std::size_t i = 0; i < std::size(kNamed); ++i) {
            if (option != kNamed[i].name) continue;
            const QStringList values = parser.values(kNamed[i].name);
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

}  // namespace

int RunConvertCommand(int argc, char** argv) {
    return Guarded([&] {
        QCommandLineParser parser;
        parser.setApplicationDescription(
            "Converts a BMP or JPEG picture (or a Mozu picture file) to CPC and SymbOS files.\n"
            "Formats: mode0 mode1 mode2 overscan0 overscan1 overscan2 sgx-cpc sgx-cpc-full\n"
            "sgx-msx sgx-msx-full, or all (in this order). overscan0 and overscan1 also write\n"
            "the level file. Adjustments run in the order given, before any conversion.");
        parser.addPositionalArgument("INPUT", "The picture to convert.", "INPUT");
        parser.addOptions({
            {{"o", "output"},
             "Folder and name of the files, without suffix; the name is cut to 7 characters.",
             "BASE"},
            {"format", "Comma list of formats (default mode0).", "LIST", "mode0"},
            {"dither", "Always dither, even a picture with few enough colours."},
            {"exact", "Never dither: fail when the picture has more colours than pens."},
            {"autobalance", "Stretch the brightness range."},
            {"brighter", "5% brighter, N times.", "N"},
            {"darker", "5% darker, N times.", "N"},
            {"more-contrast", "5% more contrast, N times.", "N"},
            {"less-contrast", "5% less contrast, N times.", "N"},
            {"force", "Replace existing files."},
        });
        AddReductionOptions(parser);
        if (ParseOrHelp(parser, Arguments(argc, argv))) return 0;
        const ReductionOptions reduction = ReductionOptionsFrom(parser);
        const QStringList inputs = parser.positionalArguments();
        if (inputs.size() != 1) throw CliError("convert takes one INPUT (see --help)", 2);
        if (!parser.isSet("output")) throw CliError("convert needs -o BASE (see --help)", 2);
        const bool dither = parser.isSet("dither");
        const bool exact = parser.isSet("exact");
        if (dither && exact) throw CliError("--dither and --exact exclude each other", 2);
        const bool force = parser.isSet("force");
        const std::vector<Format> formats = ParseFormats(parser.value("format"));
        const std::vector<AdjustmentStep> adjustments = ParseAdjustments(parser);
        const std::string base = OutputBaseName(parser.value("output").toStdString());
        const std::string input = inputs.first().toStdString();

        Document document;
        OpenPicture(document, input);
        for (const AdjustmentStep& step : adjustments) Apply(document, step);
        const ConversionState& state = document.state();

        if (exact) {
            for (const Format& f : formats) {
                if (state.sourceColourCount > SlotPens(f.slot))
                    throw CliError(input + " has " + std::to_string(state.sourceColourCount) +
                                   " colours, more than the " + std::to_string(SlotPens(f.slot)) +
                                   " pens of " + std::string(f.name));
            }
        }
        CliAsker asker(!dither, force);
        std::string selection(kSlotCount, 'F');
        for (const Format& f : formats) {
            document.setReductionOptions(f.slot, reduction);
            document.convert(f.slot, asker);
            selection[SlotIndex(f.slot)] = 'T';
        }

        const std::vector<std::string> files = TargetFiles(state, base, formats);
        if (!force) {
            for (const std::string& file : files)
                if (QFileInfo::exists(QString::fromStdString(file)))
                    throw CliError(file + " exists (use --force to replace it)");
        }
        document.save(asker, base, selection);
        for (const std::string& file : files) std::cout << file << '\n';
        return 0;
    });
}

}  // namespace mozu::cli
