#pragma once
// The video conversion run in the main window: the 4- and 16-colour video keys (VideoKey14,
// VideoKey13) ask whether to balance every frame, take a name, title and information from the
// save dialog in video mode, and then MakeTimer (4 colours) or Make16Timer (16 colours) converts
// one frame per 100 ms tick through the core's VideoWriterRun, so that the window stays
// responsive and the play key can stop the run between two frames. With the preview key on,
// the picture area is split: the source frame top left (Image1), the converted frame bottom
// right (Image2). The progress ball follows the frames written.

#include <QObject>
#include <functional>

#include "video/vid_writer.h"

class QTimer;

namespace mozu {

class CommandContext;
class Document;
class GuiAsker;
class PictureView;
class SaveDialog;
class SymbolLabel;

class VideoRunDriver : public QObject {
    Q_OBJECT
  public:
    static constexpr int kTickMs = 100;

    struct Views {
        PictureView* image1 = nullptr;  // the source frame during a split preview
        PictureView* image2 = nullptr;  // the converted frame
        SymbolLabel* playLabel = nullptr;
        QWidget* progressBall = nullptr;
    };

    VideoRunDriver(Document& document, CommandContext& context, const Views& views,
                   QObject* parent);
    ~VideoRunDriver() override;

    void attach(GuiAsker* asker, SaveDialog* saveDialog) {
        asker_ = asker;
        saveDialog_ = saveDialog;
    }

    // The video conversion keys (VideoKey14: 4 colours, VideoKey13: 16): nothing without a PC video
    // or while a run is on; otherwise the question, the save dialog and the run.
    void makeVideo(bool sixteen);
    // Starts a run with settings already chosen (the command after its dialogs, the benchmark).
    // False, after telling the user why, when the run was refused or its file not created.
    bool start(const VideoRunSettings& settings);
    // The play key during a run: the run stops after the frame in progress.
    void requestStop() { run_.requestStop(); }

    // A run is on: from its header to its end. Derived from the run itself, so a cancelled
    // dialog or a failed start never leaves it set.
    bool running() const { return run_.running(); }
    const VideoWriterRun& run() const { return run_; }
    // The timers' interval: 100 ms; the benchmark sets 0 to measure the work alone.
    void setTickInterval(int ms);
    // Where the source frame goes while the preview key is on, before Image1: true when it was
    // taken (the full preview is open).
    void setFullPreviewSink(std::function<bool(const Picture&)> sink) {
        fullPreviewSink_ = std::move(sink);
    }

  Q_SIGNALS:
    void runningChanged(bool running);
    // A frame was written (k of the run's frames).
    void frameWritten(int k);

  private:
    void tick();
    void showPreview();
    void splitPictureArea();
    void restorePictureArea();
    void ended();
    void moveBall();

    Document& document_;
    CommandContext& context_;
    Views views_;
    GuiAsker* asker_ = nullptr;
    SaveDialog* saveDialog_ = nullptr;
    VideoWriterRun run_;
    QTimer* makeTimer_ = nullptr;      // MakeTimer: 4 colours
    QTimer* make16Timer_ = nullptr;    // Make16Timer: 16 colours
    QTimer* progressTimer_ = nullptr;  // ProgressTimer: the ball, every 500 ms
    bool commandBusy_ = false;         // the question or the save dialog is on show
    bool split_ = false;
    std::function<bool(const Picture&)> fullPreviewSink_;
};

}  // namespace mozu
