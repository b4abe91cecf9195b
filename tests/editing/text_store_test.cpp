#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editing/editing_test_support.h"
#include "editing/floating_block.h"
#include "editing/text_box.h"
#include "editing/text_store.h"

namespace mozu {
namespace {

const test::FixedFont kFont;

void Type(TextStore& store, const std::string& text) {
    for (char c : text) store.type(static_cast<unsigned char>(c), kFont);
}

TEST(TextStore, TypingBackspaceEnterAndArrows) {
    TextStore store;
    store.open(60, 40);
    EXPECT_EQ(store.lines(), std::vector<std::string>{""});
    EXPECT_EQ(store.type('A', kFont), TextKeyResult::TextChanged);
    EXPECT_EQ(store.type('B', kFont), TextKeyResult::TextChanged);
    EXPECT_EQ(store.lines(), std::vector<std::string>{"AB"});
    EXPECT_EQ(store.column(), 2);
    EXPECT_EQ(store.caret(kFont), (PixelPoint{12, 0}));

    EXPECT_EQ(store.press(TextKey::Backspace, kFont), TextKeyResult::TextChanged);
    EXPECT_EQ(store.lines(), std::vector<std::string>{"A"});
    EXPECT_EQ(store.caret(kFont), (PixelPoint{6, 0}));

    EXPECT_EQ(store.press(TextKey::Enter, kFont), TextKeyResult::TextChanged);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A", ""}));
    EXPECT_EQ(store.lineIndex(), 1);
    EXPECT_EQ(store.caret(kFont), (PixelPoint{0, 8}));
    Type(store, "CDE");
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A", "CDE"}));

    // Left twice, then a character goes in before "DE".
    EXPECT_EQ(store.press(TextKey::Left, kFont), TextKeyResult::CaretMoved);
    EXPECT_EQ(store.press(TextKey::Left, kFont), TextKeyResult::CaretMoved);
    EXPECT_EQ(store.caret(kFont), (PixelPoint{6, 8}));
    Type(store, "x");
    EXPECT_EQ(store.lines()[1], "CxDE");
    EXPECT_EQ(store.column(), 2);
    EXPECT_EQ(store.press(TextKey::Right, kFont), TextKeyResult::CaretMoved);
    EXPECT_EQ(store.column(), 3);
    // Delete removes the character after the caret and leaves the caret.
    EXPECT_EQ(store.press(TextKey::Delete, kFont), TextKeyResult::TextChanged);
    EXPECT_EQ(store.lines()[1], "CxD");
    EXPECT_EQ(store.column(), 3);
    EXPECT_EQ(store.press(TextKey::Delete, kFont), TextKeyResult::Nothing);  // at the end

    // Up goes to the end of the line above; Down back to the end of this one.
    EXPECT_EQ(store.press(TextKey::Up, kFont), TextKeyResult::CaretMoved);
    EXPECT_EQ(store.lineIndex(), 0);
    EXPECT_EQ(store.caret(kFont), (PixelPoint{6, 0}));
    EXPECT_EQ(store.press(TextKey::Up, kFont), TextKeyResult::Nothing);
    EXPECT_EQ(store.press(TextKey::Down, kFont), TextKeyResult::CaretMoved);
    EXPECT_EQ(store.caret(kFont), (PixelPoint{18, 8}));
    EXPECT_EQ(store.press(TextKey::Down, kFont), TextKeyResult::Nothing);
    EXPECT_EQ(store.press(TextKey::Right, kFont), TextKeyResult::Nothing);

    // Backspace and Left at column 0 do nothing.
    store.press(TextKey::Up, kFont);
    store.press(TextKey::Left, kFont);
    EXPECT_EQ(store.column(), 0);
    EXPECT_EQ(store.press(TextKey::Left, kFont), TextKeyResult::Nothing);
    EXPECT_EQ(store.press(TextKey::Backspace, kFont), TextKeyResult::Nothing);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"A", "CxD"}));

    EXPECT_EQ(store.press(TextKey::Escape, kFont), TextKeyResult::PutDown);
    store.clear();
    EXPECT_EQ(store.lines(), std::vector<std::string>{""});
    EXPECT_EQ(store.caret(kFont), (PixelPoint{0, 0}));
}

TEST(TextStore, OnlyTypableCodesAreTaken) {
    TextStore store;
    store.open(200, 20);
    for (unsigned char c : {0, 9, 13, 27, 31, 127, 128, 129})
        EXPECT_EQ(store.type(c, kFont), TextKeyResult::Nothing) << int(c);
    for (unsigned char c : {32, 126, 130, 233, 255})
        EXPECT_EQ(store.type(c, kFont), TextKeyResult::TextChanged) << int(c);
    EXPECT_EQ(store.lines()[0], std::string("\x20\x7e\x82\xe9\xff"));
}

TEST(TextStore, ALineThatWouldOverflowTheBoxIsRefused) {
    TextStore store;
    store.open(20, 40);
    Type(store, "ABC");  // 18 pixels
    EXPECT_EQ(store.type('D', kFont), TextKeyResult::Refused);
    EXPECT_EQ(store.lines()[0], "ABC");
    // In the middle of the line the caret still has room, but the line would pass the edge.
    store.press(TextKey::Left, kFont);
    store.press(TextKey::Left, kFont);
    EXPECT_EQ(store.type('x', kFont), TextKeyResult::Refused);
    EXPECT_EQ(store.lines()[0], "ABC");
    EXPECT_EQ(store.column(), 1);
}

TEST(TextStore, EnterInTheLastLineThatFitsIsRefused) {
    TextStore store;
    store.open(60, 20);  // two lines of 8 fit, a third does not
    Type(store, "one");
    EXPECT_EQ(store.press(TextKey::Enter, kFont), TextKeyResult::TextChanged);
    Type(store, "two");
    EXPECT_EQ(store.press(TextKey::Enter, kFont), TextKeyResult::Refused);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(store.lineIndex(), 1);
    // From the first line too: the store may not grow past the box.
    store.press(TextKey::Up, kFont);
    EXPECT_EQ(store.press(TextKey::Enter, kFont), TextKeyResult::Refused);
}

TEST(TextStore, EnterInsideALineCarriesTheRestToTheNewLine) {
    TextStore store;
    store.open(60, 40);
    Type(store, "ABCD");
    store.press(TextKey::Left, kFont);
    store.press(TextKey::Left, kFont);
    store.press(TextKey::Enter, kFont);
    EXPECT_EQ(store.lines(), (std::vector<std::string>{"AB", "CD"}));
    EXPECT_EQ(store.lineIndex(), 1);
    EXPECT_EQ(store.column(), 0);
}

TEST(TextBox, PutDownTextUsesOnlyThePenAndShadowColours) {
    const Colour pen = MakeColour(255, 255, 0), fill = MakeColour(0, 0, 128);
    const Colour background = MakeColour(0, 128, 0);
    TextStore store;
    store.open(30, 20);
    Type(store, "AB");
    store.press(TextKey::Enter, kFont);
    Type(store, "C");
    for (bool shadow : {false, true}) {
        SCOPED_TRACE(shadow);
        const Picture box = RenderTextBox(store, kFont, {pen, shadow, fill});
        EXPECT_EQ(box.width(), 30);
        EXPECT_EQ(box.height(), 20);
        // The shadow lies one pixel left and one down, under the text.
        EXPECT_EQ(box.pixel(1, 0), pen);
        EXPECT_EQ(box.pixel(0, 6), shadow ? fill : kKeyColour);
        EXPECT_EQ(box.pixel(3, 6), shadow ? fill : kKeyColour);
        EXPECT_EQ(box.pixel(4, 6), kKeyColour);

        Picture picture(50, 40, background);
        FloatingBlock block(box, {5, 7}, 1, 1);
        block.setTransparency(kTextBoxTransparency);
        block.putDown(picture);
        std::set<Colour> colours;
        int penPixels = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x) {
                colours.insert(picture.pixel(x, y));
                penPixels += picture.pixel(x, y) == pen;
            }
        EXPECT_EQ(penPixels, 3 * 4 * 6);  // three characters
        EXPECT_EQ(picture.pixel(6, 7), pen);
        EXPECT_EQ(colours, shadow ? (std::set<Colour>{pen, fill, background})
                                  : (std::set<Colour>{pen, background}));
    }
}

}  // namespace
}  // namespace mozu
