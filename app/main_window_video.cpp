// MainWindow: opening a PC video and showing its first frame. Navigation, playback and the
// video conversion build on this.

#include "app/gui_asker.h"
#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "app/picture_view.h"
#include "app/position_bar.h"
#include "colour/count_colors.h"
#include "platform/io_error.h"
#include "skin/skin_label.h"
#include "video/vid_reader.h"

namespace mozu {

bool MainWindow::OpenPcVideo(const std::string& path, Origin origin, const QString& extension) {
    // OpenVideo: close what was open, open the new one, frame 0, the marks.
    CloseVideo();
    try {
        OpenVideo(video_, path);
    } catch (const IoError& e) {
        video_.loaded = false;
        video_.symbosVideo = false;
        ShowIoError(e);
        return false;
    }
    ResetForNewFile();
    state_.currentFileName = path;
    state_.converted.fill(0);
    showFrame(0);
    // The frame on show becomes the source, as a PC picture (slot 255), so that every
    // conversion scales it as a PC picture.
    state_.source = video_.frame;
    state_.currentSlot = state_.sourceSlot = kSourceSlot;
    state_.sourceColourCount = CountColors(state_, state_.source);
    ResetPositionBar();
    video_.loaded = true;
    video_.symbosVideo = false;
    const QString head =
        origin == Origin::OpenDialog ? extension + " video\n\r" : QString("Video\n\r");
    label1_->setText(head +
                     QString::fromStdString(VideoInfoText(video_.info, video_.frameCountCopy)));
    return true;
}

void MainWindow::showFrame(std::int32_t index) {
    if (!video_.open) return;
    try {
        DecodeVideoFrame(video_, index);
    } catch (const IoError& e) {
        ShowIoError(e);
        return;
    }
    StandardImage1Layout();
    ShowPicture(video_.frame);
    const int left = ThumbLeft(video_.currentFrame, video_.info.frameCount, layout::kHorizontal.w,
                               layout::kHorizontal.x);
    hScrollButton_->move(left, layout::kHorizontal.y);
}

void MainWindow::ResetPositionBar() {
    // Both bands green, the thumb at the track's left edge, thumb and track enabled.
    horizontal_->setMarks(0, 0);
    hScrollButton_->move(layout::kHorizontal.x - 7, layout::kHorizontal.y);
    horizontal_->setEnabled(true);
    hScrollButton_->setEnabled(true);
}

void MainWindow::CloseVideo() {
    CloseVideoSource(video_);
    if (vidReader_->isOpen()) CloseVIDfile(*vidReader_);
    video_.loaded = false;
    video_.symbosVideo = false;
    horizontal_->clearMarks();
}

}  // namespace mozu
