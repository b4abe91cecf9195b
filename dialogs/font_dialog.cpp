#include "dialogs/font_dialog.h"

namespace mozu {

FontDialog::FontDialog(QWidget* parent) : PlaceholderWindow("TFontDialog", parent) {}

}  // namespace mozu
