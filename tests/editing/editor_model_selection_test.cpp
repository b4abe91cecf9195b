// The selection tools as the editor's model drives them: presses routed through the floating
// block and the selection before a drawing tool acts, zoom and scrolling locked while a block
// floats, the crop's view, Undo with a block floating and after a put-down, and the clipboard
// carried from one edit to the next.

#include <gtest/gtest.h>

#include <set>

#include "colour/colour_table.h"
#include "editing/editor_model.h"
#include "support/pictures.h"

namespace mozu {
namespace {

EditPalette CpcPalette() {
    EditPalette palette{};
    for (int i = 0; i < kEditorSwatches; ++i)
        palette[static_cast<std::size_t>(i)] = kDefaultColourTable[static_cast<std::size_t>(i)];
    return palette;
}

// A picture using the first `colours` colours of the palette, in a pattern with no two equal
// neighbouring blocks.
Picture PalettePicture(int w, int h, int colours, unsigned seed) {
    const Picture random = test::RandomPicture(w, h, seed);
    Picture picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y,
                             kDefaultColourTable[static_cast<std::size_t>(
                                 random.pixel(x, y) % static_cast<unsigned>(colours))]);
    return picture;
}

class EditorSelectionTest : public ::testing::Test {
  protected:
    void open(Slot slot, const Picture& picture) {
        model.open(slot, picture, CpcPalette(), history, 870, 726);
    }
    void drag(PixelPoint a, PixelPoint b) {
        model.press(a, MouseButton::Left);
        model.move(b);
        model.release(b);
    }
    void select(PixelPoint a, PixelPoint b) {
        model.setTool(Tool::Select);
        drag(a, b);
    }
    bool locked() const { return !model.view().zoomAllowed() && !model.view().scrollAllowed(); }

    UndoHistory history;
    EditorModel model;
};

TEST_F(EditorSelectionTest, AFreehandPressInsideAnOldSelectionDraws) {
    open(Slot::Mode1, PalettePicture(320, 200, 4, 3));
    select({10, 10}, {40, 30});
    ASSERT_TRUE(model.selection());
    EXPECT_EQ(*model.selection(), (PixelRect{10, 10, 40, 30}));
    EditorClipboard clipboard;
    ASSERT_TRUE(model.copy(clipboard));
    EXPECT_EQ(model.tool(), Tool::Copied);
    ASSERT_TRUE(model.selection());  // still there, no frame
    EXPECT_FALSE(model.steadyFrame());

    // A pen colour other than the pixel's, so the pixel shows the press drew.
    int swatch = 0;
    while (model.palette()[static_cast<std::size_t>(swatch)] == model.picture().pixel(20, 20))
        ++swatch;
    ASSERT_TRUE(model.pressSwatch(swatch, MouseButton::Left));
    model.setTool(Tool::Freehand);
    const int undoBefore = model.undoCount();
    model.press({20, 20}, MouseButton::Left);
    model.release({20, 20});
    EXPECT_EQ(model.picture().pixel(20, 20), model.palette()[static_cast<std::size_t>(swatch)]);
    EXPECT_FALSE(model.selection());
    EXPECT_EQ(model.undoCount(), undoBefore + 1);
}

TEST_F(EditorSelectionTest, MovingLocksTheViewAndOneUndoTakesThePutDownBack) {
    const Picture original = PalettePicture(320, 200, 4, 4);
    open(Slot::Mode1, original);
    select({10, 10}, {20, 20});
    EXPECT_TRUE(model.steadyFrame());
    const int undoBefore = model.undoCount();

    // A left press inside the selection takes its content up; the drag moves it 40, 20.
    model.press({12, 12}, MouseButton::Left);
    ASSERT_TRUE(model.blockFloats());
    EXPECT_EQ(model.tool(), Tool::Moving);
    EXPECT_TRUE(locked());
    EXPECT_FALSE(model.view().zoomIn());
    EXPECT_FALSE(model.steadyFrame());
    model.move({52, 32});
    model.release({52, 32});
    EXPECT_EQ(model.floatingBlock()->position(), (PixelPoint{50, 30}));
    EXPECT_EQ(model.picture(), original);  // nothing written while it floats

    // A press elsewhere puts it down: moving copies, so the old place keeps its pixels.
    model.press({300, 150}, MouseButton::Left);
    model.release({300, 150});
    EXPECT_FALSE(model.blockFloats());
    EXPECT_FALSE(locked());
    EXPECT_EQ(model.picture().crop(50, 30, 10, 10), original.crop(10, 10, 10, 10));
    EXPECT_EQ(model.picture().crop(10, 10, 10, 10), original.crop(10, 10, 10, 10));
    EXPECT_EQ(model.undoCount(), undoBefore + 1);
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.picture(), original);
}

TEST_F(EditorSelectionTest, MirrorsAndTurnsFloatWithTheViewLockedUntilARightPress) {
    const Picture original = PalettePicture(160, 200, 16, 5);
    open(Slot::Mode0, original);
    select({10, 50}, {30, 60});  // 20 x 10 mode 0 pixels
    ASSERT_TRUE(model.mirror(true));
    EXPECT_EQ(model.tool(), Tool::Moving);
    EXPECT_TRUE(locked());
    EXPECT_FALSE(model.view().zoomOut());

    // The mirrored block turned counter-clockwise: 10 pixels wide and 20 high, shown 10 by 40
    // window pixels (the display scale swapped).
    ASSERT_TRUE(model.turn(false));
    const FloatingBlock& block = *model.floatingBlock();
    EXPECT_EQ(block.pixels().width(), 10);
    EXPECT_EQ(block.pixels().height(), 20);
    const WindowRect shown = block.shownRect(model.viewMapping());
    EXPECT_EQ(shown.width, 10);
    EXPECT_EQ(shown.height, 40);
    const Picture turned = block.pixels();
    const PixelPoint at = block.position();

    // A right press on the block puts it down, 1:1.
    model.press({at.x + 2, at.y + 2}, MouseButton::Right);
    EXPECT_FALSE(model.blockFloats());
    EXPECT_FALSE(locked());
    EXPECT_EQ(model.picture().crop(at.x, at.y, 10, 20), turned);
    // Its columns are the selection's rows, mirrored and turned.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(turned.pixel(x, y), original.pixel(10 + y, 50 + x)) << x << "," << y;
}

TEST_F(EditorSelectionTest, CropGoesBackToZoomOneAndSwitchesTheFillOnWhereTheSizeStays) {
    open(Slot::Mode1, PalettePicture(320, 200, 4, 6));
    ASSERT_TRUE(model.view().zoomIn());
    model.toggleFill();
    ASSERT_FALSE(model.settings().filled);
    select({0, 0}, {100, 50});
    ASSERT_TRUE(model.crop());
    EXPECT_EQ(model.tool(), Tool::Cropped);
    EXPECT_EQ(model.view().zoom(), 1.0);
    EXPECT_TRUE(model.settings().filled);
    EXPECT_EQ(model.picture().width(), 320);
    // Pressed again, the crop keeps the same content where it is.
    const Picture once = model.picture();
    ASSERT_TRUE(model.crop());
    EXPECT_EQ(model.picture(), once);

    open(Slot::SgxCpcFree, PalettePicture(300, 180, 4, 7));
    ASSERT_TRUE(model.view().zoomIn());
    select({20, 10}, {120, 60});
    ASSERT_TRUE(model.crop());
    EXPECT_EQ(model.picture().width(), 100);
    EXPECT_EQ(model.picture().height(), 50);
    EXPECT_EQ(model.view().shownWidth(), 100);
    EXPECT_EQ(model.view().zoom(), 1.0);
    // Undo gives the whole picture back, and the selection does not outlive it.
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.picture().width(), 300);
    EXPECT_FALSE(model.selection());
}

TEST_F(EditorSelectionTest, UndoWithABlockFloatingDropsItUnwritten) {
    const Picture original = PalettePicture(320, 200, 4, 8);
    open(Slot::Mode1, original);
    select({0, 0}, {30, 30});
    EditorClipboard clipboard;
    ASSERT_TRUE(model.copy(clipboard));
    ASSERT_TRUE(model.paste(clipboard));
    ASSERT_TRUE(model.nudge(5, 7));
    const int undoBefore = model.undoCount();
    ASSERT_TRUE(model.undo());
    EXPECT_FALSE(model.blockFloats());
    EXPECT_FALSE(locked());
    EXPECT_EQ(model.picture(), original);
    EXPECT_EQ(model.undoCount(), undoBefore);  // no step of the history was spent
}

TEST_F(EditorSelectionTest, AClipboardOutlivesTheEditAndPastesIntoTheNextSlotsColours) {
    open(Slot::Mode0, PalettePicture(160, 200, 16, 9));
    model.selectAll();
    EditorClipboard clipboard;
    ASSERT_TRUE(model.copy(clipboard));
    model.close();
    EXPECT_EQ(clipboard.bitmap.width(), 160);
    EXPECT_EQ(clipboard.bitmap.height(), 200);

    // Slot 1 with its four pens 0-3; the paste lands at the copied place and goes down with a
    // right press on it.
    open(Slot::Mode1, Picture(320, 200, kDefaultColourTable[0]));
    ASSERT_TRUE(model.paste(clipboard));
    EXPECT_TRUE(locked());
    const PixelPoint at = model.floatingBlock()->position();
    model.pressAt(model.floatingBlock()->shownRect(model.viewMapping()).left + 1,
                  model.floatingBlock()->shownRect(model.viewMapping()).top + 1,
                  MouseButton::Right);
    EXPECT_FALSE(model.blockFloats());
    std::set<Colour> used;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 160; ++x) used.insert(model.picture().pixel(at.x + x, at.y + y));
    EXPECT_EQ(used.size(), 4u);  // sixteen colours in runs of four onto the four pens
    for (const Colour c : used)
        EXPECT_TRUE(c == kDefaultColourTable[0] || c == kDefaultColourTable[1] ||
                    c == kDefaultColourTable[2] || c == kDefaultColourTable[3]);
}

}  // namespace
}  // namespace mozu
