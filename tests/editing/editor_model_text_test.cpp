// The text tool as the editor's model drives it: the box opened by a press of the text tool
// inside the selection, zoom and scrolling locked while it is open, dragging it, putting the
// text down by a press elsewhere or by Escape, and Undo.

#include <gtest/gtest.h>

#include "colour/colour_table.h"
#include "editing/editor_model.h"
#include "editing_test_support.h"

namespace mozu {
namespace {

constexpr Colour kPaper = kDefaultColourTable[0];
constexpr Colour kInk = kDefaultColourTable[6];

class EditorTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EditPalette palette{};
        for (int i = 0; i < kEditorSwatches; ++i)
            palette[static_cast<std::size_t>(i)] = kDefaultColourTable[static_cast<std::size_t>(i)];
        model.open(Slot::Mode1, Picture(320, 200, kPaper), palette, history, 870, 726);
        model.setTextFont(font, {kInk, false, kPaper});
    }
    void drag(PixelPoint a, PixelPoint b) {
        model.press(a, MouseButton::Left);
        model.move(b);
        model.release(b);
    }
    // A box over (20, 10)-(44, 26): four characters of 6 pixels, two lines of 8.
    void openBox() {
        model.setTool(Tool::Text);
        drag({20, 10}, {44, 26});
        ASSERT_TRUE(model.selection());
        model.press({30, 15}, MouseButton::Left);
        model.release({30, 15});
        ASSERT_TRUE(model.textBoxOpen());
    }
    void type(const char* text) {
        for (const char* c = text; *c; ++c) model.typeText(static_cast<unsigned char>(*c));
    }
    bool locked() const { return !model.view().zoomAllowed() && !model.view().scrollAllowed(); }
    // Whether the 4 x 6 block FixedFont draws for a character has its top left at (x, y).
    bool glyphAt(int x, int y) const {
        const Picture& p = model.picture();
        return p.pixel(x + 1, y) == kInk && p.pixel(x + 4, y + 5) == kInk &&
               p.pixel(x, y) == kPaper && p.pixel(x + 5, y) == kPaper;
    }

    UndoHistory history;
    EditorModel model;
    test::FixedFont font;
};

TEST_F(EditorTextTest, TheBoxTakesKeysLocksTheViewAndEscapePutsItDownOnce) {
    openBox();
    EXPECT_TRUE(locked());
    EXPECT_FALSE(model.view().zoomIn());
    EXPECT_EQ(model.textBox()->box()->pixels().width(), 24);
    EXPECT_EQ(model.textBox()->box()->pixels().height(), 16);

    type("ABCD");
    EXPECT_EQ(model.typeText('E'), TextKeyResult::Refused);  // a fifth would pass the edge
    EXPECT_EQ(model.pressTextKey(TextKey::Enter), TextKeyResult::TextChanged);
    EXPECT_EQ(model.pressTextKey(TextKey::Enter), TextKeyResult::Refused);  // no third line
    type("X");
    EXPECT_EQ(model.textBox()->store().lines(), (std::vector<std::string>{"ABCD", "X"}));
    EXPECT_EQ(model.picture(), Picture(320, 200, kPaper));  // nothing written while typing

    const int undoBefore = model.undoCount();
    EXPECT_EQ(model.pressTextKey(TextKey::Escape), TextKeyResult::PutDown);
    EXPECT_FALSE(model.textBoxOpen());
    EXPECT_FALSE(locked());
    EXPECT_TRUE(model.selection());  // Escape leaves the selection
    EXPECT_EQ(model.undoCount(), undoBefore + 1);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(glyphAt(20 + 6 * i, 10)) << i;
    EXPECT_TRUE(glyphAt(20, 18));
    EXPECT_EQ(model.typeText('Z'), TextKeyResult::Nothing);  // keys no longer go to a box

    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.picture(), Picture(320, 200, kPaper));
}

TEST_F(EditorTextTest, ADraggedBoxGoesDownWhereItIsOnAPressElsewhere) {
    openBox();
    type("AB");
    // Dragged by 10 pixels right and 20 down (window pixels are picture pixels at zoom 1).
    model.press({21, 11}, MouseButton::Left);
    EXPECT_TRUE(model.buttonHeld());
    model.move({31, 31});
    model.release({31, 31});
    EXPECT_TRUE(model.textBoxOpen());
    EXPECT_EQ(model.textBox()->box()->position(), (PixelPoint{30, 30}));

    // The line tool's press far away puts the text down first, then draws.
    model.setTool(Tool::Line);
    const int undoBefore = model.undoCount();
    drag({200, 150}, {210, 150});
    EXPECT_FALSE(model.textBoxOpen());
    EXPECT_FALSE(model.selection());  // put down by a press: the selection ends
    EXPECT_TRUE(glyphAt(30, 30));
    EXPECT_TRUE(glyphAt(36, 30));
    EXPECT_FALSE(glyphAt(20, 10));
    EXPECT_EQ(model.picture().pixel(205, 150), model.penColour());
    EXPECT_EQ(model.undoCount(), undoBefore + 2);  // the text, then the line
    ASSERT_TRUE(model.undo());
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.picture(), Picture(320, 200, kPaper));
}

TEST_F(EditorTextTest, ARightPressOnTheBoxPutsItDownAndUndoOrClosingDropsAnOpenBox) {
    openBox();
    type("A");
    model.press({22, 12}, MouseButton::Right);
    EXPECT_FALSE(model.textBoxOpen());
    EXPECT_TRUE(glyphAt(20, 10));
    EXPECT_FALSE(model.buttonHeld());

    // Undo with a box open takes the box away unwritten; the picture stays as it is.
    const Picture written = model.picture();
    openBox();
    type("BB");
    ASSERT_TRUE(model.undo());
    EXPECT_FALSE(model.textBoxOpen());
    EXPECT_FALSE(locked());
    EXPECT_EQ(model.picture(), written);

    // Closing the editor drops the text unwritten.
    openBox();
    type("CC");
    const EditSnapshot result = model.close();
    EXPECT_EQ(result.picture, written);
    EXPECT_FALSE(model.textBoxOpen());
}

}  // namespace
}  // namespace mozu
