#pragma once
// EditWindow: the picture editor window.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include <QWidget>

namespace mozu {

class EditWindow : public QWidget {
    Q_OBJECT
  public:
    explicit EditWindow(QWidget* parent = nullptr);
};

}  // namespace mozu
