#include <gtest/gtest.h>

#include "editing/block_transforms.h"
#include "editing/floating_block.h"
#include "support/pictures.h"

namespace mozu {
namespace {

// Slot 0's view: pixels twice as wide as high.
ViewMapping Mode0View(double zoom = 1.0) {
    ViewMapping view;
    view.zoom = zoom;
    view.scaleX = 2;
    view.scaleY = 1;
    return view;
}

// A block whose every pixel has a colour of its own, so that any misplaced pixel shows.
Picture NumberedBlock(int w, int h) {
    Picture block(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) block.setPixel(x, y, MakeColour(x, y, 7));
    return block;
}

TEST(BlockTransforms, MirrorsAndTurnsMoveEachPixelWhereItBelongs) {
    const Picture block = NumberedBlock(3, 2);
    const Picture mirrored = MirrorLeftRight(block);
    EXPECT_EQ(mirrored.pixel(0, 0), block.pixel(2, 0));
    EXPECT_EQ(mirrored.pixel(2, 1), block.pixel(0, 1));
    const Picture flipped = MirrorTopBottom(block);
    EXPECT_EQ(flipped.pixel(1, 0), block.pixel(1, 1));

    // Counter-clockwise: the top right corner becomes the top left one.
    const Picture left = TurnLeft(block);
    ASSERT_EQ(left.width(), 2);
    ASSERT_EQ(left.height(), 3);
    EXPECT_EQ(left.pixel(0, 0), block.pixel(2, 0));
    EXPECT_EQ(left.pixel(1, 0), block.pixel(2, 1));
    EXPECT_EQ(left.pixel(0, 2), block.pixel(0, 0));
    // Clockwise: the bottom left corner becomes the top left one.
    const Picture right = TurnRight(block);
    ASSERT_EQ(right.width(), 2);
    ASSERT_EQ(right.height(), 3);
    EXPECT_EQ(right.pixel(0, 0), block.pixel(0, 1));
    EXPECT_EQ(right.pixel(1, 2), block.pixel(2, 0));
}

TEST(BlockTransforms, FourTurnsAndTwoMirrorsGiveTheFirstBlockBack) {
    const Picture block = test::RandomPicture(20, 10, 21);
    EXPECT_EQ(TurnLeft(TurnLeft(TurnLeft(TurnLeft(block)))), block);
    EXPECT_EQ(TurnRight(TurnRight(TurnRight(TurnRight(block)))), block);
    EXPECT_EQ(TurnRight(TurnLeft(block)), block);
    EXPECT_EQ(MirrorLeftRight(MirrorLeftRight(block)), block);
    EXPECT_EQ(MirrorTopBottom(MirrorTopBottom(block)), block);
    // Two quarter turns are both mirrors.
    EXPECT_EQ(TurnLeft(TurnLeft(block)), MirrorTopBottom(MirrorLeftRight(block)));
}

TEST(FloatingBlock, TurningA20By10SelectionInMode0) {
    const Picture picture = test::RandomPicture(160, 200, 22);
    const PixelRect selection{40, 50, 60, 60};
    const FloatingBlock block =
        FloatingBlock::TurnedSelection(picture, selection, false, Mode0View());
    // Shown 10 pixels wide and 20 high, at the swapped scale: 10 x 40 window pixels.
    EXPECT_EQ(block.pixels().width(), 10);
    EXPECT_EQ(block.pixels().height(), 20);
    EXPECT_EQ(block.displayScaleX(), 1);
    EXPECT_EQ(block.displayScaleY(), 2);
    const WindowRect shown = block.shownRect(Mode0View());
    EXPECT_EQ(shown.width, 10);
    EXPECT_EQ(shown.height, 40);
    // Centred on the selection's centre (50, 55), which the view shows at (100, 55).
    EXPECT_NEAR(shown.left + shown.width / 2, 100, 1);
    EXPECT_EQ(shown.top + shown.height / 2, 55);
    EXPECT_EQ(block.pixels(), TurnLeft(picture.crop(40, 50, 20, 10)));

    // Put down it writes 10 x 20 slot-0 pixels, 1:1, at its place.
    Picture target(160, 200, MakeColour(255, 255, 255));
    block.putDown(target);
    const PixelPoint at = block.position();
    EXPECT_EQ(target.crop(at.x, at.y, 10, 20), block.pixels());
    int written = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 160; ++x) written += target.pixel(x, y) != MakeColour(255, 255, 255);
    EXPECT_LE(written, 200);
    EXPECT_EQ(target.crop(at.x - 1, at.y, 1, 20), Picture(1, 20, MakeColour(255, 255, 255)));

    // Three more turns the same way: the selection's own block, scale and place.
    FloatingBlock turned = block;
    for (int i = 0; i < 3; ++i) turned.turn(false, Mode0View());
    EXPECT_EQ(turned.pixels(), picture.crop(40, 50, 20, 10));
    EXPECT_EQ(turned.position(), (PixelPoint{40, 50}));
    EXPECT_EQ(turned.displayScaleX(), 2);
}

TEST(FloatingBlock, TurningAFloatingBlockKeepsItsCentreAndSwapsItsScale) {
    const Picture picture = test::RandomPicture(160, 200, 23);
    FloatingBlock block = FloatingBlock::OverSelection(picture, {40, 50, 60, 60}, Mode0View());
    EXPECT_EQ(block.position(), (PixelPoint{40, 50}));
    const WindowRect before = block.shownRect(Mode0View());
    EXPECT_EQ(before, (WindowRect{80, 50, 40, 10}));
    block.turn(true, Mode0View());
    const WindowRect after = block.shownRect(Mode0View());
    EXPECT_EQ(after.width, 10);
    EXPECT_EQ(after.height, 40);
    EXPECT_NEAR(after.left + after.width / 2, before.left + before.width / 2, 2);
    EXPECT_NEAR(after.top + after.height / 2, before.top + before.height / 2, 1);
    // Four turns: the first block, its scale and its place back.
    for (int i = 0; i < 3; ++i) block.turn(true, Mode0View());
    EXPECT_EQ(block.pixels(), picture.crop(40, 50, 20, 10));
    EXPECT_EQ(block.displayScaleX(), 2);
    EXPECT_EQ(block.shownRect(Mode0View()), before);
}

TEST(FloatingBlock, MovingCopiesAndIsPutDownWhereItIsShownAtEveryZoom) {
    const Picture original = test::RandomPicture(160, 200, 24);
    for (double zoom : {0.125, 0.25, 0.5, 1.0, 2.0, 8.0}) {
        SCOPED_TRACE(zoom);
        ViewMapping view = Mode0View(zoom);
        FloatingBlock block = FloatingBlock::OverSelection(original, {13, 17, 33, 29}, view);
        // Moving copies: the picture keeps the pixels under the selection.
        Picture picture = original;
        block.putDown(picture);
        EXPECT_EQ(picture, original);  // put down unmoved: nothing changes
        // Dragged by 3 x 7 picture pixels' worth of window pixels, plus a part of one.
        const WindowRect shown = block.shownRect(view);
        block.startDrag(shown.left + 1, shown.top + 1);
        block.dragTo(shown.left + 1 + static_cast<int>(3 * 2 * zoom + 0.5 * zoom),
                     shown.top + 1 + static_cast<int>(7 * zoom), view);
        block.endDrag();
        if (zoom >= 1) {
            EXPECT_EQ(block.position(), (PixelPoint{16, 24}));
        }
        block.putDown(picture);
        EXPECT_EQ(picture.crop(block.position().x, block.position().y, 20, 12),
                  original.crop(13, 17, 20, 12));
        // The place it is shown at is the place it is written to.
        const WindowRect moved = block.shownRect(view);
        EXPECT_EQ(moved.left, static_cast<int>(block.position().x * 2 * zoom));
        EXPECT_EQ(moved.top, static_cast<int>(block.position().y * zoom));
    }
}

TEST(FloatingBlock, AScrolledViewShowsTheBlockShifted) {
    const Picture picture = test::RandomPicture(736, 264, 25);
    ViewMapping view;
    view.scaleY = 2;  // slot 6
    view.zoom = 2.0;
    view.scrollX = 300;
    view.scrollY = 100;
    const FloatingBlock block = FloatingBlock::OverSelection(picture, {200, 60, 210, 70}, view);
    EXPECT_EQ(block.shownRect(view), (WindowRect{100, 140, 20, 40}));
    EXPECT_TRUE(block.shownRect(view).contains(100, 140));
    EXPECT_FALSE(block.shownRect(view).contains(120, 140));
}

TEST(FloatingBlock, StaysWithinReachOfTheView) {
    const Picture picture = test::RandomPicture(320, 200, 26);
    ViewMapping view;  // slot 1, 640 x 400 view
    FloatingBlock block = FloatingBlock::OverSelection(picture, {0, 0, 100, 50}, view);
    block.startDrag(10, 10);
    block.dragTo(5000, 4000, view);
    WindowRect shown = block.shownRect(view);
    EXPECT_EQ(shown.left, 640 - kFloatingGrip);
    EXPECT_EQ(shown.top, 400 - kFloatingGrip);
    block.dragTo(-5000, -4000, view);
    shown = block.shownRect(view);
    EXPECT_EQ(shown.left + shown.width, kFloatingGrip);
    EXPECT_EQ(shown.top + shown.height, kFloatingGrip);
    // Partly past the picture's left and top edges is allowed: it is put down clipped.
    block.dragTo(-30, -20, view);
    EXPECT_EQ(block.position(), (PixelPoint{-40, -30}));
    // Nudging moves by whole picture pixels and keeps the grip too.
    block.nudge(1, 0, view);
    EXPECT_EQ(block.position(), (PixelPoint{-39, -30}));
    block.nudge(-500, 0, view);
    EXPECT_EQ(block.shownRect(view).left + block.shownRect(view).width, kFloatingGrip);

    // A block smaller than the grip stays wholly inside.
    FloatingBlock small = FloatingBlock::OverSelection(picture, {0, 0, 4, 3}, view);
    small.nudge(-10, 1000, view);
    EXPECT_EQ(small.shownRect(view), (WindowRect{0, 397, 4, 3}));
}

TEST(FloatingBlock, EscapePutsItWhereItWasMadeAfterADrag) {
    const Picture picture = test::RandomPicture(100, 80, 27);
    ViewMapping view;
    FloatingBlock block = FloatingBlock::OverSelection(picture, {10, 10, 20, 20}, view);
    block.startDrag(0, 0);
    block.dragTo(30, 25, view);
    EXPECT_EQ(block.position(), (PixelPoint{40, 35}));
    EXPECT_EQ(block.origin(), (PixelPoint{10, 10}));
    Picture target(100, 80, 0);
    block.putDownAtOrigin(target);
    EXPECT_EQ(target.crop(10, 10, 10, 10), picture.crop(10, 10, 10, 10));
    EXPECT_EQ(target.pixel(40, 35), 0u);
}

}  // namespace
}  // namespace mozu
