#include "app/video_commands.h"

#include <QTimer>

#include "app/main_window_layout.h"
#include "app/position_bar.h"
#include "skin/picture_key.h"
#include "skin/symbol_label.h"

namespace mozu {

VideoCommands::VideoCommands(Document& document, const VideoControls& controls, QObject* parent)
    : QObject(parent), document_(document), controls_(controls) {
    progressTimer_ = new QTimer(this);
    progressTimer_->setObjectName("ProgressTimer");
    progressTimer_->setInterval(500);
    connect(progressTimer_, &QTimer::timeout, this, [this] { moveBall(); });
    playTimer_ = new QTimer(this);
    playTimer_->setObjectName("PlayTimer");
    vidTimer_ = new QTimer(this);
    vidTimer_->setObjectName("VIDTimer");
    document_.addObserver([this](const DocumentChange& change) { onChange(change); });
}

void VideoCommands::onChange(const DocumentChange& change) {
    if (change.kind == DocumentChange::Kind::PictureClosed) {
        // Closed with its picture: nothing plays and the bar is empty.
        controls_.playLabel->setText("4");
        stopPlayback();
        controls_.positionBar->clearMarks();
        controls_.thumb->move(layout::kHorizontal.x - 7, layout::kHorizontal.y);
        return;
    }
    if (change.kind != DocumentChange::Kind::Opened) return;
    // A new file: nothing plays, the play key shows its play symbol, and the bar starts over
    // for a video (both bands green, the thumb at the track's left edge).
    controls_.playLabel->setText("4");
    stopPlayback();
    if (document_.video().loaded)
        resetPositionBar();
    else
        controls_.positionBar->clearMarks();
}

void VideoCommands::updateControls() {
    const VideoState& video = document_.video();
    for (PictureKey* key : controls_.keys)
        if (key) key->setEnabled(video.loaded);
    for (QWidget* label : controls_.labels)
        if (label) label->setEnabled(video.loaded);
    if (video.loaded && video.symbosVideo) {
        controls_.keys[13]->setEnabled(false);
        controls_.keys[14]->setEnabled(false);
    }
    controls_.positionBar->setEnabled(video.loaded);
    controls_.thumb->setEnabled(video.loaded);
}

void VideoCommands::stopPlayback() {
    vidTimer_->stop();
    playTimer_->stop();
}

void VideoCommands::showFrame(std::int32_t index) {
    document_.showVideoFrame(index);
    const VideoState& video = document_.video();
    const int left = ThumbLeft(video.currentFrame, video.info.frameCount, layout::kHorizontal.w,
                               layout::kHorizontal.x);
    controls_.thumb->move(left, layout::kHorizontal.y);
}

void VideoCommands::resetPositionBar() {
    controls_.positionBar->setMarks(0, 0);
    controls_.thumb->move(layout::kHorizontal.x - 7, layout::kHorizontal.y);
    controls_.positionBar->setEnabled(true);
    controls_.thumb->setEnabled(true);
}

void VideoCommands::startProgress() {
    progressAngle_ = 0;
    progressTimer_->start();
}

void VideoCommands::stopProgress() {
    progressTimer_->stop();
}

void VideoCommands::moveBall() {
    const BallPosition b = ProgressBallPosition(progressAngle_);
    controls_.progressBall->move(b.left, b.top);
}

}  // namespace mozu
