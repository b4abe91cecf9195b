#include "dialogs/placeholder_window.h"

namespace mozu {

PlaceholderWindow::PlaceholderWindow(const QString& objectName, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(objectName);
    setWindowTitle("Mozu");
    hide();
}

}  // namespace mozu
