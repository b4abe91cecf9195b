#pragma once
// ColourDialog: the editor's colour picker.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include "dialogs/placeholder_window.h"

namespace mozu {

class ColourDialog : public PlaceholderWindow {
    Q_OBJECT
  public:
    explicit ColourDialog(QWidget* parent = nullptr);
};

}  // namespace mozu
