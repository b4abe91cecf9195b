#pragma once
// The program's eight windows, created once, in this order: the main window, the open dialog,
// the editor, the save dialog, the colour dialog, the font dialog, the message window and the
// full preview. All but the main window stay hidden until used.

#include <memory>

#include "app/gui_asker.h"
#include "editing/clipboard.h"

namespace mozu {

class ColourDialog;
class EditWindow;
class FontDialog;
class FullPreview;
class MainWindow;
class MessageWindow;
class OpenDialog;
class SaveDialog;

struct MozuWindows {
    MozuWindows();
    ~MozuWindows();

    GuiAsker asker;  // the message window answers the core's questions
    // The editor's clipboard lives for the whole run: a block copied in one edit can be pasted
    // into the picture of another slot.
    EditorClipboard clipboard;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<OpenDialog> open;
    std::unique_ptr<EditWindow> edit;
    std::unique_ptr<SaveDialog> save;
    std::unique_ptr<ColourDialog> colour;
    std::unique_ptr<FontDialog> font;
    std::unique_ptr<MessageWindow> msg;
    std::unique_ptr<FullPreview> preview;
};

}  // namespace mozu
