#include "app/application.h"

#include "app/main_window.h"
#include "app/msg_window.h"
#include "dialogs/colour_dialog.h"
#include "dialogs/font_dialog.h"
#include "dialogs/full_preview.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "editor/edit_window.h"
#include "platform/io_error.h"

namespace mozu {

MozuWindows::MozuWindows() {
    main = std::make_unique<TMainWindow>();
    open = std::make_unique<TMyOpenDialog>(asker);
    edit = std::make_unique<TEditWindow>();
    save = std::make_unique<TMySaveDialog>(asker);
    colour = std::make_unique<TColorDialog>();
    font = std::make_unique<TFontDialog>();
    msg = std::make_unique<TMsgWindow>();
    preview = std::make_unique<TFullPreview>();
    asker.Attach(msg.get(), main.get());
    // The dialogs' input/output errors are shown by their code's text, as every other.
    auto showError = [this](int code, const QString&) { asker.showErrorCode(code); };
    open->setErrorHandler(showError);
    save->setErrorHandler(showError);
    main->attachWindows(open.get(), save.get(), &asker);
}

MozuWindows::~MozuWindows() = default;

}  // namespace mozu
