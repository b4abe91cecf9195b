// mozu-cli video INPUT -o BASE [--colors 4|16] [--start N] [--end N] [--autobalance]
//                  [--title T] [--info I] [--force]
// Runs the same conversion as the main window's video buttons, one frame per tick at full
// speed.

#include "cli/commands.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <QDate>
#include <QLocale>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "cli/options.h"
#include "cli/prefetching_frame_source.h"
#include "document/open_file.h"
#include "platform/asker.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_writer.h"
#include "video/video_navigation.h"

namespace mozu::cli {

namespace {

// Answers the overwrite question from --force; the end notices are replaced by the summary.
class VideoCliAsker : public Asker {
  public:
    explicit VideoCliAsker(bool force) : force_(force) {}
    bool askYesNo(const std::string& text) override {
        question_ = text;
        return text.starts_with("File ") && force_;
    }
    std::optional<std::string> askName(const std::string&, int) override {
        const std::size_t end = question_.find(" exists");
        throw CliError(question_.substr(5, end == std::string::npos ? end : end - 5) +
                       " exists (use --force to replace it)");
    }
    void notify(const std::string&) override {}

  private:
    bool force_;
    std::string question_;
};

std::int32_t ParseFrame(const std::string& value, const std::string& option) {
    long long n = -1;
    if (!value.empty() && value.size() <= 10 &&
        value.find_first_not_of("0123456789") == std::string::npos)
        n = std::stoll(value);
    if (n < 0 || n > INT32_MAX)
        throw CliError("--" + option + " takes a frame number, not '" + value + "'", 2);
    return static_cast<std::int32_t>(n);
}

// What the save dialog puts in the information field: "Converted with Mozu " and today's date
// in the short date format of the user's locale.
std::string DefaultInformation() {
    return "Converted with Mozu " +
           QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

void DrawProgress(std::int32_t done, std::int32_t total) {
    constexpr int kWidth = 40;
    const int filled = total > 0 ? static_cast<int>(std::int64_t{done} * kWidth / total) : 0;
    std::fprintf(stderr, "\r[%s%s] %d/%d",
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), done, total);
    std::fflush(stderr);
}

int Run(int argc, char** argv) {
    CLI::App app("Converts a PC video (or frames START to END of it) into a SymbOS video BASE.vid.",
                 "mozu-cli video");
    std::vector<std::string> inputs;
    std::string output, colourText = "4", start = "0", end, title, info;
    app.add_option("INPUT", inputs, "The PC video (AVI, MPEG, MOV, MP4, MKV, WMV, ...).");
    app.add_option("-o,--output", output,
                   "Output base name; .vid is added (name cut to 7 characters).")
        ->type_name("BASE");
    app.add_option("--colors", colourText, "4 (default) or 16 colours.")->type_name("N");
    app.add_option("--start", start, "First frame of the range (default 0).")->type_name("N");
    app.add_option("--end", end, "End of the range (default the frame count).")->type_name("N");
    const CLI::Option* autobalance =
        app.add_flag("--autobalance")->description("Autobalance every frame.");
    const CLI::Option* titleOption =
        app.add_option("--title", title, "Title (default the input's name), up to 32 characters.")
            ->type_name("T");
    const CLI::Option* infoOption =
        app.add_option("--info", info, "Additional information, up to 32 characters.")
            ->type_name("I");
    const CLI::Option* force = app.add_flag("--force")->description("Replace an existing file.");
    ReductionTexts reductionTexts;
    AddReductionOptions(app, reductionTexts);
    if (ParseOrHelp(app, argc, argv)) return 0;
    const ReductionOptions reduction = ReductionOptionsFrom(reductionTexts);

    if (inputs.size() != 1) throw CliError("video takes one INPUT file", 2);
    if (output.empty()) throw CliError("video needs -o BASE", 2);
    if (colourText != "4" && colourText != "16")
        throw CliError("--colors takes 4 or 16, not '" + colourText + "'", 2);
    const std::string input = inputs.front();
    if (!PathExists(input)) throw CliError(input + ": no such file");

    QuietFfmpegLog();
    // Whatever its name, the input is read as a PC video.
    // Frames are decoded on a second thread while this one converts and writes.
    Document document(std::make_unique<PrefetchingFrameSource>(MakeFfmpegFrameSource()));
    OpenFileAs(document, input, FileType::PcVideo, OpenOrigin::Chosen);
    VideoState& video = document.video();
    const std::int32_t frameCount = video.info.frameCount;
    video.startMark = ParseFrame(start, "start");
    video.endMark = end.empty() ? frameCount : ParseFrame(end, "end");
    if (video.endMark > frameCount)
        throw CliError("--end " + std::to_string(video.endMark) + " is past the end of " + input +
                       " (" + std::to_string(frameCount) + " frames)");

    VideoRunSettings settings;
    settings.sixteen = colourText == "16";
    settings.autobalance = autobalance->count() > 0;
    settings.reduction = reduction;
    settings.baseName = OutputBaseName(output);
    // As convert does, the output folder is made when missing (once the video has opened).
    MakeParentFolder(settings.baseName);
    settings.title =
        titleOption->count() > 0 ? title : std::filesystem::path(input).stem().string();
    settings.information = infoOption->count() > 0 ? info : DefaultInformation();
    settings.title = settings.title.substr(0, kVidTextSize);
    settings.information = settings.information.substr(0, kVidTextSize);

    ConversionState& state = document.state();
    VideoCliAsker asker(force->count() > 0);
    VideoWriterRun run;
    run.start(state, video, asker, settings);
    const bool showProgress = ::isatty(STDERR_FILENO) != 0;
    for (;;) {
        const VideoWriterRun::Tick t = run.tick(state, video, asker);
        if (t != VideoWriterRun::Tick::Frame) break;
        if (showProgress) DrawProgress(run.framesWritten(), run.plan().frames);
    }
    if (showProgress) std::fputc('\n', stderr);
    document.closeVideo();

    const VideoRunPlan& plan = run.plan();
    std::cout << "wrote " << run.outputPath() << ": " << run.framesWritten() << " frames of "
              << plan.width << "x" << plan.height << ", " << (plan.sixteen ? 16 : 4) << " colours, "
              << plan.rate << " fps, " << run.bytesWritten() << " bytes\n";
    return 0;
}

}  // namespace

int RunVideoCommand(int argc, char** argv) {
    return Guarded([&] { return Run(argc, argv); });
}

}  // namespace mozu::cli
