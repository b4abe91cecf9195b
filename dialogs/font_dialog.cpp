#include "dialogs/font_dialog.h"

namespace mozu {

TFontDialog::TFontDialog(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("TFontDialog");
    setWindowTitle("Mozu");
    hide();
}

}  // namespace mozu
