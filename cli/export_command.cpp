// mozu-cli export: what a Mozu picture file shows, as a PNG.

#include <QFileInfo>
#include <algorithm>

#include "cli/commands.h"
#include "cli/options.h"
#include "formats/shown_picture.h"
#include "media/png_file.h"
#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
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

std::int32_t ParseFrame(const QString& value) {
    bool ok = false;
    const qlonglong k = value.toLongLong(&ok);
    if (!ok || k < 0 || k > 0x7FFFFFFF)
        throw CliError("--frame takes a frame number, not '" + value.toStdString() + "'", 2);
    return static_cast<std::int32_t>(k);
}

// Every other line: a 16-colour SymbOS frame at its own height.
Picture HalveLines(const Picture& doubled) {
    Picture half(doubled.width(), doubled.height() / 2);
    for (int y = 0; y < half.height(); ++y)
        std::copy_n(doubled.row(2 * y), doubled.stride(), half.row(y));
    return half;
}

}  // namespace

int RunExportCommand(int argc, char** argv) {
    return Guarded([&] {
        QCommandLineParser parser;
        parser.setApplicationDescription(
            "Writes what a Mozu picture file shows as a PNG, at its pixel shape (mode 0 pixels\n"
            "twice as wide, mode 2 and MSX pixels twice as tall) unless --raw.");
        parser.addPositionalArgument(
            "FILE", "A Mozu picture file (.rim .scr .bin .sca .sgx), or a video.", "FILE");
        parser.addOptions({
            {{"o", "output"}, "The PNG file to write.", "OUT.png"},
            {"raw", "One PNG pixel per picture pixel."},
            {"frame", "Frame K of a video (PC or SymbOS; default 0).", "K"},
        });
        if (ParseOrHelp(parser, Arguments(argc, argv))) return 0;
        const QStringList files = parser.positionalArguments();
        if (files.size() != 1) throw CliError("export takes one FILE (see --help)", 2);
        if (!parser.isSet("output")) throw CliError("export needs -o OUT.png (see --help)", 2);
        const std::string path = files.first().toStdString();
        const std::string out = parser.value("output").toStdString();
        const bool raw = parser.isSet("raw");
        if (!QFileInfo::exists(QString::fromStdString(path)))
            throw CliError(path + ": no such file");

        const FileType type = RecogniseFile(path);
        if (IsSymbosVideoType(type) || type == FileType::PcVideo) {
            const std::int32_t frame =
                parser.isSet("frame") ? ParseFrame(parser.value("frame")) : 0;
            Picture picture;
            if (type == FileType::PcVideo) {
                QuietFfmpegLog();
                const auto source = MakeFfmpegFrameSource();
                picture = PcVideoFrame(*source, path, frame);
            } else {
                // 16-colour frames come with their lines doubled, as the preview shows them;
                // --raw gives one line per frame line.
                picture = VidFileFrame(kDefaultColourTable, path, frame);
                if (raw && type == FileType::Video16) picture = HalveLines(picture);
            }
            SavePng(picture, out);
            return 0;
        }
        if (parser.isSet("frame")) throw CliError("--frame is for videos only", 2);
        Document document;
        OpenPicture(document, path);
        // A CPC or SymbOS file shows the slot it was read into; a PC picture shows itself.
        const ConversionState& state = document.state();
        const Picture& picture =
            IsPictureFileType(type) ? state.picture(SlotOfFileType(type)) : state.source;
        SavePng(raw ? picture : AtPixelShape(picture, PixelShapeOf(type)), out);
        return 0;
    });
}

}  // namespace mozu::cli
