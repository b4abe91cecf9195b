// The core's headers come before Qt's: Qt's `slots` keyword macro would otherwise clash with
// ConversionState::slots.
#include "colour/conversion_state.h"

#include "dialogs/file_preview.h"

#include <QFileInfo>

#include "colour/resize.h"
#include "dialogs/folder_view.h"
#include "formats/cpc_file_reader.h"
#include "formats/file_type.h"
#include "platform/media/image_loader.h"
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

KindView ViewOf(std::uint8_t type) {
    switch (type) {
        case filetype::kScreenMode0:
            return {320, 200, "Mozu Image: 160x200x16"};
        case filetype::kScreenMode1:
            return {320, 200, "Mozu Image: 320x200x4"};
        case filetype::kScreenMode2:
            return {320, 200, "Mozu Image: 640x200x2"};
        case filetype::kOverscanMode0:
            return {368, 264, "Mozu Image: 184x264x16"};
        case filetype::kOverscanMode1:
            return {368, 264, "Mozu Image: 368x264x4"};
        case filetype::kOverscanMode2:
            return {368, 264, "Mozu Image: 736x264x2"};
        case filetype::kSgx4:
            return {0, 0, nullptr};
        default:
            return {368, 264, nullptr};  // kSgx16
    }
}

}  // namespace

int PreviewFrameIndex(int frameCount) {
    // Frame 75 shows more of a video than its often black first frame; a video of 75 frames or
    // fewer has no frame 75 and shows frame 0.
    return frameCount > 75 ? 75 : 0;
}

FilePreview PreviewPcVideo(const QString& path, const FrameSourceFactory& makeSource) {
    VideoState video;
    video.source = makeSource ? makeSource() : MakeFfmpegFrameSource();
    OpenVideoSource(video, path.toStdString());
    FilePreview preview;
    try {
        DecodeVideoFrame(video, PreviewFrameIndex(video.info.frameCount));
        preview.picture = ToImage(video.frame);
    } catch (...) {
        CloseVideoSource(video);
        throw;
    }
    const std::int32_t fps = VideoFrameRate(video.info);
    const std::int64_t seconds = fps > 0 ? video.info.frameCount / fps : 0;
    preview.label = "PC Video: Time:" + QString::fromStdString(RunningTimeText(seconds)) + " " +
                    QString::number(fps) + " fps";
    CloseVideoSource(video);
    return preview;
}

FilePreview PreviewPcPicture(const QString& path) {
    Picture picture;
    const QString ext = UpperExtension(path);
    if (ext == ".BMP")
        LoadBMP(path.toStdString(), picture);
    else
        JPEGtoBMP(path.toStdString(), picture);
    FilePreview preview;
    preview.picture = ToImage(picture);
    preview.label =
        "PC Image:" + QString::number(picture.width()) + "x" + QString::number(picture.height());
    return preview;
}

FilePreview PreviewCpcFile(const QString& path) {
    const std::string file = path.toStdString();
    const std::uint8_t type = CheckCPCFile(file);
    FilePreview preview;
    switch (type) {
        case filetype::kScreenMode0:
        case filetype::kScreenMode1:
        case filetype::kScreenMode2:
        case filetype::kOverscanMode0:
        case filetype::kOverscanMode1:
        case filetype::kOverscanMode2:
        case filetype::kSgx4:
        case filetype::kSgx16:
            break;
        case filetype::kVideo4:
        case filetype::kVideo16:
            return PreviewSymbosVideo(path);
        default:
            return preview;  // types 3 and 255: nothing is shown
    }
    // A state of the preview's own: the file's palette goes into its palette slot, not the
    // main window's.
    auto state = std::make_unique<ConversionState>();
    OpenCPCFile(*state, file);
    const Picture& read = state->picture(type);
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
    // A reader and navigation state of the preview's own: the main window's open video, frame
    // count and marks stay as they were.
    auto state = std::make_unique<ConversionState>();
    VideoState video;
    VidReader reader;
    OpenVIDfile(reader, *state, video, path.toStdString());
    FilePreview preview;
    Picture frame;
    showVIDframe2(reader, PreviewFrameIndex(reader.frameCount()), frame);
    preview.picture = ToImage(frame);
    const int rate = reader.frameRate();
    const std::int64_t seconds = rate > 0 ? reader.frameCount() / rate : 0;
    preview.label = "Mozu Video: Time:" + QString::fromStdString(RunningTimeText(seconds)) + " " +
                    QString::number(rate) + " fps";
    CloseVIDfile(reader);
    return preview;
}

FilePreview PreviewFile(const QString& path, const FrameSourceFactory& makeSource) {
    const QString name = QFileInfo(path).fileName();
    const QString ext = UpperExtension(name);
    if (PCFile(ext) && IsVideo(name)) return PreviewPcVideo(path, makeSource);
    if (PCFile(ext)) return PreviewPcPicture(path);
    return PreviewCpcFile(path);
}

}  // namespace mozu
