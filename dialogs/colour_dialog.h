#pragma once
// TColorDialog: the editor's colour picker.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include "dialogs/placeholder_window.h"

namespace mozu {

class TColorDialog : public PlaceholderWindow {
    Q_OBJECT
  public:
    explicit TColorDialog(QWidget* parent = nullptr);
};

}  // namespace mozu
