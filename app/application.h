#pragma once
// The program's eight windows, created once, in this order: the main window, the open dialog,
// the editor, the save dialog, the colour dialog, the font dialog, the message window and the
// full preview. All but the main window stay hidden until used.

#include <memory>

#include "app/gui_asker.h"

namespace mozu {

class TColorDialog;
class TEditWindow;
class TFontDialog;
class TFullPreview;
class TMainWindow;
class TMsgWindow;
class TMyOpenDialog;
class TMySaveDialog;

struct MozuWindows {
    MozuWindows();
    ~MozuWindows();

    GuiAsker asker;  // the message window answers the core's questions
    std::unique_ptr<TMainWindow> main;
    std::unique_ptr<TMyOpenDialog> open;
    std::unique_ptr<TEditWindow> edit;
    std::unique_ptr<TMySaveDialog> save;
    std::unique_ptr<TColorDialog> colour;
    std::unique_ptr<TFontDialog> font;
    std::unique_ptr<TMsgWindow> msg;
    std::unique_ptr<TFullPreview> preview;
};

}  // namespace mozu
