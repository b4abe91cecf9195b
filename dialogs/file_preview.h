#pragma once
// The open dialog's preview of one file: the picture Image2 shows and the description Label2
// shows. Every file is read with a conversion state, a PC video source and a SymbOS video
// reader of the preview's own, made for the one call: a preview never changes the main window's
// pictures, palettes, open video or frame count.

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

namespace mozu {

class VideoFrameSource;

struct FilePreview {
    QImage picture;  // Image2's picture; null when nothing is drawn (file types 3 and 255)
    QString label;   // Label2
};

// Makes the PC video source the preview opens PC videos with (FFmpeg's unless replaced).
using FrameSourceFactory = std::function<std::unique_ptr<VideoFrameSource>()>;

// The preview of `path` (the whole path; the file name decides the kind): a PC video (PCFile and
// IsVideo), a PC picture (PCFile), a CPC or SymbOS file, or a file of none of those kinds that
// holds a video (found by its contents: the PC video preview). Videos show frame 75, or frame 0
// when they are not longer than 75 frames. Raises IoError when the file cannot be read.
FilePreview PreviewFile(const QString& path, const FrameSourceFactory& makeSource = {});

// The parts, for tests.
FilePreview PreviewPcVideo(const QString& path, const FrameSourceFactory& makeSource = {});
FilePreview PreviewPcPicture(const QString& path);
FilePreview PreviewCpcFile(const QString& path);
// A SymbOS video (file types 13 and 14), read with a reader of the preview's own.
FilePreview PreviewSymbosVideo(const QString& path);

// The frame a video's preview shows.
int PreviewFrameIndex(int frameCount);

}  // namespace mozu
