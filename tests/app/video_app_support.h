#pragma once
// Fixtures of the main window's video tests: small PC videos made with FFmpeg whose frames say
// their number in their grey level, SymbOS videos written by the core, and the main window's
// video side found by name.

#include <QImage>
#include <QObject>
#include <QString>
#include <vector>

#include "app/main_window.h"
#include "app/video_commands.h"
#include "app/video_run_driver.h"

namespace mozu::app_test {

// Frame n: grey (n mod 64) x 4 with a white block (rows 8-23) that moves right by n.
void PaintNumberedFrame(int n, Picture& picture);
// The frame number a shown picture says (its grey level away from the block), mod 64.
int FrameNumberOf(const QImage& image);
// A 64 x 48 MPEG-4 video of `frames` frames at 25 fps in `folder`; empty without the encoder.
QString MakeClip(const QString& folder, const QString& name, int frames);
// A SymbOS video made by the core from frames `start` to `end` of `clip`.
QString MakeVid(const QString& clip, const QString& base, bool sixteen, int start, int end);

VideoCommands& Video(MainWindow& w);
QWidget* Widget(MainWindow& w, const char* name);

// Records the frames the video commands show and the beeps.
struct VideoLog {
    explicit VideoLog(MainWindow& w);
    std::vector<int> shown;
    int beeps = 0;

  private:
    QObject context_;  // the connections end with the log
};

}  // namespace mozu::app_test
