#pragma once
// The main window's video side: the position bar and its thumb, the progress ball of a video
// conversion, and the timers that show or convert a video one frame per tick. Opening a video
// goes through the file commands; this class follows the document's notices.

#include <QObject>
#include <array>
#include <cstdint>

#include "document/document.h"

class QTimer;
class QWidget;

namespace mozu {

class PictureKey;
class PositionBar;
class SymbolLabel;

// The video controls the main window creates and hands over.
struct VideoControls {
    std::array<PictureKey*, 15> keys{};  // VideoKey01-08 under the bar, 13 and 14 beside it
    std::array<QWidget*, 9> labels{};    // VideoLabel01-08: the keys' captions
    SymbolLabel* playLabel = nullptr;    // VideoLabel04: the play key's symbol
    PositionBar* positionBar = nullptr;  // Horizontal
    QWidget* thumb = nullptr;            // HScrollButton
    QWidget* progressBall = nullptr;
};

class VideoCommands : public QObject {
  public:
    VideoCommands(Document& document, const VideoControls& controls, QObject* parent);

    // Keys and bar enabled while a video is loaded; a SymbOS video cannot be converted again
    // (there is no PC video behind it).
    void updateControls();
    // Stops showing frames one by one.
    void stopPlayback();
    // A PC or SymbOS video is being played frame by frame.
    bool playing() const;
    // The PC video's frame `index` on show, the thumb at its place; IoError when the frame
    // cannot be decoded.
    void showFrame(std::int32_t index);

    // The progress ball of a video conversion; the writer sets the angle.
    void setProgressAngle(int angle) { progressAngle_ = angle; }
    void startProgress();
    void stopProgress();

  private:
    void onChange(const DocumentChange& change);
    void resetPositionBar();
    void moveBall();

    Document& document_;
    VideoControls controls_;
    QTimer* progressTimer_ = nullptr;
    // Playback of a PC video (PlayTimer) and of a SymbOS video (VIDTimer): the play key
    // starts them.
    QTimer* playTimer_ = nullptr;
    QTimer* vidTimer_ = nullptr;
    int progressAngle_ = 0;
};

}  // namespace mozu
