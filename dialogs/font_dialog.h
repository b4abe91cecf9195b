#pragma once
// TFontDialog: the editor's font chooser.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include "dialogs/placeholder_window.h"

namespace mozu {

class TFontDialog : public PlaceholderWindow {
    Q_OBJECT
  public:
    explicit TFontDialog(QWidget* parent = nullptr);
};

}  // namespace mozu
