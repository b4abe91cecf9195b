#include "editing/edit_view.h"

#include <algorithm>

namespace mozu {

void EditView::reset(int width, int height, int xScale, int yScale) {
    width_ = width;
    height_ = height;
    xScale_ = xScale;
    yScale_ = yScale;
    zoom_ = 1.0;
    scrollX_ = scrollY_ = 0;
    zoomAllowed_ = scrollAllowed_ = true;
}

void EditView::setPictureSize(int width, int height) {
    width_ = width;
    height_ = height;
    clampScroll();
}

int EditView::shownWidth() const {
    return static_cast<int>(static_cast<double>(width_) * xScale_ * zoom_);
}

int EditView::shownHeight() const {
    return static_cast<int>(static_cast<double>(height_) * yScale_ * zoom_);
}

bool EditView::zoomIn() {
    if (!zoomAllowed_ || zoom_ >= kMaxZoom) return false;
    zoom_ *= 2;
    clampScroll();
    return true;
}

bool EditView::zoomOut() {
    if (!zoomAllowed_ || zoom_ <= kMinZoom) return false;
    scrollHome();
    zoom_ /= 2;
    return true;
}

bool EditView::canScrollX() const {
    return scrollAllowed_ && shownWidth() > kEditViewWidth;
}

bool EditView::canScrollY() const {
    return scrollAllowed_ && shownHeight() > kEditViewHeight;
}

bool EditView::scrollToPercentX(int percent) {
    if (!canScrollX()) return false;
    scrollX_ = (shownWidth() - kEditViewWidth) * std::clamp(percent, 0, 100) / 100;
    return true;
}

bool EditView::scrollToPercentY(int percent) {
    if (!canScrollY()) return false;
    scrollY_ = (shownHeight() - kEditViewHeight) * std::clamp(percent, 0, 100) / 100;
    return true;
}

void EditView::scrollHome() {
    scrollX_ = scrollY_ = 0;
}

void EditView::clampScroll() {
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, shownWidth() - kEditViewWidth));
    scrollY_ = std::clamp(scrollY_, 0, std::max(0, shownHeight() - kEditViewHeight));
}

PixelPoint EditView::pixelAt(int x, int y) const {
    // The cast truncates toward zero, as does the integer division after it.
    const int px = static_cast<int>(x / zoom_) / xScale_;
    const int py = static_cast<int>(y / zoom_) / yScale_;
    return {px, py};
}

}  // namespace mozu
