#include "dialogs/file_preview.h"

#include <QFileInfo>

#include "colour/resize.h"
#include "dialogs/folder_view.h"
#include "document/open_file.h"
#include "formats/screen_dump.h"
#include "platform/io_error.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_reader.h"
#include "video/video_navigation.h"

namespace mozu {
namespace {

QImage ToImage(const Picture& picture) {
    if (picture.empty()) return {};
    return QImage(picture.data(), picture.width(), picture.height(),
                  static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888)
        .copy();
}

// Image2's picture and Label2's text for each CPC picture kind: the size the picture is drawn
// at (0 x 0: its own size, unscaled) and the description.
struct KindView {
    int width;
    int height;
    const char* label;
};

KindView ViewOf(FileType type) {
    switch (type) {
        case FileType::ScreenMode0:
            return {320, 200, "Mozu Image: 160x200x16"};
        case FileType::ScreenMode1:
            return {320, 200, "Mozu Image: 320x200x4"};
        case FileType::ScreenMode2:
            return {320, 200, "Mozu Image: 640x200x2"};
        case FileType::OverscanMode0:
            return {368, 264, "Mozu Image: 184x264x16"};
        case FileType::OverscanMode1:
            return {368, 264, "Mozu Image: 368x264x4"};
        case FileType::OverscanMode2:
            return {368, 264, "Mozu Image: 736x264x2"};
        case FileType::LevelMode0:  // background and extra graphics, 464 x 264 on screen
            return {368, 209, "Mozu Level: 184x264x16"};
        case FileType::LevelMode1:
            return {368, 209, "Mozu Level: 368x264x4"};
        case FileType::Sgx4:
            return {0, 0, nullptr};
        default:
            return {368, 264, nullptr};  // Sgx16
    }
}

// Opens `path` as `type` into the preview's own document; a file whose bytes are not what its
// type says is an error here, as the dialog reports every file it cannot show.
void OpenForPreview(Document& document, const QString& path, FileType type) {
    const OpenResult r = OpenFileAs(document, path.toStdString(), type, OpenOrigin::Chosen);
    if (!r.opened())
        throw IoError(io::kInvalidData, path.toStdString() + ": Not supported file format");
}

}  // namespace

int PreviewFrameIndex(int frameCount) {
    // Frame 75 shows more of a video than its often black first frame; a video of 75 frames or
    // fewer has no frame 75 and shows frame 0.
    return frameCount > 75 ? 75 : 0;
}

FilePreview PreviewPcVideo(const QString& path, const FrameSourceFactory& makeSource) {
    Document document(makeSource ? makeSource() : MakeFfmpegFrameSource());
    OpenForPreview(document, path, FileType::PcVideo);
    const VideoState& video = document.video();
    document.showVideoFrame(PreviewFrameIndex(video.info.frameCount));
    FilePreview preview;
    preview.picture = ToImage(video.frame);
    const std::int32_t fps = VideoFrameRate(video.info);
    const std::int64_t seconds = fps > 0 ? video.info.frameCount / fps : 0;
    preview.label = "PC Video: Time:" + QString::fromStdString(RunningTimeText(seconds)) + " " +
                    QString::number(fps) + " fps";
    return preview;
}

FilePreview PreviewPcPicture(const QString& path) {
    Document document;
    // BMP, PNG, GIF, TGA and PNM by their extension; any other PC picture name is read as JPEG.
    const FileType byName = IsSupportedFile(path.toStdString());
    OpenForPreview(document, path, IsPcPictureType(byName) ? byName : FileType::Jpeg);
    const Picture& picture = document.state().source;
    FilePreview preview;
    preview.picture = ToImage(picture);
    preview.label =
        "PC Image:" + QString::number(picture.width()) + "x" + QString::number(picture.height());
    return preview;
}

namespace {

// Another tool's screen: in the mode of the palette file beside it, else in mode 1 (the mode a
// CPC starts in) with the firmware's colours; a preview asks nothing.
FilePreview PreviewScreenDump(const QString& path) {
    Document document;
    OpenSettings settings;
    settings.screenMode = 1;
    const OpenResult r = OpenFileAs(document, path.toStdString(), FileType::ScreenDump,
                                    OpenOrigin::Chosen, settings);
    if (!r.opened())
        throw IoError(io::kInvalidData, path.toStdString() + ": Not supported file format");
    const auto type = static_cast<FileType>(SlotNumber(document.state().sourceSlot));
    const Picture& read = document.state().picture(document.state().sourceSlot);
    const KindView view = ViewOf(type);
    FilePreview preview;
    preview.picture =
        ToImage(SamplePicture(read, 0, 0, read.width(), read.height(), view.width, view.height));
    preview.label = QString(view.label).replace("Mozu Image", "CPC Screen");
    if (PaletteFileBeside(path.toStdString()).empty()) preview.label += " (no .pal)";
    return preview;
}

}  // namespace

FilePreview PreviewCpcFile(const QString& path) {
    const FileType type = CheckCPCFile(path.toStdString());
    if (IsSymbosVideoType(type)) return PreviewSymbosVideo(path);
    if (type == FileType::ScreenDump) return PreviewScreenDump(path);
    FilePreview preview;
    if (!IsPictureFileType(type)) return preview;  // types 3 and 255: nothing is shown
    // A document of the preview's own: the file's palette goes into its palette slot, not the
    // main window's.
    Document document;
    OpenForPreview(document, path, type);
    const Picture& read = document.state().picture(SlotOfFileType(type));
    const KindView view = ViewOf(type);
    if (view.width == 0) {
        preview.picture = ToImage(read);
        preview.label = "Mozu Image:" + QString::number(read.width()) + "x" +
                        QString::number(read.height()) + "x4";
    } else {
        preview.picture = ToImage(
            SamplePicture(read, 0, 0, read.width(), read.height(), view.width, view.height));
        preview.label = view.label ? QString(view.label)
                                   : "Mozu Image:" + QString::number(view.width) + "x" +
                                         QString::number(view.height) + "x16";
    }
    return preview;
}

FilePreview PreviewSymbosVideo(const QString& path) {
    // A document of the preview's own: the main window's open video, frame count and marks
    // stay as they were.
    Document document;
    OpenForPreview(document, path, CheckCPCFile(path.toStdString()));
    VidReader& reader = document.vidReader();
    FilePreview preview;
    Picture frame;
    showVIDframe2(reader, PreviewFrameIndex(reader.frameCount()), frame);
    preview.picture = ToImage(frame);
    const int rate = reader.frameRate();
    const std::int64_t seconds = rate > 0 ? reader.frameCount() / rate : 0;
    preview.label = "Mozu Video: Time:" + QString::fromStdString(RunningTimeText(seconds)) + " " +
                    QString::number(rate) + " fps";
    return preview;
}

FilePreview PreviewFile(const QString& path, const FrameSourceFactory& makeSource) {
    const QString name = QFileInfo(path).fileName();
    const QString ext = UpperExtension(name);
    if (PCFile(ext) && IsVideo(name)) return PreviewPcVideo(path, makeSource);
    if (PCFile(ext)) return PreviewPcPicture(path);
    // A file of no kind its name and bytes say (a video saved as ".bin") may still be a video.
    if (CheckCPCFile(path.toStdString()) == FileType::Unsupported &&
        (makeSource ? makeSource() : MakeFfmpegFrameSource())->holdsVideo(path.toStdString()))
        return PreviewPcVideo(path, makeSource);
    return PreviewCpcFile(path);
}

}  // namespace mozu
