#include "dialogs/full_preview.h"

namespace mozu {

TFullPreview::TFullPreview(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("TFullPreview");
    setWindowTitle("Mozu");
    hide();
}

}  // namespace mozu
