#include "editing/floating_block.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editing/block_transforms.h"

namespace mozu {
namespace {

// Window pixels per picture pixel along one axis.
double Unit(int scale, double zoom) {
    return scale * zoom;
}

// The window coordinate of a picture coordinate. Floor rather than truncation, so that a block
// reaching left of or above the picture maps as steadily as one inside it.
int WindowOf(int picture, int scale, double zoom, int scroll) {
    return static_cast<int>(std::floor(picture * Unit(scale, zoom))) - scroll;
}

// Moves `pos` (picture pixels) so that at least a grip of the block's `shown` window pixels
// lies inside 0-viewSize.
void KeepAxisInView(int& pos, int scale, double zoom, int scroll, int shown, int viewSize) {
    const double unit = Unit(scale, zoom);
    if (!(unit > 0) || shown <= 0 || viewSize <= 0) return;
    const int grip = std::min({shown, kFloatingGrip, viewSize});
    const int left = WindowOf(pos, scale, zoom, scroll);
    if (left > viewSize - grip)
        pos = static_cast<int>(std::floor((viewSize - grip + scroll) / unit));
    else if (left + shown < grip)
        pos = static_cast<int>(std::ceil((grip - shown + scroll) / unit));
}

}  // namespace

FloatingBlock::FloatingBlock(Picture pixels, PixelPoint at, int displayScaleX, int displayScaleY)
    : pixels_(std::move(pixels)),
      at_(at),
      origin_(at),
      scaleX_(displayScaleX),
      scaleY_(displayScaleY) {}

FloatingBlock FloatingBlock::OverSelection(const Picture& picture, const PixelRect& selection,
                                           const ViewMapping& view) {
    const PixelRect r = OrderAndClamp(selection, picture.width(), picture.height());
    FloatingBlock block(picture.crop(r.left, r.top, r.width(), r.height()), {r.left, r.top},
                        view.scaleX, view.scaleY);
    block.keepInView(view);
    return block;
}

FloatingBlock FloatingBlock::TurnedSelection(const Picture& picture, const PixelRect& selection,
                                             bool clockwise, const ViewMapping& view) {
    const PixelRect r = OrderAndClamp(selection, picture.width(), picture.height());
    const Picture content = picture.crop(r.left, r.top, r.width(), r.height());
    const int w = r.width(), h = r.height(), xs = view.scaleX, ys = view.scaleY;
    // The turned block (h x w pixels, shown at the swapped scale: h * ys by w * xs unzoomed
    // window pixels) is centred on the selection's centre.
    const PixelPoint centre{(r.left + r.right) * xs, (r.top + r.bottom) * ys};
    FloatingBlock block(clockwise ? TurnRight(content) : TurnLeft(content),
                        {(centre.x - h * ys) / (2 * xs), (centre.y - w * xs) / (2 * ys)}, ys, xs);
    block.turnCentre_ = centre;
    block.keepInView(view);
    return block;
}

WindowRect FloatingBlock::shownRect(const ViewMapping& view) const {
    return {WindowOf(at_.x, view.scaleX, view.zoom, view.scrollX),
            WindowOf(at_.y, view.scaleY, view.zoom, view.scrollY),
            static_cast<int>(pixels_.width() * Unit(scaleX_, view.zoom)),
            static_cast<int>(pixels_.height() * Unit(scaleY_, view.zoom))};
}

void FloatingBlock::mirrorLeftRight() {
    pixels_ = MirrorLeftRight(pixels_);
}

void FloatingBlock::mirrorTopBottom() {
    pixels_ = MirrorTopBottom(pixels_);
}

void FloatingBlock::turn(bool clockwise, const ViewMapping& view) {
    const int w = pixels_.width(), h = pixels_.height(), xs = view.scaleX, ys = view.scaleY;
    // The shown centre stays; the new shown width is the old shown height and the other way
    // round. Kept doubled, so that halving an odd size loses nothing from turn to turn.
    if (!turnCentre_)
        turnCentre_ = PixelPoint{2 * at_.x * xs + w * scaleX_, 2 * at_.y * ys + h * scaleY_};
    at_ = {(turnCentre_->x - h * scaleY_) / (2 * xs), (turnCentre_->y - w * scaleX_) / (2 * ys)};
    pixels_ = clockwise ? TurnRight(pixels_) : TurnLeft(pixels_);
    std::swap(scaleX_, scaleY_);
    keepInView(view);
}

void FloatingBlock::startDrag(int windowX, int windowY) {
    dragging_ = true;
    dragPress_ = {windowX, windowY};
    dragStart_ = at_;
    turnCentre_.reset();
}

void FloatingBlock::dragTo(int windowX, int windowY, const ViewMapping& view) {
    if (!dragging_) return;
    const double ux = Unit(view.scaleX, view.zoom), uy = Unit(view.scaleY, view.zoom);
    if (!(ux > 0) || !(uy > 0)) return;
    at_ = {dragStart_.x + static_cast<int>(std::trunc((windowX - dragPress_.x) / ux)),
           dragStart_.y + static_cast<int>(std::trunc((windowY - dragPress_.y) / uy))};
    keepInView(view);
}

void FloatingBlock::nudge(int dx, int dy, const ViewMapping& view) {
    at_ = {at_.x + dx, at_.y + dy};
    turnCentre_.reset();
    keepInView(view);
}

void FloatingBlock::keepInView(const ViewMapping& view) {
    const WindowRect shown = shownRect(view);
    const PixelPoint before = at_;
    KeepAxisInView(at_.x, view.scaleX, view.zoom, view.scrollX, shown.width, view.viewWidth);
    KeepAxisInView(at_.y, view.scaleY, view.zoom, view.scrollY, shown.height, view.viewHeight);
    if (at_ != before) turnCentre_.reset();
}

void FloatingBlock::putDown(Picture& picture) const {
    PutDownBlock(picture, pixels_, at_.x, at_.y, transparency_);
}

void FloatingBlock::putDownAtOrigin(Picture& picture) const {
    PutDownBlock(picture, pixels_, origin_.x, origin_.y, transparency_);
}

}  // namespace mozu
