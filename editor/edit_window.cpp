#include "editor/edit_window.h"

namespace mozu {

EditWindow::EditWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("TEditWindow");
    setWindowTitle("Mozu");
    hide();
}

}  // namespace mozu
