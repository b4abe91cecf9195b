#pragma once
// TFontDialog: the editor's font chooser.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include <QWidget>

namespace mozu {

class TFontDialog : public QWidget {
    Q_OBJECT
  public:
    explicit TFontDialog(QWidget* parent = nullptr);
};

}  // namespace mozu
