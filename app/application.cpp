#include "app/application.h"

#include "app/main_window.h"
#include "app/message_window.h"
#include "dialogs/colour_dialog.h"
#include "dialogs/font_dialog.h"
#include "dialogs/full_preview.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "editor/edit_window.h"
#include "platform/io_error.h"

namespace mozu {

MozuWindows::MozuWindows() {
    main = std::make_unique<MainWindow>();
    open = std::make_unique<OpenDialog>(asker);
    edit = std::make_unique<EditWindow>();
    edit->setClipboard(clipboard);
    save = std::make_unique<SaveDialog>(asker);
    colour = std::make_unique<ColourDialog>();
    font = std::make_unique<FontDialog>();
    msg = std::make_unique<MessageWindow>();
    preview = std::make_unique<FullPreview>();
    asker.Attach(msg.get(), main.get());
    // The dialogs' input/output errors are shown by their code's text, as every other, with
    // the file or folder they concern on a line of its own.
    auto showError = [this](int code, const QString& path) {
        asker.Ask(MessageWindow::kError, ErrorTextNaming(code, path));
    };
    open->setErrorHandler(showError);
    save->setErrorHandler(showError);
    main->attachWindows(open.get(), save.get(), &asker);
    main->attachEditor(edit.get(), colour.get());
    main->attachPreview(preview.get());
    // A text box opened in the editor asks the font dialog for its font and colours.
    edit->setFontChooser([this](const FontChoice& current, const std::vector<Colour>& palette,
                                Colour pen,
                                Colour fill) { return font->start(current, palette, pen, fill); });
    // The editor's Preview key shows the picture being edited full screen, at its slot's shape.
    edit->setPreviewer([this](const Picture& picture, Slot slot) {
        preview->openSlotPicture(picture, slot, edit.get());
    });
}

MozuWindows::~MozuWindows() = default;

}  // namespace mozu
