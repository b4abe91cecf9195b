#pragma once
// TEditWindow: the picture editor window.
// Created once at start-up, hidden; its contents come with the feature that uses it.

#include <QWidget>

namespace mozu {

class TEditWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TEditWindow(QWidget* parent = nullptr);
};

}  // namespace mozu
