#include "editor/edit_window.h"

namespace mozu {

TEditWindow::TEditWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("TEditWindow");
    setWindowTitle("Mozu");
    hide();
}

}  // namespace mozu
