// The font dialog as a user drives it (its lists, thumbs and keys), and the text box's font:
// what it writes into a picture holds the text colour (and the shadow colour) only.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontInfo>
#include <QTest>
#include <set>

#include "app_test_support.h"
#include "colour/colour_table.h"
#include "dialogs/choice_list.h"
#include "dialogs/font_dialog.h"
#include "dialogs/font_sample.h"
#include "editing/text_box.h"
#include "editor/qt_text_painter.h"
#include "skin/picture_key.h"
#include "skin/pixel_font.h"

namespace mozu::app_test {
namespace {

const std::vector<Colour> kFourColours = {kDefaultColourTable.at(0), kDefaultColourTable.at(6),
                                          kDefaultColourTable.at(18), kDefaultColourTable.at(26)};

template <typename T = QWidget>
T* Child(QWidget* w, const char* name) {
    auto* child = w->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Clicks row `row` of a list (scrolled into view first, as the user would scroll it).
void ClickRow(ChoiceList* list, int row) {
    list->setSelected(row);
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(row).center());
}

int RowOf(const FontDialog& dialog, const QString& name) {
    return static_cast<int>(dialog.fontNames().indexOf(name));
}

TEST(FontDialog, StartsOnThePenAndFillColoursAndHandsBackWhatWasChosen) {
    FontDialog dialog;
    FontChoice before;  // first use: the default font
    std::optional<FontChoice> result;
    WhenVisible(&dialog, [&] {
        // The colour lists: one entry per palette colour, on the pen and the fill colour.
        auto* text = Child<ChoiceList>(&dialog, "ListBox3");
        auto* shadow = Child<ChoiceList>(&dialog, "ListBox4");
        EXPECT_EQ(text->count(), 4);
        EXPECT_EQ(text->selected(), 2);
        EXPECT_EQ(shadow->selected(), 3);
        EXPECT_FALSE(shadow->isVisible());  // the shadow is off
        EXPECT_FALSE(Child(&dialog, "Label2")->isVisible());
        // Four colours fit their list: no thumb.
        EXPECT_FALSE(Child(&dialog, "Vertical3")->isVisible());

        // The font list: "Default" and the installed families, sorted by name.
        const QStringList& names = dialog.fontNames();
        ASSERT_TRUE(names.contains("Default"));
        ASSERT_TRUE(names.contains("DejaVu Serif"));
        for (qsizetype i = 1; i < names.size(); ++i)
            EXPECT_LE(QString::compare(names[i - 1], names[i], Qt::CaseInsensitive), 0);
        auto* fonts = Child<ChoiceList>(&dialog, "ListBox1");
        EXPECT_EQ(fonts->selected(), RowOf(dialog, "Default"));

        ClickRow(fonts, RowOf(dialog, "DejaVu Serif"));
        auto* sample = Child<FontSample>(&dialog, "Label1");
        EXPECT_EQ(sample->text(), "DejaVu Serif");
        EXPECT_EQ(QFontInfo(sample->sampleFont()).family(), "DejaVu Serif");
        EXPECT_EQ(sample->colour(),
                  QColor(Red(kFourColours[2]), Green(kFourColours[2]), Blue(kFourColours[2])));
        ClickRow(Child<ChoiceList>(&dialog, "ListBox2"), 12);  // "24"
        EXPECT_EQ(sample->sampleFont().pixelSize(), PointsToPixels(24));
        Click(Child(&dialog, "Key01"));
        Click(Child(&dialog, "Key03"));
        EXPECT_TRUE(sample->sampleFont().bold());
        EXPECT_TRUE(sample->sampleFont().underline());
        EXPECT_FALSE(sample->sampleFont().italic());
        EXPECT_EQ(sample->sampleFont().styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);

        Click(Child(&dialog, "Key04"));  // the shadow on: its list and sample show
        EXPECT_TRUE(shadow->isVisible());
        auto* shadowSample = Child<FontSample>(&dialog, "Label2");
        EXPECT_TRUE(shadowSample->isVisible());
        ClickRow(shadow, 1);
        EXPECT_EQ(shadowSample->colour(),
                  QColor(Red(kFourColours[1]), Green(kFourColours[1]), Blue(kFourColours[1])));
        EXPECT_EQ(shadowSample->text(), "DejaVu Serif");
        ClickRow(text, 0);
        Screenshot(&dialog, "font_dialog");
        Click(Child(&dialog, "Key05"));
    });
    result = dialog.start(before, kFourColours, kFourColours[2], kFourColours[3]);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->family, "DejaVu Serif");
    EXPECT_EQ(result->size, 24);
    EXPECT_TRUE(result->bold);
    EXPECT_FALSE(result->italic);
    EXPECT_TRUE(result->underline);
    EXPECT_TRUE(result->shadow);
    EXPECT_EQ(result->textColour, 0);
    EXPECT_EQ(result->shadowColour, 1);

    // Opened again on that choice, in a two-colour slot whose pen is its colour 1: the font
    // and size stay, the colours start on the pen and the fill colour again.
    const std::vector<Colour> two = {kFourColours[0], kFourColours[3]};
    WhenVisible(&dialog, [&] {
        EXPECT_EQ(Child<ChoiceList>(&dialog, "ListBox1")->selected(),
                  RowOf(dialog, "DejaVu Serif"));
        EXPECT_EQ(Child<ChoiceList>(&dialog, "ListBox2")->selected(), 12);
        EXPECT_EQ(Child<ChoiceList>(&dialog, "ListBox3")->count(), 2);
        EXPECT_EQ(Child<ChoiceList>(&dialog, "ListBox3")->selected(), 1);
        EXPECT_EQ(Child<ChoiceList>(&dialog, "ListBox4")->selected(), 0);
        Click(Child(&dialog, "Key05"));
    });
    result = dialog.start(*result, two, two[1], two[0]);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->textColour, 1);
    EXPECT_EQ(result->shadowColour, 0);
}

TEST(FontDialog, CancelAndTheWindowManagersCloseHandBackNothing) {
    FontDialog dialog;
    WhenVisible(&dialog, [&] {
        Click(Child(&dialog, "Key01"));
        Click(Child(&dialog, "Key06"));
    });
    EXPECT_FALSE(dialog.start({}, kFourColours, kFourColours[1], kFourColours[0]).has_value());
    EXPECT_FALSE(dialog.isVisible());

    // Closed by the window manager: the same as Cancel, so the waiting editor goes on.
    WhenVisible(&dialog, [&] {
        Click(Child(&dialog, "Key04"));
        dialog.close();
    });
    EXPECT_FALSE(dialog.start({}, kFourColours, kFourColours[1], kFourColours[0]).has_value());
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FontDialog, ThumbsScrollAndSelectWhereTheEntriesOverflow) {
    FontDialog dialog;
    std::vector<Colour> sixteen;
    for (int i = 0; i < 16; ++i) sixteen.push_back(kDefaultColourTable.at(i));
    std::optional<FontChoice> result;
    WhenVisible(&dialog, [&] {
        auto* sizes = Child<ChoiceList>(&dialog, "ListBox2");
        QWidget* track = Child(&dialog, "Vertical2");
        QWidget* thumb = Child(&dialog, "VScrollButton2");
        ASSERT_TRUE(track->isVisible());                         // 25 sizes do not fit
        EXPECT_TRUE(Child(&dialog, "Vertical3")->isVisible());   // nor 16 colours
        EXPECT_FALSE(Child(&dialog, "Vertical4")->isVisible());  // hidden with the shadow

        // The thumb dragged to the foot of its track selects the last size, and the list
        // scrolls to show it.
        const QPoint grip = thumb->rect().center();
        QTest::mousePress(thumb, Qt::LeftButton, {}, grip);
        QTest::mouseMove(thumb, grip + QPoint(0, track->height()));
        QTest::mouseRelease(thumb, Qt::LeftButton, {}, grip + QPoint(0, track->height()));
        EXPECT_EQ(sizes->selected(), 24);
        EXPECT_FALSE(sizes->rowRect(24).isEmpty());

        // Pressing the track a third of the way down selects the size there.
        QTest::mousePress(track, Qt::LeftButton, {},
                          QPoint(track->width() / 2, track->height() / 3));
        QTest::mouseRelease(track, Qt::LeftButton, {},
                            QPoint(track->width() / 2, track->height() / 3));
        EXPECT_EQ(sizes->selected(), 8);
        EXPECT_EQ(dialog.choice().size, 16);
        EXPECT_EQ(Child<FontSample>(&dialog, "Label1")->sampleFont().pixelSize(),
                  PointsToPixels(16));

        // A click on a row puts the thumb at that row's place on its track.
        ClickRow(sizes, 0);
        EXPECT_EQ(thumb->y(), 0);
        EXPECT_EQ(dialog.choice().size, 0);
        // Size "0" is the font's own default height.
        EXPECT_EQ(Child<FontSample>(&dialog, "Label1")->sampleFont().pixelSize(),
                  QFontInfo(QApplication::font()).pixelSize());
        Click(Child(&dialog, "Key05"));
    });
    result = dialog.start({}, sixteen, sixteen[1], sixteen[0]);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->size, 0);
}

// Every colour of a picture, counted once.
std::set<Colour> ColoursOf(const Picture& p) {
    std::set<Colour> colours;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) colours.insert(p.pixel(x, y));
    return colours;
}

TEST(TextPainter, WritesOnlyTheTextColourAndTheShadowColour) {
    const Colour text = kDefaultColourTable.at(6), shadow = kDefaultColourTable.at(0);
    // Even a font asked for with anti-aliasing draws whole pixels: the painter switches it off.
    QFont smooth("DejaVu Serif");
    smooth.setPixelSize(22);
    smooth.setItalic(true);
    smooth.setStyleStrategy(QFont::PreferAntialias);
    for (const QFont& font : {PixelFont("DejaVu Sans", 16, true), smooth}) {
        const QtTextPainter painter(font);
        EXPECT_GT(painter.lineHeight(), 0);
        EXPECT_GT(painter.textWidth("AB"), painter.textWidth("A"));
        EXPECT_GT(painter.textWidth("\xE9"), 0);  // é of the Western set

        Picture box(120, 2 * painter.lineHeight(), kKeyColour);
        painter.drawText(box, 0, 0, "Mozu \xE9t\xE9 Ag", text);
        EXPECT_EQ(ColoursOf(box), (std::set<Colour>{kKeyColour, text}));

        TextStore store;
        store.open(120, 3 * painter.lineHeight());
        for (char c : std::string("Shadow")) store.type(static_cast<unsigned char>(c), painter);
        const Picture shaded = RenderTextBox(store, painter, {text, true, shadow});
        EXPECT_EQ(ColoursOf(shaded), (std::set<Colour>{kKeyColour, text, shadow}));
        // The shadow lies one pixel left and one down of the text.
        bool shifted = false;
        for (int y = 0; y + 1 < shaded.height(); ++y)
            for (int x = 1; x < shaded.width(); ++x)
                shifted |= shaded.pixel(x, y) == text && shaded.pixel(x - 1, y + 1) == shadow;
        EXPECT_TRUE(shifted);
    }
}

}  // namespace
}  // namespace mozu::app_test
