#include "dialogs/font_dialog.h"

namespace mozu {

TFontDialog::TFontDialog(QWidget* parent) : PlaceholderWindow("TFontDialog", parent) {}

}  // namespace mozu
