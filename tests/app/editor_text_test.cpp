// The text tool in the editor's window as a user drives it: a selection made with the Text key,
// a press inside it opens the box and the font dialog, keys typed into the window fill the
// box's store and move its caret, a line that would leave the box is refused, the window's
// one-letter shortcuts stay quiet while typing, Escape puts the text down and one Undo takes
// it back.

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <set>

#include "app_test_support.h"
#include "dialogs/choice_list.h"
#include "dialogs/font_dialog.h"
#include "editing/editor_model.h"
#include "editor/edit_window.h"
#include "editor/qt_text_painter.h"

namespace mozu::app_test {
namespace {

QWidget* Child(QWidget* w, const char* name) {
    QWidget* child = w->findChild<QWidget*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Drag(QWidget* canvas, QPoint from, QPoint to) {
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
}

// Opens the editor on slot 1's blank picture, marks (40, 40)-(160, 100) with the Text key and
// presses inside: the font dialog comes, and `answer` answers it.
EditWindow& OpenTextBox(Program& p, const std::function<void(FontDialog&)>& answer) {
    Click(Child(&p.main(), "Key01"));
    EditWindow& editor = *p.windows().edit;
    EXPECT_TRUE(editor.isVisible());
    QWidget* textKey = Child(&editor, "Image19");
    EXPECT_TRUE(textKey->isEnabled());
    Click(textKey);
    EXPECT_EQ(editor.model().tool(), Tool::Text);
    QWidget* canvas = Child(&editor, "Image1");
    Drag(canvas, {40, 40}, {160, 100});
    EXPECT_EQ(editor.model().selection(), (PixelRect{40, 40, 160, 100}));
    FontDialog& dialog = *p.windows().font;
    bool answered = false;
    WhenVisible(&dialog, [&] {
        EXPECT_FALSE(editor.isEnabled());  // the editor waits for the dialog
        answer(dialog);
        answered = true;
    });
    QTest::mouseClick(canvas, Qt::LeftButton, {}, {80, 60});
    EXPECT_TRUE(WaitUntil([&] { return answered && editor.isEnabled(); }));
    EXPECT_TRUE(editor.model().textBoxOpen());
    return editor;
}

std::set<Colour> ColoursIn(const Picture& p) {
    std::set<Colour> colours;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) colours.insert(p.pixel(x, y));
    return colours;
}

TEST(EditorText, KeysTypedIntoTheWindowFillTheBoxAndEscapePutsItDownOnce) {
    Program p;
    EditWindow& editor = OpenTextBox(p, [](FontDialog& dialog) {
        auto* fonts = dialog.findChild<ChoiceList*>("ListBox1");
        const int row = static_cast<int>(dialog.fontNames().indexOf("DejaVu Sans Mono"));
        ASSERT_GE(row, 0);
        fonts->setSelected(row);
        QTest::mouseClick(fonts, Qt::LeftButton, {}, fonts->rowRect(row).center());
        auto* sizes = dialog.findChild<ChoiceList*>("ListBox2");
        QTest::mouseClick(sizes, Qt::LeftButton, {}, sizes->rowRect(6).center());  // "12"
        Click(dialog.findChild<QWidget*>("Key05"));
    });
    const EditorModel& model = editor.model();
    const Picture before = model.picture();
    const int undoBefore = model.undoCount();
    EXPECT_EQ(editor.textBox().fontChoice().family, "DejaVu Sans Mono");
    EXPECT_EQ(editor.textBox().fontChoice().size, 12);
    EXPECT_EQ(model.fillColour(), model.palette()[0]);  // no shadow: the fill colour stays
    const QtTextPainter& font = editor.textBox().font();
    const TextStore& store = model.textBox()->store();
    EXPECT_EQ(store.boxWidth(), 120);
    EXPECT_EQ(store.boxHeight(), 60);
    const int lineHeight = font.lineHeight();
    ASSERT_GT(lineHeight, 0);
    ASSERT_LT(2 * lineHeight, 60);  // two lines fit the box, and the test needs no more

    editor.activateWindow();  // shortcuts reach the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QWidget* canvas = Child(&editor, "Image1");
    QTest::keyClicks(canvas, "AB");
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"AB"}));
    EXPECT_EQ(store.column(), 2);
    EXPECT_EQ(store.caret(font), (PixelPoint{font.textWidth("AB"), 0}));
    EXPECT_TRUE(editor.textBox().caretShown());  // shown at once after a key
    // Then it blinks: Timer1 hides it, Timer2 shows it again.
    EXPECT_TRUE(WaitUntil([&] { return !editor.textBox().caretShown(); }));
    EXPECT_TRUE(WaitUntil([&] { return editor.textBox().caretShown(); }));

    QTest::keyClick(canvas, Qt::Key_Backspace);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(store.column(), 1);
    QTest::keyClick(canvas, Qt::Key_Return);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A", ""}));
    EXPECT_EQ(store.lineIndex(), 1);
    EXPECT_EQ(store.caret(font), (PixelPoint{0, lineHeight}));
    // "L" and "E" are the line and ellipse tools' shortcuts: while the box is open they type.
    QTest::keyClicks(canvas, "LE");
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A", "LE"}));
    EXPECT_EQ(model.tool(), Tool::Text);

    QTest::keyClick(canvas, Qt::Key_Up);
    EXPECT_EQ(store.lineIndex(), 0);
    EXPECT_EQ(store.column(), 1);
    EXPECT_EQ(store.caret(font), (PixelPoint{font.textWidth("A"), 0}));
    QTest::keyClick(canvas, Qt::Key_Left);
    QTest::keyClick(canvas, Qt::Key_Left);  // at column 0: nothing
    EXPECT_EQ(store.column(), 0);
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_EQ(store.column(), 1);
    QTest::keyClick(canvas, Qt::Key_Down);
    EXPECT_EQ(store.lineIndex(), 1);
    EXPECT_EQ(store.column(), 2);
    EXPECT_EQ(store.caret(font), (PixelPoint{font.textWidth("LE"), lineHeight}));

    // A line that would leave the box is refused: typing stops at the right edge.
    QTest::keyClicks(canvas, QString(30, 'W'));
    const std::string full = store.lines()[1];
    EXPECT_LT(full.size(), 32u);
    EXPECT_LE(font.textWidth(full), 120);
    EXPECT_GT(font.textWidth(full + "W"), 120);
    EXPECT_EQ(model.picture(), before);  // nothing is written while typing
    Screenshot(&editor, "editor_text_box");

    QTest::keyClick(canvas, Qt::Key_Escape);
    EXPECT_FALSE(model.textBoxOpen());
    EXPECT_FALSE(editor.textBox().caretShown());
    EXPECT_EQ(model.undoCount(), undoBefore + 1);
    const Picture& after = model.picture();
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            if (after.pixel(x, y) == before.pixel(x, y)) continue;
            ++changed;
            // Only inside the box, only in the text colour (the pen colour the dialog started on).
            ASSERT_TRUE(x >= 40 && x < 160 && y >= 40 && y < 100) << x << "," << y;
            ASSERT_EQ(after.pixel(x, y), model.penColour()) << x << "," << y;
        }
    EXPECT_GT(changed, 50);
    // Keys no longer go to a box: "L" is the line tool again.
    QTest::keyClick(canvas, Qt::Key_L);
    EXPECT_EQ(model.tool(), Tool::Line);

    Click(Child(&editor, "UndoKey"));
    EXPECT_EQ(model.picture(), before);
}

TEST(EditorText, TheShadowChosenInTheDialogBecomesTheFillColourAndItsOnlyOtherColour) {
    Program p;
    EditWindow& editor = OpenTextBox(p, [](FontDialog& dialog) {
        Click(dialog.findChild<QWidget*>("Key04"));  // shadow on
        auto* text = dialog.findChild<ChoiceList*>("ListBox3");
        auto* shadow = dialog.findChild<ChoiceList*>("ListBox4");
        QTest::mouseClick(text, Qt::LeftButton, {}, text->rowRect(3).center());
        QTest::mouseClick(shadow, Qt::LeftButton, {}, shadow->rowRect(2).center());
        Click(dialog.findChild<QWidget*>("Key05"));
    });
    const EditorModel& model = editor.model();
    const Colour textColour = model.palette()[3], shadowColour = model.palette()[2];
    EXPECT_EQ(model.fillColour(), shadowColour);
    const Picture before = model.picture();
    QTest::keyClicks(Child(&editor, "Image1"), "Mozu");
    // The box dragged by 10 right and 80 down (zoom 1, square pixels: picture pixels).
    Drag(Child(&editor, "Image1"), {50, 50}, {60, 130});
    ASSERT_TRUE(model.textBoxOpen());
    EXPECT_EQ(model.textBox()->box()->position(), (PixelPoint{50, 120}));
    // A press on the picture outside the box puts the text down where the box is now.
    QTest::mouseClick(Child(&editor, "Image1"), Qt::LeftButton, {}, {300, 300});
    ASSERT_FALSE(model.textBoxOpen());
    std::set<Colour> written;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            if (model.picture().pixel(x, y) == before.pixel(x, y)) continue;
            ASSERT_TRUE(x >= 50 && x < 170 && y >= 120 && y < 180) << x << "," << y;
            written.insert(model.picture().pixel(x, y));
        }
    EXPECT_EQ(written, (std::set<Colour>{textColour, shadowColour}));
    std::set<Colour> expected = ColoursIn(before);
    expected.insert({textColour, shadowColour});
    EXPECT_EQ(ColoursIn(model.picture()), expected);

    // The next box, its dialog closed by the window manager: the editor is enabled again and
    // the box keeps the last font and its shadow.
    FontDialog& dialog = *p.windows().font;
    bool answered = false;
    WhenVisible(&dialog, [&] {
        dialog.close();
        answered = true;
    });
    QWidget* canvas = Child(&editor, "Image1");
    Drag(canvas, {10, 120}, {200, 180});
    QTest::mouseClick(canvas, Qt::LeftButton, {}, {50, 150});
    ASSERT_TRUE(WaitUntil([&] { return answered && editor.isEnabled(); }));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(model.textBoxOpen());
    EXPECT_TRUE(editor.textBox().fontChoice().shadow);
}

}  // namespace
}  // namespace mozu::app_test
