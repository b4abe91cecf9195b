#include "app/video_run_driver.h"

#include <QTimer>

#include "app/command_context.h"
#include "app/gui_asker.h"
#include "app/main_window_layout.h"
#include "app/message_window.h"
#include "app/picture_view.h"
#include "dialogs/save_dialog.h"
#include "document/document.h"
#include "platform/io_error.h"
#include "skin/symbol_label.h"
#include "video/vid_reader.h"

namespace mozu {

namespace {

// The run's questions (replacing an existing file) are answered through the message window;
// its end notices are shown without waiting, so the tick that ends the run returns at once.
class RunAsker : public Asker {
  public:
    explicit RunAsker(GuiAsker* asker) : asker_(asker) {}
    bool askYesNo(const std::string& text) override { return asker_ && asker_->askYesNo(text); }
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override {
        if (!asker_) return std::nullopt;
        return asker_->askName(prompt, maxLength);
    }
    void notify(const std::string& text) override {
        if (asker_) asker_->notifyWithoutWaiting(QString::fromStdString(text));
    }

  private:
    GuiAsker* asker_;
};

class Flag {
  public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

  private:
    bool& flag_;
};

}  // namespace

VideoRunDriver::VideoRunDriver(Document& document, CommandContext& context, const Views& views,
                               QObject* parent)
    : QObject(parent), document_(document), context_(context), views_(views) {
    setObjectName("VideoRun");
    makeTimer_ = new QTimer(this);
    makeTimer_->setObjectName("MakeTimer");
    make16Timer_ = new QTimer(this);
    make16Timer_->setObjectName("Make16Timer");
    for (QTimer* t : {makeTimer_, make16Timer_}) {
        t->setInterval(kTickMs);
        connect(t, &QTimer::timeout, this, [this] { tick(); });
    }
    progressTimer_ = new QTimer(this);
    progressTimer_->setObjectName("ProgressTimer");
    progressTimer_->setInterval(500);
    connect(progressTimer_, &QTimer::timeout, this, [this] { moveBall(); });
}

VideoRunDriver::~VideoRunDriver() = default;

void VideoRunDriver::setTickInterval(int ms) {
    makeTimer_->setInterval(ms);
    make16Timer_->setInterval(ms);
}

void VideoRunDriver::makeVideo(bool sixteen) {
    const VideoState& video = document_.video();
    if (commandBusy_ || running() || !video.loaded || video.symbosVideo || !video.open) return;
    if (!asker_ || !saveDialog_) return;
    Flag busy(commandBusy_);
    VideoRunSettings settings;
    settings.sixteen = sixteen;
    settings.autobalance = asker_->askYesNo("Use autobalance for all frames?");
    const SaveDialogResult r = saveDialog_->Execute(
        context_.window(), "V", QString::fromStdString(document_.state().currentFileName));
    if (r.cancelled() || r.name == QLatin1String("<none>") || r.name.isEmpty()) return;
    settings.baseName = r.name.toStdString();
    const VideoDescription d = ParseVideoDescription(r.selection.toLatin1().toStdString());
    settings.title = d.title;
    settings.information = d.information;
    start(settings);
}

bool VideoRunDriver::start(const VideoRunSettings& settings) {
    if (running()) return false;
    RunAsker asker(asker_);
    try {
        run_.start(document_.state(), document_.video(), asker, settings);
    } catch (const VideoRefused& e) {
        if (asker_) asker_->Ask(MessageWindow::kNotice, QString::fromStdString(e.what()));
        return false;
    } catch (const IoError& e) {
        if (asker_) asker_->showError(e);
        return false;
    }
    views_.playLabel->setText("<");
    context_.setTargetDescription(QString::fromStdString(run_.description()));
    context_.setStatus("");
    moveBall();
    progressTimer_->start();
    (settings.sixteen ? make16Timer_ : makeTimer_)->start();
    Q_EMIT runningChanged(true);
    return true;
}

void VideoRunDriver::tick() {
    if (!running()) {
        makeTimer_->stop();
        make16Timer_->stop();
        return;
    }
    RunAsker asker(asker_);
    VideoWriterRun::Tick t;
    try {
        t = run_.tick(document_.state(), document_.video(), asker);
    } catch (const IoError& e) {
        // The incomplete file is gone and the run is over; the error says why.
        context_.setStatus("");
        ended();
        if (asker_) asker_->showError(e);
        return;
    }
    switch (t) {
        case VideoWriterRun::Tick::Idle:
        case VideoWriterRun::Tick::Busy:
            return;
        case VideoWriterRun::Tick::Frame:
            if (document_.video().preview) showPreview();
            context_.setStatus(QString::fromStdString(run_.status()));
            Q_EMIT frameWritten(run_.framesWritten());
            return;
        case VideoWriterRun::Tick::Stopped:
            if (document_.video().preview) showPreview();
            // The run's description goes; the counter shows the frames written, now all of them.
            context_.setTargetDescription("");
            context_.setStatus(QString::fromStdString(run_.status()));
            Q_EMIT frameWritten(run_.framesWritten());
            ended();
            return;
        case VideoWriterRun::Tick::Finished:
            context_.setStatus("");
            ended();
            return;
    }
}

void VideoRunDriver::showPreview() {
    // The frame the run just converted, beside what it was made from.
    const ConversionState& state = document_.state();
    const VideoRunPlan& plan = run_.plan();
    const Picture& source = document_.video().frame;
    if (fullPreviewSink_ && fullPreviewSink_(source)) return;
    splitPictureArea();
    views_.image1->setPicture(source);
    views_.image2->setPicture(VideoPensToColours(state.colourTable, state.slots[plan.kind]),
                              plan.sixteen ? 2 : 1);  // sixteen-colour pixels are wide
}

void VideoRunDriver::splitPictureArea() {
    if (split_) return;
    split_ = true;
    // Image1 takes the top-left quarter of the picture area, Image2 the bottom-right one.
    const layout::Box& area = layout::kImage1;
    const int w = area.w / 2, h = area.h / 2;
    for (PictureView* v : {views_.image1, views_.image2}) {
        v->setStretch(true);
        v->setProportional(true);
    }
    views_.image1->setGeometry(area.x, area.y, w, h);
    views_.image2->setGeometry(area.x + w, area.y + h, w, h);
    views_.image1->show();
    views_.image2->show();
    views_.image2->raise();
}

void VideoRunDriver::restorePictureArea() {
    views_.image2->hide();
    if (!split_) return;
    split_ = false;
    const layout::Box& area = layout::kImage1;
    views_.image1->setGeometry(area.x, area.y, area.w, area.h);
    views_.image1->setStretch(false);
    views_.image1->setProportional(true);
}

void VideoRunDriver::ended() {
    makeTimer_->stop();
    make16Timer_->stop();
    progressTimer_->stop();
    moveBall();
    restorePictureArea();
    views_.playLabel->setText("4");
    Q_EMIT runningChanged(false);
}

void VideoRunDriver::moveBall() {
    const BallPosition b = ProgressBallPosition(run_.progressAngle());
    views_.progressBall->move(b.left, b.top);
}

}  // namespace mozu
