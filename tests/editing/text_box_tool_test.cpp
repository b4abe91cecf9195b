#include <gtest/gtest.h>

#include <set>

#include "editing/editing_test_support.h"
#include "editing/text_box_tool.h"

namespace mozu {
namespace {

const Colour kBackground = MakeColour(0, 128, 0);
const Colour kPen = MakeColour(255, 255, 0);
const Colour kShadow = MakeColour(0, 0, 128);

// The pixels of `picture` that differ from the plain background.
std::set<std::pair<int, int>> Written(const Picture& picture) {
    std::set<std::pair<int, int>> written;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != kBackground) written.insert({x, y});
    return written;
}

TEST(TextBoxTool, TypedTextGoesDownWhereTheBoxIsAndOneUndoTakesItBack) {
    test::FakeEditor editor(Slot::Mode1, Picture(100, 60, kBackground));
    const test::FixedFont font;
    TextBoxTool text(editor, font);
    text.open({10, 20, 40, 40});
    ASSERT_TRUE(text.isOpen());
    text.setFont(font, {kPen, false, kShadow});
    EXPECT_EQ(text.type('A'), TextKeyResult::TextChanged);
    EXPECT_EQ(text.type('B'), TextKeyResult::TextChanged);
    EXPECT_EQ(text.box()->pixels().pixel(1, 0), kPen);
    EXPECT_EQ(editor.picture_, Picture(100, 60, kBackground));  // nothing written yet

    // Dragged by (5, 3) picture pixels, then put down where it is.
    FloatingBlock* box = text.boxForDragging();
    box->startDrag(0, 0);
    box->dragTo(5, 3, editor.view());
    box->endDrag();
    text.putDown();
    EXPECT_FALSE(text.isOpen());
    EXPECT_EQ(text.store().lines(), std::vector<std::string>{""});
    EXPECT_EQ(editor.picture_.pixel(16, 23), kPen);  // 'A' at (15 + 1, 23)
    EXPECT_EQ(Written(editor.picture_).size(), 2u * 4 * 6);
    ASSERT_EQ(editor.history_.size(), 1u);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.picture_, Picture(100, 60, kBackground));
}

TEST(TextBoxTool, EscapeWritesWhereTheBoxWasOpenedWithTheShadowColourOnly) {
    test::FakeEditor editor(Slot::Mode1, Picture(100, 60, kBackground));
    const test::FixedFont font;
    TextBoxTool text(editor, font);
    text.open({40, 20, 10, 40});  // corners in either order
    text.setFont(font, {kPen, true, kShadow});
    text.type('W');
    FloatingBlock* box = text.boxForDragging();
    box->startDrag(0, 0);
    box->dragTo(30, 10, editor.view());
    EXPECT_EQ(text.press(TextKey::Escape), TextKeyResult::PutDown);
    EXPECT_FALSE(text.isOpen());
    EXPECT_EQ(editor.picture_.pixel(11, 20), kPen);
    EXPECT_EQ(editor.picture_.pixel(10, 26), kShadow);
    std::set<Colour> colours;
    for (auto [x, y] : Written(editor.picture_)) {
        colours.insert(editor.picture_.pixel(x, y));
        EXPECT_GE(x, 10);
        EXPECT_LT(x, 16);
    }
    EXPECT_EQ(colours, (std::set<Colour>{kPen, kShadow}));
    EXPECT_EQ(editor.history_.size(), 1u);
}

TEST(TextBoxTool, ClosingTheEditorDropsTheText) {
    test::FakeEditor editor(Slot::Mode1, Picture(100, 60, kBackground));
    const test::FixedFont font;
    TextBoxTool text(editor, font);
    text.open({10, 20, 40, 40});
    text.type('A');
    text.cancel();
    EXPECT_FALSE(text.isOpen());
    EXPECT_EQ(text.type('B'), TextKeyResult::Nothing);
    EXPECT_EQ(editor.picture_, Picture(100, 60, kBackground));
    EXPECT_TRUE(editor.history_.empty());
}

}  // namespace
}  // namespace mozu
