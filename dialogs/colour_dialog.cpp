#include "dialogs/colour_dialog.h"

namespace mozu {

ColourDialog::ColourDialog(QWidget* parent) : PlaceholderWindow("TColorDialog", parent) {}

}  // namespace mozu
