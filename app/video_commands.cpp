#include "app/video_commands.h"

#include <QApplication>
#include <QTimer>

#include "app/command_context.h"
#include "app/gui_asker.h"
#include "app/main_window_layout.h"
#include "app/picture_view.h"
#include "app/position_bar.h"
#include "app/video_run_driver.h"
#include "dialogs/full_preview.h"
#include "platform/io_error.h"
#include "skin/picture_key.h"
#include "skin/symbol_label.h"
#include "video/vid_reader.h"

namespace mozu {

namespace L = layout;

VideoCommands::VideoCommands(Document& document, CommandContext& context,
                             const VideoControls& controls, QObject* parent)
    : QObject(parent), document_(document), context_(context), controls_(controls) {
    setObjectName("VideoCommands");
    playTimer_ = new QTimer(this);
    playTimer_->setObjectName("PlayTimer");
    vidTimer_ = new QTimer(this);
    vidTimer_->setObjectName("VIDTimer");
    for (QTimer* t : {playTimer_, vidTimer_})
        connect(t, &QTimer::timeout, this, [this] { playTick(); });

    VideoRunDriver::Views views;
    views.image1 = controls_.image1;
    views.image2 = controls_.image2;
    views.playLabel = controls_.playLabel;
    views.progressBall = controls_.progressBall;
    run_ = new VideoRunDriver(document_, context_, views, this);
    connect(run_, &VideoRunDriver::runningChanged, this, [this](bool running) {
        updateControls();
        // The frame the run reached is on show when it ends, and is the source.
        if (!running && document_.video().loaded) showCurrentFrame();
    });
    run_->setFullPreviewSink([this](const Picture& frame) {
        if (!fullPreviewOpen_ || !preview_) return false;
        preview_->showFrame(frame);
        return true;
    });

    // The keys: each press runs its handler on the click, after the release.
    const auto on = [this](int n, void (VideoCommands::*handler)()) {
        if (PictureKey* key = controls_.keys[static_cast<std::size_t>(n)])
            connect(key, &PictureKey::clicked, this, handler);
    };
    on(1, &VideoCommands::setStartMark);
    on(2, &VideoCommands::backward);
    on(3, &VideoCommands::previousFrame);
    on(4, &VideoCommands::play);
    on(5, &VideoCommands::nextFrame);
    on(6, &VideoCommands::forward);
    on(7, &VideoCommands::setEndMark);
    on(8, &VideoCommands::togglePreview);
    connect(controls_.keys[13], &PictureKey::clicked, this, [this] { run_->makeVideo(true); });
    connect(controls_.keys[14], &PictureKey::clicked, this, [this] { run_->makeVideo(false); });
    connect(controls_.positionBar, &PositionBar::pressed, this, &VideoCommands::pressTrack);
    connect(controls_.thumb, &PositionThumb::pressed, this, &VideoCommands::pressThumb);
    connect(controls_.thumb, &PositionThumb::dragged, this, &VideoCommands::dragThumb);
    connect(controls_.thumb, &PositionThumb::released, this, &VideoCommands::releaseThumb);
    if (controls_.image1)
        connect(controls_.image1, &PictureView::clicked, this, &VideoCommands::openFullPreview);

    document_.addObserver([this](const DocumentChange& change) { onChange(change); });
}

void VideoCommands::attach(GuiAsker* asker, SaveDialog* saveDialog) {
    asker_ = asker;
    run_->attach(asker, saveDialog);
}

void VideoCommands::attachPreview(FullPreview* preview) {
    if (preview_) disconnect(preview_, nullptr, this, nullptr);
    preview_ = preview;
    if (preview_) connect(preview_, &FullPreview::closed, this, &VideoCommands::previewClosed);
}

bool VideoCommands::playing() const {
    return playTimer_->isActive() || vidTimer_->isActive();
}

bool VideoCommands::conversionRunning() const {
    return run_->running();
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
    dragging_ = false;
    if (document_.video().loaded)
        resetPositionBar();
    else
        controls_.positionBar->clearMarks();
}

void VideoCommands::updateControls() {
    const VideoState& video = document_.video();
    const bool loaded = video.loaded;
    const bool running = conversionRunning();
    for (std::size_t n = 0; n < controls_.keys.size(); ++n) {
        PictureKey* key = controls_.keys[n];
        if (!key) continue;
        bool enabled = loaded;
        // A SymbOS video has no PC video behind it to convert.
        if ((n == 13 || n == 14) && video.symbosVideo) enabled = false;
        // During a run the marks are fixed and the run owns the frame: only stop and preview.
        if (running && n != 4 && n != 8) enabled = false;
        key->setEnabled(enabled);
    }
    for (QWidget* label : controls_.labels)
        if (label) label->setEnabled(loaded);
    // The bar rests while a video plays or converts.
    const bool bar = loaded && !running && !playing();
    controls_.positionBar->setEnabled(bar);
    controls_.thumb->setEnabled(bar);
    if (!bar) dragging_ = false;
}

void VideoCommands::stopPlayback() {
    vidTimer_->stop();
    playTimer_->stop();
    // The play key shows its play symbol again (during a run it stays the stop key).
    if (!conversionRunning()) controls_.playLabel->setText("4");
}

void VideoCommands::beep() {
    QApplication::beep();
    Q_EMIT beeped();
}

void VideoCommands::nextFrame() {
    if (conversionRunning()) return;  // the run owns the current frame
    if (!NextFrame(document_.video())) {
        beep();
        return;
    }
    showCurrentFrame();
}

void VideoCommands::previousFrame() {
    if (conversionRunning()) return;
    if (!PreviousFrame(document_.video())) {
        beep();
        return;
    }
    showCurrentFrame();
}

void VideoCommands::backward() {
    if (conversionRunning()) return;
    BackwardFrame(document_.video());
    showCurrentFrame();
}

void VideoCommands::forward() {
    if (conversionRunning()) return;
    ForwardFrame(document_.video());
    showCurrentFrame();
}

void VideoCommands::setStartMark() {
    if (conversionRunning()) return;  // the run took its marks when it started
    SetStartMark(document_.video());
    drawMarks();
}

void VideoCommands::setEndMark() {
    if (conversionRunning()) return;
    SetEndMark(document_.video());
    drawMarks();
}

void VideoCommands::togglePreview() {
    document_.video().preview = !document_.video().preview;
}

void VideoCommands::drawMarks() {
    const VideoState& video = document_.video();
    const MarkBands bands = MarkBandRange(video.startMark, video.endMark, SourceFrameCount(video),
                                          controls_.positionBar->width());
    controls_.positionBar->setMarks(bands.from, bands.to);
}

void VideoCommands::resetPositionBar() {
    controls_.positionBar->setMarks(0, 0);
    controls_.thumb->move(L::kHorizontal.x - 7, L::kHorizontal.y);
}

void VideoCommands::showCurrentFrame() {
    showFrameAt(document_.video().currentFrame);
}

bool VideoCommands::showFrameAt(std::int32_t index) {
    const VideoState& video = document_.video();
    if (!video.loaded) return false;
    try {
        if (fullPreviewOpen_ && preview_)
            preview_->showFrame(document_.decodeVideoFrame(index));
        else
            document_.showVideoFrame(index);
    } catch (const IoError& e) {
        readFailed(e);
        return false;
    }
    controls_.thumb->move(
        ThumbLeft(index, SourceFrameCount(video), L::kHorizontal.w, L::kHorizontal.x),
        L::kHorizontal.y);
    Q_EMIT frameShown(index);
    return true;
}

void VideoCommands::readFailed(const IoError& error) {
    // The frame cannot be read: nothing plays on, and the video keys rest until another file
    // is opened. The window itself goes on working.
    stopPlayback();
    controls_.playLabel->setText("4");
    for (PictureKey* key : controls_.keys)
        if (key) key->setEnabled(false);
    for (QWidget* label : controls_.labels)
        if (label) label->setEnabled(false);
    controls_.positionBar->setEnabled(false);
    controls_.thumb->setEnabled(false);
    if (asker_) asker_->showError(error);
}

void VideoCommands::play() {
    if (conversionRunning()) {
        // The play key is the stop key while a conversion runs.
        run_->requestStop();
        return;
    }
    const VideoState& video = document_.video();
    if (!video.loaded) return;
    if (playing()) {
        stopPlaying();
        return;
    }
    QTimer* timer = video.symbosVideo ? vidTimer_ : playTimer_;
    // A PC frame lasts frameDuration time units of 100 ns; a SymbOS video plays at its rate.
    const int interval = video.symbosVideo ? VidPlayInterval(document_.vidReader())
                                           : static_cast<int>(video.info.frameDuration / 10000);
    if (interval <= 0) {
        // No rate to play at (a SymbOS video of 0 frames a second).
        beep();
        return;
    }
    timer->setInterval(interval);
    timer->start();
    controls_.playLabel->setText(";");
    updateControls();
}

void VideoCommands::stopPlaying() {
    stopPlayback();
    controls_.playLabel->setText("4");
    updateControls();
}

void VideoCommands::playTick() {
    const std::optional<std::int32_t> frame = PlaybackTick(document_.video());
    if (!frame) {
        stopPlaying();
        return;
    }
    showFrameAt(*frame);
}

void VideoCommands::pressTrack(int x) {
    const VideoState& video = document_.video();
    if (!video.loaded || playing() || conversionRunning()) return;
    const int thumbLeft = L::kHorizontal.x + x - 7;
    const int position = thumbLeft + 7 - L::kHorizontal.x;
    controls_.thumb->move(thumbLeft, L::kHorizontal.y);
    document_.video().currentFrame =
        FrameAtTrackPosition(SourceFrameCount(video), L::kHorizontal.w, position);
    showCurrentFrame();
}

void VideoCommands::pressThumb(int windowX) {
    if (conversionRunning() || playing()) return;
    const int x = windowX - controls_.thumb->x();  // within the thumb
    if (x <= L::kHorizontal.x + L::kHorizontal.w) {
        dragging_ = true;
        dragAnchor_ = x;
    } else {
        beep();
    }
}

void VideoCommands::dragThumb(int windowX) {
    if (!dragging_) return;
    // No frame is shown while dragging: only where the thumb is let go.
    const int x = windowX - controls_.thumb->x();
    const int left =
        ClampThumbLeft(controls_.thumb->x() + x - dragAnchor_, L::kHorizontal.w, L::kHorizontal.x);
    controls_.thumb->move(left, L::kHorizontal.y);
}

void VideoCommands::releaseThumb() {
    if (!dragging_) return;
    dragging_ = false;
    const int position = controls_.thumb->x() + 7 - L::kHorizontal.x;
    VideoState& video = document_.video();
    video.currentFrame = FrameAtTrackPosition(SourceFrameCount(video), L::kHorizontal.w, position);
    showCurrentFrame();
}

void VideoCommands::openFullPreview() {
    if (!preview_ || preview_->isOpen()) return;
    const ConversionState& state = document_.state();
    const VideoState& video = document_.video();
    const bool frameOnShow = video.loaded && (state.currentSlot == state.sourceSlot ||
                                              state.currentSlot == Slot::Source);
    if (frameOnShow) {
        // The frame on show, which is the source: a PC frame twice its size without scan lines,
        // a SymbOS frame twice its size with them (sixteen colours: lines already doubled, no
        // scan lines).
        const Picture& frame = state.source;
        const bool mask = video.symbosVideo && !document_.vidReader().sixteen();
        fullPreviewOpen_ = true;
        preview_->open(frame, PreviewShape{2 * frame.width(), 2 * frame.height(), mask},
                       context_.window());
        return;
    }
    if (state.noPicture) return;
    const Slot slot = state.currentSlot;
    const Picture& picture = state.picture(slot);
    if (picture.empty()) return;
    preview_->openSlotPicture(picture, slot, context_.window());
}

void VideoCommands::previewClosed() {
    if (!fullPreviewOpen_) return;
    fullPreviewOpen_ = false;
    // The frames went to the preview: the one reached is shown here again and is the source.
    if (document_.video().loaded && !conversionRunning()) showCurrentFrame();
}

}  // namespace mozu
