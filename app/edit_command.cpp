#include "app/edit_command.h"

#include <QApplication>
#include <QWidget>

#include "dialogs/colour_dialog.h"
#include "document/document.h"
#include "editing/slot_colours.h"
#include "editor/edit_window.h"
#include "skin/picture_key.h"

namespace mozu {

EditCommand::EditCommand(Document& document, PictureKey& key, QWidget& mainWindow,
                         std::function<bool()> busy, QObject* parent)
    : QObject(parent),
      document_(document),
      key_(key),
      mainWindow_(mainWindow),
      busy_(std::move(busy)) {
    document_.addObserver([this](const DocumentChange&) { updateKey(); });
}

void EditCommand::attach(EditWindow* editor, ColourDialog* colours) {
    editor_ = editor;
    colours_ = colours;
    connect(editor_, &EditWindow::closed, this,
            [this](Slot slot, const EditSnapshot& result) { afterEdit(slot, result); });
    editor_->setColourChooser([this](int swatch) {
        if (!colours_ || !editor_) return;
        EditorModel& model = editor_->model();
        colours_->start(model, swatch, OfferedColours(document_.state(), model.slot()),
                        [this] { editor_->refresh(); });
    });
    updateKey();
}

bool EditCommand::canEdit() const {
    return editor_ && !editor_->editing() && document_.canEdit() && !(busy_ && busy_());
}

void EditCommand::updateKey() {
    key_.setEnabled(canEdit());
}

void EditCommand::edit() {
    if (!canEdit()) {
        QApplication::beep();
        return;
    }
    const Slot slot = document_.state().currentSlot;
    const EditSnapshot start = document_.beginEdit();
    editor_->fullScreen(slot, start, document_.editHistory());
    mainWindow_.hide();
    updateKey();
}

void EditCommand::endEdit() {
    if (editor_ && editor_->editing()) editor_->closeEdit();
}

void EditCommand::afterEdit(Slot slot, const EditSnapshot& result) {
    document_.afterEdit(slot, result);
    mainWindow_.show();
    updateKey();
}

}  // namespace mozu
