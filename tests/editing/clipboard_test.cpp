#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "colour/colour_table.h"
#include "editing/clipboard.h"
#include "support/pictures.h"

namespace mozu {
namespace {

Colour Table(int index) {
    return kDefaultColourTable[static_cast<std::size_t>(index)];
}

std::vector<Colour> Mode1Palette() {
    return {Table(1), Table(3), Table(13), Table(8)};
}

std::vector<Colour> Mode0Palette() {
    std::vector<Colour> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(Table(i));
    return palette;
}

// A picture drawn in the given palette's colours only, from a fixed seed.
Picture PictureInPalette(int w, int h, const std::vector<Colour>& palette, unsigned seed) {
    const Picture random = test::RandomPicture(w, h, seed);
    Picture picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, palette[random.pixel(x, y) % palette.size()]);
    return picture;
}

std::set<Colour> ColoursOf(const Picture& picture) {
    std::set<Colour> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    return colours;
}

TEST(Clipboard, SelectAllAndCopyInMode1TakesTheWhole320By200) {
    const Picture picture = PictureInPalette(320, 200, Mode1Palette(), 51);
    const EditorClipboard clipboard =
        CopySelection(picture, SelectAll(320, 200), Slot::Mode1, Mode1Palette());
    EXPECT_EQ(clipboard.bitmap.width(), 320);
    EXPECT_EQ(clipboard.bitmap.height(), 200);
    EXPECT_EQ(clipboard.bitmap, picture);
    EXPECT_EQ(clipboard.slot, Slot::Mode1);
    EXPECT_EQ(clipboard.palette, Mode1Palette());
}

TEST(Clipboard, ABlockCopiedInMode0IsPastedIntoMode1InItsFourColours) {
    const Picture mode0 = PictureInPalette(160, 200, Mode0Palette(), 52);
    EditorClipboard clipboard = CopySelection(mode0, {10, 20, 50, 60}, Slot::Mode0, Mode0Palette());
    Picture mode1 = PictureInPalette(320, 200, Mode1Palette(), 53);
    ViewMapping view;
    auto block = PasteFromClipboard(clipboard, mode1, Slot::Mode1, Mode1Palette(), view);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->position(), (PixelPoint{10, 20}));
    EXPECT_FALSE(block->transparency().on);
    block->putDown(mode1);
    const std::vector<Colour> mode1Palette = Mode1Palette();
    const std::set<Colour> allowed(mode1Palette.begin(), mode1Palette.end());
    EXPECT_EQ(ColoursOf(mode1.crop(10, 20, 40, 40)).size(), 4u);
    for (Colour c : ColoursOf(mode1)) EXPECT_TRUE(allowed.count(c));
    // The clipboard itself keeps the copied pixels for the next paste.
    EXPECT_EQ(clipboard.bitmap, mode0.crop(10, 20, 40, 40));
}

TEST(Clipboard, APastedBlockLandsInsideASmallerPicture) {
    const Picture mode1 = PictureInPalette(320, 200, Mode1Palette(), 54);
    EditorClipboard clipboard =
        CopySelection(mode1, {300, 150, 320, 160}, Slot::Mode1, Mode1Palette());
    const Picture mode0(160, 200, Table(1));
    ViewMapping view;
    view.scaleX = 2;
    auto block = PasteFromClipboard(clipboard, mode0, Slot::Mode0, Mode0Palette(), view);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->position(), (PixelPoint{140, 150}));
    EXPECT_EQ(block->displayScaleX(), 2);
    EditorClipboard empty;
    EXPECT_FALSE(PasteFromClipboard(empty, mode0, Slot::Mode0, Mode0Palette(), view));
}

TEST(Clipboard, APastedBlockIsShownByTheMovingRuleInAZoomedScrolledView) {
    const Picture picture = PictureInPalette(320, 200, Mode1Palette(), 55);
    EditorClipboard clipboard =
        CopySelection(picture, {80, 60, 100, 90}, Slot::Mode1, Mode1Palette());
    ViewMapping view;
    view.zoom = 2.0;
    view.scrollX = 100;
    view.scrollY = 50;
    auto block = PasteFromClipboard(clipboard, picture, Slot::Mode1, Mode1Palette(), view);
    ASSERT_TRUE(block);
    // Picture pixel x scale x zoom, less the scroll offset: (160 - 100, 120 - 50).
    EXPECT_EQ(block->shownRect(view), (WindowRect{60, 70, 40, 60}));
}

TEST(Clipboard, ASystemImageInMode1HasFourColoursAtMost) {
    ViewMapping view;
    view.zoom = 2.0;
    view.scrollX = 81;
    view.scrollY = 40;
    auto block = PasteImage(test::SmoothPicture(50, 30, 56), Slot::Mode1, Mode1Palette(), view);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->position(), (PixelPoint{40, 20}));
    const std::set<Colour> colours = ColoursOf(block->pixels());
    EXPECT_LE(colours.size(), 4u);
    const std::vector<Colour> mode1Palette = Mode1Palette();
    for (Colour c : colours)
        EXPECT_NE(std::find(mode1Palette.begin(), mode1Palette.end(), c), mode1Palette.end());
    // The PC picture takes it as it is.
    const Picture image = test::SmoothPicture(50, 30, 56);
    auto kept = PasteImage(image, Slot::Source, {}, ViewMapping{});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->pixels(), image);
    EXPECT_FALSE(PasteImage(Picture(), Slot::Mode1, Mode1Palette(), view));
}

TEST(Clipboard, DeleteFillsTheSelectionWithTheFillColour) {
    const Picture original = test::RandomPicture(30, 20, 57);
    Picture picture = original;
    FillSelection(picture, {25, 15, 40, 5}, Table(5));  // corners swapped and past the edge
    EXPECT_EQ(picture.crop(25, 5, 5, 10), Picture(5, 10, Table(5)));
    EXPECT_EQ(picture.crop(0, 0, 25, 20), original.crop(0, 0, 25, 20));
    EXPECT_EQ(picture.crop(25, 0, 5, 5), original.crop(25, 0, 5, 5));
    EXPECT_EQ(picture.crop(25, 15, 5, 5), original.crop(25, 15, 5, 5));
}

}  // namespace
}  // namespace mozu
