#include "dialogs/colour_dialog.h"

namespace mozu {

TColorDialog::TColorDialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("TColorDialog");
    setWindowTitle("Mozu");
    hide();
}

}  // namespace mozu
