#include <gtest/gtest.h>

#include "colour/slot.h"
#include "editing/crop.h"
#include "editing/selection_frame.h"
#include "editing/selection_rect.h"
#include "support/pictures.h"

namespace mozu {
namespace {

const Colour kFill = MakeColour(0, 0, 128);

TEST(SelectionRect, DragCornersAreOrderedAndClampedOnEverySide) {
    // From (10,10) back to (4,2): the content is 6 x 8.
    const auto back = SelectionFromDrag({10, 10}, {4, 2}, 320, 200);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, (PixelRect{4, 2, 10, 10}));
    EXPECT_EQ(back->width(), 6);
    EXPECT_EQ(back->height(), 8);

    // Ending past the right and bottom edges: limited to the picture's width and height.
    EXPECT_EQ(*SelectionFromDrag({300, 150}, {999, 450}, 320, 200),
              (PixelRect{300, 150, 320, 200}));
    // Ending past the left and top edges.
    EXPECT_EQ(*SelectionFromDrag({30, 40}, {-7, -3}, 320, 200), (PixelRect{0, 0, 30, 40}));
    // Every edge is kept inside, also one the release moved past the far side.
    EXPECT_EQ(OrderAndClamp({400, 250, 500, 300}, 320, 200), (PixelRect{320, 200, 320, 200}));
    EXPECT_TRUE(OrderAndClamp({400, 250, 500, 300}, 320, 200).empty());
}

TEST(SelectionRect, PressWithoutDragSelectsNothing) {
    EXPECT_FALSE(SelectionFromDrag({12, 7}, {12, 7}, 160, 200));
    // A drag along one row or column has no content either.
    EXPECT_FALSE(SelectionFromDrag({12, 7}, {12, 50}, 160, 200));
    EXPECT_FALSE(SelectionFromDrag({12, 7}, {40, 7}, 160, 200));
    // A drag wholly beyond the picture (begun on its last column) neither.
    EXPECT_FALSE(SelectionFromDrag({160, 10}, {200, 40}, 160, 200));
    // The smallest selection: one pixel.
    EXPECT_EQ(*SelectionFromDrag({5, 5}, {6, 6}, 160, 200), (PixelRect{5, 5, 6, 6}));
}

TEST(SelectionRect, SelectAllTakesEveryColumnAndRow) {
    EXPECT_EQ(SelectAll(320, 200), (PixelRect{0, 0, 320, 200}));
    const PixelRect all = SelectAll(320, 200);
    EXPECT_EQ(all.width(), 320);  // not 319: no column is lost
    EXPECT_EQ(all.height(), 200);
}

TEST(SelectionRect, PressesOnTheFarEdgesCountAsInside) {
    const PixelRect r{4, 2, 10, 10};
    EXPECT_TRUE(InSelectedArea(r, 4, 2));
    EXPECT_TRUE(InSelectedArea(r, 10, 10));
    EXPECT_FALSE(InSelectedArea(r, 11, 10));
    EXPECT_FALSE(InSelectedArea(r, 3, 5));
    EXPECT_FALSE(InSelectedArea(r, 5, 1));
}

TEST(Crop, FixedSizeSlotsCentreTheContentOnTheFillColour) {
    const Picture original = test::RandomPicture(320, 200, 7);
    Picture picture = original;
    ASSERT_TRUE(CropKeepsSize(Slot::Mode1));
    // 100 x 50 in slot 1: a 320 x 200 picture, the content at (110, 75).
    const auto selection = CropToSelection(picture, {20, 30, 120, 80}, true, kFill);
    ASSERT_TRUE(selection);
    EXPECT_EQ(*selection, (PixelRect{110, 75, 210, 125}));
    ASSERT_EQ(picture.width(), 320);
    ASSERT_EQ(picture.height(), 200);
    EXPECT_EQ(picture.crop(110, 75, 100, 50), original.crop(20, 30, 100, 50));
    EXPECT_EQ(picture.pixel(109, 75), kFill);
    EXPECT_EQ(picture.pixel(210, 124), kFill);
    EXPECT_EQ(picture.pixel(0, 0), kFill);
    EXPECT_EQ(picture.pixel(319, 199), kFill);
}

TEST(Crop, OnlyTheFreeSizeSlotsShrink) {
    EXPECT_FALSE(CropKeepsSize(Slot::SgxCpcFree));
    EXPECT_FALSE(CropKeepsSize(Slot::SgxMsxFree));
    EXPECT_FALSE(CropKeepsSize(Slot::Source));
    EXPECT_TRUE(CropKeepsSize(Slot::Mode0));
    EXPECT_TRUE(CropKeepsSize(Slot::Overscan1));
    EXPECT_TRUE(CropKeepsSize(Slot::SgxMsx));
}

TEST(Crop, SelectAllThenCropKeepsTheWholePicture) {
    const Picture original = test::RandomPicture(97, 41, 10);
    Picture picture = original;
    const auto selection = CropToSelection(picture, SelectAll(97, 41), false, kFill);
    ASSERT_TRUE(selection);
    EXPECT_EQ(picture, original);
    Picture fixed = original;
    ASSERT_TRUE(CropToSelection(fixed, SelectAll(97, 41), true, kFill));
    EXPECT_EQ(fixed, original);
}

TEST(Crop, ASelectionWithoutContentChangesNothing) {
    const Picture original = test::RandomPicture(60, 40, 11);
    Picture picture = original;
    EXPECT_FALSE(CropToSelection(picture, {10, 10, 10, 30}, false, kFill));
    EXPECT_FALSE(CropToSelection(picture, {70, 50, 90, 60}, true, kFill));  // outside
    EXPECT_EQ(picture, original);
    // Corners in the wrong order and past the edges are ordered and clamped first.
    const auto selection = CropToSelection(picture, {80, 50, 50, 30}, false, kFill);
    ASSERT_TRUE(selection);
    EXPECT_EQ(picture, original.crop(50, 30, 10, 10));
}

TEST(SelectionFrame, DrawingTheFrameTwiceRestoresEveryPixel) {
    const Picture original = test::RandomPicture(40, 30, 12);
    for (const PixelRect& r :
         {PixelRect{2, 3, 20, 15}, PixelRect{0, 0, 40, 30}, PixelRect{5, 5, 6, 20},
          PixelRect{30, 25, 10, 4}, PixelRect{-5, -5, 60, 50}}) {
        for (int thickness : {1, 2, 8}) {
            Picture picture = original;
            InvertFrame(picture, r, thickness);
            InvertFrame(picture, r, thickness);
            EXPECT_EQ(picture, original);
        }
    }
}

TEST(SelectionFrame, InvertsARingInsideTheSelectionInGrey) {
    Picture picture(10, 8, MakeColour(0, 0, 0));
    InvertFrame(picture, {1, 1, 9, 7}, 2);
    // NOT(black XOR grey 128) = 127 on every channel.
    const Colour inverted = MakeColour(127, 127, 127);
    EXPECT_EQ(picture.pixel(1, 1), inverted);
    EXPECT_EQ(picture.pixel(2, 2), inverted);
    EXPECT_EQ(picture.pixel(8, 6), inverted);
    EXPECT_EQ(picture.pixel(7, 3), inverted);
    EXPECT_EQ(picture.pixel(3, 3), MakeColour(0, 0, 0));  // inside the ring
    EXPECT_EQ(picture.pixel(0, 0), MakeColour(0, 0, 0));  // outside the selection
    EXPECT_EQ(picture.pixel(9, 7), MakeColour(0, 0, 0));
    // A one-pixel-wide selection inverts each of its pixels once, not once per side.
    Picture thin(4, 4, MakeColour(0, 0, 0));
    InvertFrame(thin, {1, 0, 2, 4}, 2);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(thin.pixel(1, y), inverted);
}

TEST(SelectionFrame, BlinkWidthGrowsWhenZoomedOut) {
    EXPECT_EQ(BlinkFrameWidth(8), 1);
    EXPECT_EQ(BlinkFrameWidth(1), 1);
    EXPECT_EQ(BlinkFrameWidth(0.5), 2);
    EXPECT_EQ(BlinkFrameWidth(0.125), 8);
}

TEST(SelectionFrame, NoGreyPixelIsLeftAfterDragBlinkAndCommands) {
    const Picture original = test::RandomPicture(64, 48, 13, 4);
    Picture picture = original;
    SelectionFrame frame;
    // The steady part follows the drag (the rectangle grows, shrinks and turns over), then the
    // selection is fixed with other corners (ordered and clamped) and blinks at several zooms.
    for (const PixelRect& r : {PixelRect{10, 10, 11, 12}, PixelRect{10, 10, 30, 20},
                               PixelRect{10, 10, 2, 3}, PixelRect{10, 10, 70, 60}})
        frame.showSteady(picture, r);
    const PixelRect selection = OrderAndClamp({10, 10, 70, 60}, 64, 48);
    frame.showSteady(picture, selection);
    frame.blink(picture, selection, 1.0);
    frame.blink(picture, selection, 1.0);
    frame.blink(picture, selection, 0.25);
    EXPECT_TRUE(frame.visible());
    EXPECT_NE(picture, original);
    // The blinking part is removed at the width it was drawn with, even after a zoom change.
    frame.hideSteady(picture);
    frame.blink(picture, selection, 4.0);
    EXPECT_FALSE(frame.visible());
    EXPECT_EQ(picture, original);

    // Every command hides the frame before it takes the content or changes the picture: the
    // content and the cropped picture hold no frame pixel.
    frame.showSteady(picture, selection);
    frame.blink(picture, selection, 0.5);
    frame.hide(picture);
    frame.hide(picture);  // hiding twice does nothing more
    EXPECT_EQ(picture, original);
    ASSERT_TRUE(CropToSelection(picture, selection, false, kFill));
    EXPECT_EQ(picture, original.crop(10, 10, 54, 38));
}

}  // namespace
}  // namespace mozu
