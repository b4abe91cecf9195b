// MainWindow: showing pictures in Image1 (ShowCPCImage, RefreshImage, the standard layout).

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "app/picture_view.h"
#include "formats/display_layout.h"

namespace mozu {

void MainWindow::StandardImage1Layout() {
    // 368 x 264 at (216, 152), proportional, centred, not stretched.
    image1_->setGeometry(layout::kImage1.x, layout::kImage1.y, layout::kImage1.w,
                         layout::kImage1.h);
    image1_->setStretch(false);
    image1_->setProportional(true);
}

void MainWindow::ShowPicture(const Picture& picture) {
    image1_->setPicture(picture);
}

void MainWindow::ShowCPCImage(int fileType, const Picture& picture) {
    const DisplayLayout d = GetDisplayLayout(fileType, picture.width(), picture.height());
    if (!d.draws) return;
    if (d.placesControl) image1_->setGeometry(d.left, d.top, d.width, d.height);
    image1_->setStretch(d.stretched);
    image1_->setProportional(d.proportional);
    image1_->setPicture(picture, d.linesDoubled ? 2 : 1);  // each line twice: tall MSX pixels
    image1_->repaint();  // shown now, not at the next frame: the command's result is on screen
    state_.sourceShown = false;
}

void MainWindow::RefreshImage() {
    // A picture read from a CPC file is shown at its file type's shape; a PC picture (or a
    // video frame) in the standard layout.
    const int s = state_.sourceSlot;
    if (s == kSourceSlot || s >= 20 || !GetDisplayLayout(s, 1, 1).draws) {
        StandardImage1Layout();
        ShowPicture(state_.source);
    } else {
        ShowCPCImage(s, state_.source);
    }
    state_.sourceShown = true;
    state_.currentSlot = state_.sourceSlot;
}

QImage MainWindow::shownImage() const {
    return image1_->image();
}

}  // namespace mozu
