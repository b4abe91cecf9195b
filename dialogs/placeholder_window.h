#pragma once
// PlaceholderWindow: a frameless window created once at start-up and kept hidden, standing for
// a window whose contents come with the feature that uses it.

#include <QWidget>

namespace mozu {

class PlaceholderWindow : public QWidget {
    Q_OBJECT
  protected:
    PlaceholderWindow(const QString& objectName, QWidget* parent);
};

}  // namespace mozu
