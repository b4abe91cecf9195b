#pragma once
// The main window's video side: the navigation keys, the marks, play and stop, the position
// bar and its thumb, the full preview of the picture on show, and the video conversion run
// (VideoRunDriver). Opening a video goes through the file commands; this class follows the
// document's notices.

#include <QObject>
#include <array>
#include <cstdint>

#include "document/document.h"

class QTimer;
class QWidget;

namespace mozu {

class CommandContext;
class FullPreview;
class GuiAsker;
class PictureKey;
class PictureView;
class PositionBar;
class PositionThumb;
class SaveDialog;
class SymbolLabel;
class VideoRunDriver;

// The video controls the main window creates and hands over.
struct VideoControls {
    std::array<PictureKey*, 15> keys{};  // VideoKey01-08 under the bar, 13 and 14 beside it
    std::array<QWidget*, 9> labels{};    // VideoLabel01-08: the keys' captions
    SymbolLabel* playLabel = nullptr;    // VideoLabel04: the play key's symbol
    PositionBar* positionBar = nullptr;  // Horizontal
    PositionThumb* thumb = nullptr;      // HScrollButton
    QWidget* progressBall = nullptr;
    PictureView* image1 = nullptr;  // the picture: a click opens the full preview
    PictureView* image2 = nullptr;  // the converted frame during a run's split preview
};

class VideoCommands : public QObject {
    Q_OBJECT
  public:
    VideoCommands(Document& document, CommandContext& context, const VideoControls& controls,
                  QObject* parent);

    void attach(GuiAsker* asker, SaveDialog* saveDialog);
    void attachPreview(FullPreview* preview);

    // Keys and bar follow the document: enabled while a video is loaded; a SymbOS video cannot
    // be converted again (there is no PC video behind it); while a run converts only the play
    // key (its stop key) and the preview key are left; while a video plays the bar rests.
    void updateControls();
    // Stops showing frames one by one.
    void stopPlayback();
    bool playing() const;
    // A video conversion runs.
    bool conversionRunning() const;
    VideoRunDriver& run() { return *run_; }

    // The keys' handlers.
    void setStartMark();   // VideoKey01
    void backward();       // VideoKey02: back to the start mark, or to frame 0
    void previousFrame();  // VideoKey03
    void play();           // VideoKey04: play, pause, or stop a conversion
    void nextFrame();      // VideoKey05
    void forward();        // VideoKey06: on to the end mark, or to the last frame
    void setEndMark();     // VideoKey07
    void togglePreview();  // VideoKey08: a conversion shows its frames as it goes
    // The position bar: a press on the track jumps there; the thumb is dragged and the frame
    // under it shown when it is let go.
    void pressTrack(int x);
    void pressThumb(int windowX);
    void dragThumb(int windowX);
    void releaseThumb();
    // A click on Image1: the picture or video frame on show, full screen.
    void openFullPreview();

  Q_SIGNALS:
    // A limit was reached: the platform's alert sounded.
    void beeped();
    // Frame `index` was shown (in Image1 or the full preview).
    void frameShown(int index);

  private:
    void onChange(const DocumentChange& change);
    void resetPositionBar();
    void drawMarks();
    void showCurrentFrame();
    // Shows frame `index` and puts the thumb at `index`'s place; false after a read error.
    bool showFrameAt(std::int32_t index);
    void playTick();
    void stopPlaying();
    void beep();
    void readFailed(const class IoError& error);
    void previewClosed();

    Document& document_;
    CommandContext& context_;
    VideoControls controls_;
    GuiAsker* asker_ = nullptr;
    FullPreview* preview_ = nullptr;
    VideoRunDriver* run_ = nullptr;
    // Playback of a PC video (PlayTimer) and of a SymbOS video (VIDTimer).
    QTimer* playTimer_ = nullptr;
    QTimer* vidTimer_ = nullptr;
    bool dragging_ = false;
    int dragAnchor_ = 0;
    bool fullPreviewOpen_ = false;  // frames go to the full preview
};

}  // namespace mozu
