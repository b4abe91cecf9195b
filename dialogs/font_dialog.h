#pragma once
// FontDialog: the editor's font chooser.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include "dialogs/placeholder_window.h"

namespace mozu {

class FontDialog : public PlaceholderWindow {
    Q_OBJECT
  public:
    explicit FontDialog(QWidget* parent = nullptr);
};

}  // namespace mozu
