// mozu-cli info: each file's type and the description the main window shows for it.

#include <iostream>

#include "cli/commands.h"
#include "cli/options.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/video_describe.h"

namespace mozu::cli {

namespace {

// The type and description of one file; raises on files that cannot be read.
void Describe(const std::string& path) {
    std::string description;
    const FileType type = RecogniseFile(path);
    if (type == FileType::HeadedScreen) {
        description = "headed screen file without start-up routine (not shown)";
    } else if (type == FileType::Unsupported) {
        description = "Undefined";
    } else if (IsSymbosVideoType(type)) {
        description = DescribeVidFile(kDefaultColourTable, path);
    } else if (type == FileType::PcVideo) {
        QuietFfmpegLog();
        const auto source = MakeFfmpegFrameSource();
        description = DescribePcVideoFile(*source, path);
    } else {
        Document document;
        description = OpenPicture(document, path).description;
    }
    std::cout << path << ": file type " << FileTypeNumber(type) << '\n'
              << PlainLines(description) << '\n';
}

}  // namespace

int RunInfoCommand(int argc, char** argv) {
    return Guarded([&] {
        QCommandLineParser parser;
        parser.setApplicationDescription(
            "Prints each file's type number and the description the main window shows.");
        parser.addPositionalArgument("FILE", "Files to describe.", "FILE...");
        if (ParseOrHelp(parser, Arguments(argc, argv))) return 0;
        const QStringList files = parser.positionalArguments();
        if (files.isEmpty()) throw CliError("info needs at least one FILE (see --help)", 2);
        int status = 0;
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (i > 0) std::cout << '\n';
            // One unreadable file does not stop the others; it sets the exit status.
            const int s = Guarded([&] {
                Describe(files[i].toStdString());
                return 0;
            });
            if (s != 0) status = s;
        }
        return status;
    });
}

}  // namespace mozu::cli
