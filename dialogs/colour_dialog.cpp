#include "dialogs/colour_dialog.h"

namespace mozu {

TColorDialog::TColorDialog(QWidget* parent) : PlaceholderWindow("TColorDialog", parent) {}

}  // namespace mozu
