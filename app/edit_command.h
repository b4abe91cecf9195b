#pragma once
// The edit command (Key08) and its way back (AfterEdit): the editor opens on the current slot's
// own picture and palette while the main window hides, and on closing the document takes them
// back and the main window shows again. The key is enabled only where an edit can be taken
// back safely (see Document::canEdit), and never while a video plays or converts.

#include <QObject>
#include <functional>

#include "colour/slot.h"
#include "editing/undo_history.h"

class QWidget;

namespace mozu {

class ColourDialog;
class Document;
class EditWindow;
class PictureKey;

class EditCommand : public QObject {
  public:
    // `busy`: a video plays or converts. `mainWindow` hides while the editor is up.
    EditCommand(Document& document, PictureKey& key, QWidget& mainWindow,
                std::function<bool()> busy, QObject* parent);
    void attach(EditWindow* editor, ColourDialog* colours);

    // The key press: opens the editor on the current slot (beeps where that cannot be).
    void edit();
    // Ends an edit in progress as its Close key does (the picture goes back); nothing without.
    void endEdit();
    // Key08 enabled where edit() would open the editor.
    void updateKey();
    bool canEdit() const;

  private:
    void afterEdit(Slot slot, const EditSnapshot& result);

    Document& document_;
    PictureKey& key_;
    QWidget& mainWindow_;
    std::function<bool()> busy_;
    EditWindow* editor_ = nullptr;
    ColourDialog* colours_ = nullptr;
};

}  // namespace mozu
