#pragma once
// FullPreview: the full-screen preview of the shown picture or video.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include "dialogs/placeholder_window.h"

namespace mozu {

class FullPreview : public PlaceholderWindow {
    Q_OBJECT
  public:
    explicit FullPreview(QWidget* parent = nullptr);
};

}  // namespace mozu
