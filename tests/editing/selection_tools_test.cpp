#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "colour/colour_table.h"
#include "editing/block_transforms.h"
#include "editing/editing_test_support.h"
#include "editing/selection_frame.h"
#include "editing/selection_tools.h"
#include "support/pictures.h"

namespace mozu {
namespace {

Colour Table(int index) {
    return kDefaultColourTable[static_cast<std::size_t>(index)];
}

// A picture in the fake's four colours.
Picture FourColourPicture(int w, int h, unsigned seed) {
    const Picture random = test::RandomPicture(w, h, seed);
    const Colour colours[4] = {Table(1), Table(3), Table(13), Table(8)};
    Picture picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.setPixel(x, y, colours[random.pixel(x, y) % 4]);
    return picture;
}

void Drag(SelectionTools& tools, PixelPoint from, PixelPoint to,
          PressTool tool = PressTool::Select) {
    EXPECT_EQ(tools.press(from, true, tool, from.x, from.y), PressOutcome::SelectionDrag);
    tools.move(to, to.x, to.y);
    tools.release(to);
}

TEST(SelectionTools, DraggingMakesAnOrderedClampedSelectionAndAClickNone) {
    test::FakeEditor editor(Slot::Mode1, FourColourPicture(320, 200, 61));
    SelectionTools tools(editor);
    Drag(tools, {10, 10}, {4, 2});
    ASSERT_TRUE(tools.selection());
    EXPECT_EQ(*tools.selection(), (PixelRect{4, 2, 10, 10}));
    EXPECT_EQ(tools.steadyFrame(), tools.selection());
    tools.blinkTick();
    EXPECT_EQ(tools.blinkFrame(), tools.selection());

    Drag(tools, {300, 190}, {400, 260});
    EXPECT_EQ(*tools.selection(), (PixelRect{300, 190, 320, 200}));

    // A click without a drag: no selection, and Crop has nothing to act on.
    Drag(tools, {50, 50}, {50, 50});
    EXPECT_FALSE(tools.selection());
    EXPECT_FALSE(tools.steadyFrame());
    const Picture before = editor.picture_;
    EXPECT_FALSE(tools.crop());
    EditorClipboard clipboard;
    EXPECT_FALSE(tools.copy(clipboard));
    EXPECT_TRUE(clipboard.empty());
    EXPECT_FALSE(tools.mirror(true));
    EXPECT_FALSE(tools.turn(true));
    EXPECT_EQ(editor.picture_, before);
    EXPECT_TRUE(editor.history_.empty());
}

TEST(SelectionTools, OnlyTheSelectionAndTextToolsActInsideASelection) {
    test::FakeEditor editor(Slot::Mode1, FourColourPicture(320, 200, 62));
    SelectionTools tools(editor);
    tools.selectAll();
    EditorClipboard clipboard;
    ASSERT_TRUE(tools.copy(clipboard));  // the selection stays, its frame gone
    ASSERT_TRUE(tools.selection());
    // A freehand press inside it: the selection goes and the tool acts.
    EXPECT_EQ(tools.press({20, 20}, true, PressTool::Other, 20, 20), PressOutcome::ToolActs);
    EXPECT_FALSE(tools.selection());

    Drag(tools, {10, 10}, {30, 30});
    EXPECT_EQ(tools.press({15, 15}, true, PressTool::Text, 15, 15), PressOutcome::OpenTextBox);
    EXPECT_FALSE(tools.steadyFrame());  // the box covers it; no frame
    tools.clearSelection();
    Drag(tools, {10, 10}, {30, 30});
    // A right press inside, or a press outside, with the selection tool starts a new drag.
    EXPECT_EQ(tools.press({15, 15}, false, PressTool::Select, 15, 15), PressOutcome::SelectionDrag);
    tools.release({15, 15});
    EXPECT_FALSE(tools.selection());
}

TEST(SelectionTools, MovingCopiesAndOneUndoTakesThePutDownBack) {
    const Picture original = FourColourPicture(320, 200, 63);
    test::FakeEditor editor(Slot::Mode1, original);
    SelectionTools tools(editor);
    Drag(tools, {10, 20}, {30, 30});
    EXPECT_EQ(tools.press({12, 22}, true, PressTool::Select, 12, 22), PressOutcome::StartedMoving);
    EXPECT_TRUE(tools.floating());  // zoom and scrolling locked
    tools.move({0, 0}, 112, 72);    // dragged by (100, 50)
    tools.release({0, 0});
    EXPECT_EQ(tools.block()->position(), (PixelPoint{110, 70}));
    EXPECT_EQ(editor.picture_, original);  // nothing written while it floats
    // A press on the picture puts it down first.
    tools.press({300, 5}, true, PressTool::Other, 300, 5);
    EXPECT_FALSE(tools.floating());
    EXPECT_FALSE(tools.selection());
    EXPECT_EQ(editor.picture_.crop(110, 70, 20, 10), original.crop(10, 20, 20, 10));
    EXPECT_EQ(editor.picture_.crop(10, 20, 20, 10), original.crop(10, 20, 20, 10));  // copied
    ASSERT_EQ(editor.history_.size(), 1u);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.picture_, original);
}

TEST(SelectionTools, TurningInMode0PutsDown10By20Pixels) {
    const Picture original(160, 200, Table(8));
    Picture picture = original;
    picture.draw(FourColourPicture(20, 10, 64), 40, 50);
    test::FakeEditor editor(Slot::Mode0, picture, 2, 1);
    SelectionTools tools(editor);
    Drag(tools, {40, 50}, {60, 60});
    ASSERT_TRUE(tools.turn(false));
    EXPECT_TRUE(tools.floating());  // zoom and scrolling locked while it floats
    const WindowRect shown = tools.block()->shownRect(editor.view());
    EXPECT_EQ(shown.width, 10);
    EXPECT_EQ(shown.height, 40);
    // Centred on the selection: (100 - 5) / 2 and 55 - 20.
    const PixelPoint at = tools.block()->position();
    EXPECT_EQ(at, (PixelPoint{47, 35}));
    // Cleared where it was, so that only the put-down block shows.
    editor.picture_ = original;
    ASSERT_TRUE(tools.putDown());
    EXPECT_EQ(editor.picture_.crop(at.x, at.y, 10, 20), TurnLeft(picture.crop(40, 50, 20, 10)));
    int changed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 160; ++x) changed += editor.picture_.pixel(x, y) != Table(8);
    EXPECT_LE(changed, 10 * 20);
    EXPECT_GT(changed, 10 * 20 / 2);
}

TEST(SelectionTools, TransparentPutDownKeepsThePictureUnderTheFillColour) {
    const Picture original = FourColourPicture(40, 30, 65);
    test::FakeEditor editor(Slot::Mode1, original);
    SelectionTools tools(editor);
    Drag(tools, {0, 0}, {10, 10});
    ASSERT_TRUE(tools.mirror(true));
    editor.fill_ = Table(13);
    tools.toggleTransparent();
    editor.fill_ = Table(8);  // changed while it floats: the mode keeps grey
    EXPECT_EQ(tools.transparency().colour, Table(13));
    const Picture block = tools.block()->pixels();
    tools.nudge(20, 15);
    ASSERT_TRUE(tools.putDown());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const Colour b = block.pixel(x, y);
            EXPECT_EQ(editor.picture_.pixel(20 + x, 15 + y),
                      b == Table(13) ? original.pixel(20 + x, 15 + y) : b);
        }
}

TEST(SelectionTools, CropInMode1AndSlot9AndPressedTwice) {
    const Picture original = FourColourPicture(320, 200, 66);
    for (Slot slot : {Slot::Mode1, Slot::SgxCpcFree}) {
        SCOPED_TRACE(SlotNumber(slot));
        test::FakeEditor editor(slot, original);
        SelectionTools tools(editor);
        Drag(tools, {20, 30}, {120, 80});
        ASSERT_TRUE(tools.crop());
        const bool keeps = slot == Slot::Mode1;
        EXPECT_EQ(editor.fillOn_, keeps);
        EXPECT_EQ(editor.picture_.width(), keeps ? 320 : 100);
        EXPECT_EQ(editor.picture_.height(), keeps ? 200 : 50);
        const PixelPoint content = keeps ? PixelPoint{110, 75} : PixelPoint{0, 0};
        EXPECT_EQ(editor.picture_.crop(content.x, content.y, 100, 50),
                  original.crop(20, 30, 100, 50));
        // The selection is the content's rectangle, so a second crop keeps the picture.
        EXPECT_EQ(*tools.selection(),
                  (PixelRect{content.x, content.y, content.x + 100, content.y + 50}));
        const Picture once = editor.picture_;
        ASSERT_TRUE(tools.crop());
        EXPECT_EQ(editor.picture_, once);
        EXPECT_EQ(editor.history_.size(), 2u);
        ASSERT_TRUE(editor.undo());
        ASSERT_TRUE(editor.undo());
        EXPECT_EQ(editor.picture_, original);
    }
}

TEST(SelectionTools, APastedBlockAcrossEachEdgeWritesOnlyInside) {
    const Picture original = FourColourPicture(320, 200, 67);
    struct Edge {
        int dx, dy;
    };
    for (const Edge& e : {Edge{-20, 0}, Edge{300, 0}, Edge{0, -20}, Edge{0, 180}}) {
        SCOPED_TRACE(testing::Message() << e.dx << "," << e.dy);
        test::FakeEditor editor(Slot::Mode1, original);
        SelectionTools tools(editor);
        Drag(tools, {10, 10}, {40, 40});
        EditorClipboard clipboard;
        ASSERT_TRUE(tools.copy(clipboard));
        editor.picture_ = Picture(320, 200, Table(8));
        ASSERT_TRUE(tools.paste(clipboard));
        EXPECT_EQ(tools.block()->position(), (PixelPoint{10, 10}));
        // A press on the picture leaves a pasted block floating.
        tools.press({200, 150}, true, PressTool::Other, 200, 150);
        ASSERT_TRUE(tools.floating());
        EXPECT_TRUE(tools.pressOnBlock(25, 25, true));
        tools.move({}, 25 + e.dx, 25 + e.dy);
        tools.release({});
        const PixelPoint at = tools.block()->position();
        EXPECT_EQ(at, (PixelPoint{10 + e.dx, 10 + e.dy}));
        EXPECT_FALSE(tools.pressOnBlock(at.x + 31, at.y + 31, false));  // beside it
        EXPECT_TRUE(tools.pressOnBlock(at.x + 29, at.y + 29, false));   // right press: down
        EXPECT_FALSE(tools.floating());
        const PixelRect inside = OrderAndClamp({at.x, at.y, at.x + 30, at.y + 30}, 320, 200);
        int changed = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                if (editor.picture_.pixel(x, y) != Table(8)) {
                    ++changed;
                    EXPECT_TRUE(InSelectedArea(inside, x, y));
                    EXPECT_EQ(editor.picture_.pixel(x, y),
                              original.pixel(10 + x - at.x, 10 + y - at.y));
                }
        EXPECT_GT(changed, 0);
        ASSERT_TRUE(editor.undo());
        EXPECT_EQ(editor.picture_, Picture(320, 200, Table(8)));
    }
}

TEST(SelectionTools, NoCommandLeavesAFramePixelInThePicture) {
    const Picture original = FourColourPicture(64, 48, 68);
    test::FakeEditor editor(Slot::SgxCpcFree, original);
    SelectionTools tools(editor);
    EditorClipboard clipboard;
    // The view draws the frame on its own copy; the picture never holds it.
    Drag(tools, {5, 5}, {30, 20});
    Picture shown = editor.picture_;
    InvertFrame(shown, *tools.steadyFrame(), kSteadyFrameWidth);
    EXPECT_NE(shown, editor.picture_);
    tools.blinkTick();
    ASSERT_TRUE(tools.copy(clipboard));
    EXPECT_EQ(clipboard.bitmap, original.crop(5, 5, 25, 15));
    EXPECT_FALSE(tools.steadyFrame());
    EXPECT_FALSE(tools.blinkFrame());
    tools.selectAll();
    ASSERT_TRUE(tools.turn(true));
    EXPECT_EQ(tools.block()->pixels(), TurnRight(original));
    tools.cancel();  // the editor closes: dropped unwritten
    Drag(tools, {5, 5}, {30, 20});
    ASSERT_TRUE(tools.crop());
    EXPECT_EQ(editor.picture_, original.crop(5, 5, 25, 15));
    const std::set<Colour> allowed = {Table(1), Table(3), Table(13), Table(8)};
    for (int y = 0; y < editor.picture_.height(); ++y)
        for (int x = 0; x < editor.picture_.width(); ++x)
            EXPECT_TRUE(allowed.count(editor.picture_.pixel(x, y)));
}

TEST(SelectionTools, DeleteFillsTheSelectionAfterAnUndoPoint) {
    const Picture original = FourColourPicture(40, 30, 69);
    test::FakeEditor editor(Slot::Mode1, original);
    SelectionTools tools(editor);
    Drag(tools, {5, 5}, {15, 10});
    ASSERT_TRUE(tools.deleteSelection());
    EXPECT_EQ(editor.picture_.crop(5, 5, 10, 5), Picture(10, 5, editor.fill_));
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.picture_, original);
}

}  // namespace
}  // namespace mozu
