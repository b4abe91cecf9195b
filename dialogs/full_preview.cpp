#include "dialogs/full_preview.h"

namespace mozu {

FullPreview::FullPreview(QWidget* parent) : PlaceholderWindow("FullPreview", parent) {}

}  // namespace mozu
