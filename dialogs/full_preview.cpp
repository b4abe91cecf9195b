#include "dialogs/full_preview.h"

namespace mozu {

TFullPreview::TFullPreview(QWidget* parent) : PlaceholderWindow("TFullPreview", parent) {}

}  // namespace mozu
