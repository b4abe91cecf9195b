#pragma once
// What the main window's commands may touch besides the document and the dialogs: the window's
// texts, its video controls and the window that owns their questions. The main window
// implements it; a command never sees the window itself.

#include <QString>

class QWidget;

namespace mozu {

class CommandContext {
  public:
    virtual ~CommandContext() = default;
    virtual void setStatus(const QString& text) = 0;             // Label4: "Opening", "Saving"
    virtual void setDescription(const QString& text) = 0;        // Label1: what the file is
    virtual void setTitle(const QString& text) = 0;              // Label2: a SymbOS video's title
    virtual void setTargetDescription(const QString& text) = 0;  // Label3: what a key made
    // The video keys follow the document: enabled while a video is loaded.
    virtual void updateVideoControls() = 0;
    // Stops showing video frames one by one (playback of a PC or SymbOS video).
    virtual void stopPlayback() = 0;
    // The window the dialogs and questions belong to.
    virtual QWidget* window() = 0;
};

}  // namespace mozu
