// The editor as a user drives it: the edit key on a converted picture, drawing with the mouse,
// the colour dialog, closing (by the key and by the window manager), what the main window takes
// back, the blank picture of a conversion key, and editing the source before a conversion.

#include <gtest/gtest.h>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "app_test_support.h"
#include "colour/colour_ops.h"
#include "dialogs/colour_dialog.h"
#include "dialogs/full_preview.h"
#include "dialogs/save_dialog.h"
#include "editing/edit_geometry.h"
#include "editor/edit_canvas.h"
#include "editor/edit_window.h"
#include "formats/cpc_file_reader.h"
#include "skin/picture_key.h"
#include "skin/skin_label.h"
#include "skin/swatch.h"

namespace mozu::app_test {
namespace {

QWidget* Key(QWidget* w, const char* name) {
    return w->findChild<QWidget*>(name);
}

void DropSample(Program& p) {
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
}

EditWindow& Editor(Program& p) {
    return *p.windows().edit;
}

// A drag on the editor's picture between two points of the view (window pixels).
void Drag(EditWindow& editor, QPoint from, std::initializer_list<QPoint> through, QPoint to) {
    QWidget* canvas = Key(&editor, "Image1");
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    for (const QPoint p : through) QTest::mouseMove(canvas, p);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
}

// Saves the converted slots as `name` in the program's folder.
void SaveAs(Program& p, const QString& name) {
    p.windows().save->setCurrentFolder(p.folder());
    AnswerSaveDialog(p.windows().save.get(), name);
    Click(Key(&p.main(), "Key21"));
}

TEST(Editor, Key08DrawsALineIntoSlot0AndTheExitAsks) {
    Program p;
    EXPECT_FALSE(Key(&p.main(), "Key08")->isEnabled());  // nothing to edit
    DropSample(p);
    Click(Key(&p.main(), "Key00"));
    SaveAs(p, "pic");
    const ConversionState& state = p.main().document().state();
    ASSERT_EQ(state.saved[Slot::Mode0], 1);
    ASSERT_TRUE(Key(&p.main(), "Key08")->isEnabled());
    p.main().setVideoConversionRunning(true);  // never while a video converts
    EXPECT_FALSE(Key(&p.main(), "Key08")->isEnabled());
    p.main().setVideoConversionRunning(false);
    ASSERT_TRUE(Key(&p.main(), "Key08")->isEnabled());

    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    ASSERT_TRUE(editor.isVisible());
    EXPECT_FALSE(p.main().isVisible());
    EXPECT_FALSE(Key(&p.main(), "Key08")->isEnabled());  // one edit at a time
    EXPECT_EQ(editor.model().picture(), state.picture(Slot::Mode0));
    EXPECT_EQ(Key(&editor, "Image1")->size(), QSize(640, 400));
    int shownSwatches = 0;
    for (int i = 0; i < 16; ++i)
        shownSwatches += Key(&editor, QStringLiteral("Color%1").arg(i).toLatin1())->isVisible();
    EXPECT_EQ(shownSwatches, 16);
    Screenshot(&editor, "editor_mode0_zoom1");

    // The Preview key shows the picture full screen at mode 0's shape; Escape comes back.
    Click(Key(&editor, "PreviewKey"));
    FullPreview& preview = *p.windows().preview;
    ASSERT_TRUE(preview.isVisible());
    EXPECT_FALSE(editor.isVisible());
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
    ASSERT_TRUE(editor.isVisible());

    // The line tool, from view (20, 30) to (100, 30): mode 0 pixels (10, 30) to (49, 30).
    Click(Key(&editor, "Image6"));
    Drag(editor, {20, 30}, {{60, 80}, {140, 10}}, {100, 30});
    EXPECT_EQ(editor.findChild<SkinLabel*>("Label1")->text(), "XY:(10.30)(50.30)");
    const Colour pen = editor.model().penColour();
    for (int x = 10; x < 50; ++x) ASSERT_EQ(editor.model().picture().pixel(x, 30), pen) << x;

    Click(Key(&editor, "ZoomInKey"));
    Click(Key(&editor, "ZoomInKey"));
    EXPECT_EQ(editor.model().view().zoom(), 4.0);
    Screenshot(&editor, "editor_mode0_zoom4");

    Click(Key(&editor, "CloseKey"));
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_TRUE(Key(&p.main(), "Key08")->isEnabled());
    for (int x = 10; x < 50; ++x) ASSERT_EQ(state.picture(Slot::Mode0).pixel(x, 30), pen) << x;
    EXPECT_EQ(state.saved[Slot::Mode0], 0);  // drawn after the save: unsaved again

    QSignalSpy exited(&p.main(), &MainWindow::exited);
    p.script().No();
    Click(Key(&p.main(), "ExitKey"));
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "1 file not saved. Do you want save it now");
}

TEST(Editor, ClosingWithoutAChangeKeepsTheSavedFlag) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    SaveAs(p, "pic");
    Click(Key(&p.main(), "Key08"));
    Click(Key(&Editor(p), "Image7"));
    Drag(Editor(p), {10, 10}, {{50, 50}}, {10, 10});  // an empty rectangle: nothing drawn
    Click(Key(&Editor(p), "UndoKey"));
    Click(Key(&Editor(p), "CloseKey"));
    EXPECT_EQ(p.main().document().state().saved[Slot::Mode1], 1);
}

TEST(Editor, ColourDialogReplaceIsSavedIntoTheFilesPens) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key00"));
    const ConversionState& state = p.main().document().state();
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);

    // A CPC colour that no pen of the picture has.
    int unused = 0;
    for (int c = 0; c < kColourCount; ++c) {
        bool used = false;
        for (int pen = 0; pen < 16; ++pen)
            used |=
                GetColor(state, pen, Slot::Mode0) == state.colourTable[static_cast<std::size_t>(c)];
        if (!used) {
            unused = c;
            break;
        }
    }
    const Colour newColour = state.colourTable[static_cast<std::size_t>(unused)];
    const Colour oldColour = editor.model().palette()[3];
    const Picture before = editor.model().picture();

    ColourDialog* dialog = p.windows().colour.get();
    bool previewed = false;
    WhenVisible(dialog, [&] {
        EXPECT_FALSE(editor.isEnabled());
        EXPECT_EQ(dialog->windowTitle(), "Color3");
        int offered = 0;
        for (int n = 1; n <= 27; ++n)
            offered += Key(dialog, QStringLiteral("Shape%1").arg(n).toLatin1())->isVisible();
        EXPECT_EQ(offered, 27);
        QTest::mouseClick(Key(dialog, QStringLiteral("Shape%1").arg(unused + 1).toLatin1()),
                          Qt::LeftButton);
        previewed = editor.model().colourPreview().has_value() &&
                    editor.model().picture() == before;  // shown, not yet changed
        Screenshot(dialog, "colour_dialog");
        Click(Key(dialog, "Key01"));
    });
    QTest::mouseDClick(Key(&editor, "Color3"), Qt::LeftButton);
    EXPECT_TRUE(previewed);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(editor.isEnabled());
    EXPECT_EQ(editor.model().palette()[3], newColour);
    EXPECT_EQ(editor.model().penColour(), newColour);  // the double click picked it
    Click(Key(&editor, "CloseKey"));

    EXPECT_EQ(GetColor(state, 3, Slot::Mode0), newColour);
    SaveAs(p, "pic");
    ConversionState read;
    OpenCPCFile(read, p.folder().toStdString() + "pic0.rim");
    EXPECT_EQ(GetColor(read, 3, Slot::Mode0), newColour);
    int recoloured = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) == oldColour) {
                ++recoloured;
                ASSERT_EQ(read.slots[Slot::Mode0].pixel(x, y), newColour) << x << "," << y;
            }
    EXPECT_GT(recoloured, 0);
}

TEST(Editor, CancelAndWindowManagerCloseOfTheColourDialogChangeNothing) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    const EditSnapshot opened{editor.model().picture(), editor.model().palette()};
    ColourDialog* dialog = p.windows().colour.get();
    WhenVisible(dialog, [&] {
        int offered = 0;
        for (int n = 1; n <= 27; ++n)
            offered += Key(dialog, QStringLiteral("Shape%1").arg(n).toLatin1())->isVisible();
        EXPECT_EQ(offered, 27);
        QTest::mouseClick(Key(dialog, "Shape5"), Qt::LeftButton);
        Click(Key(dialog, "Key03"));
    });
    QTest::mouseDClick(Key(&editor, "Color3"), Qt::LeftButton);
    EXPECT_TRUE(editor.isEnabled());
    WhenVisible(dialog, [&] {
        QTest::mouseClick(Key(dialog, "Shape5"), Qt::LeftButton);
        dialog->close();
    });
    QTest::mouseDClick(Key(&editor, "Color2"), Qt::RightButton);
    EXPECT_TRUE(editor.isEnabled());
    EXPECT_FALSE(editor.model().colourPreview());
    EXPECT_EQ(editor.model().picture(), opened.picture);
    EXPECT_EQ(editor.model().palette(), opened.palette);
    EXPECT_EQ(editor.model().fillColour(), opened.palette[2]);
}

TEST(Editor, FreeSizeSymbosSlotOffersItsOwnFourPensAndExchangesThem) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key15"));  // slot 9
    const ConversionState& state = p.main().document().state();
    const PaletteSlot pens = state.palette(Slot::SgxCpcFree);
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    const EditPalette palette = editor.model().palette();
    const Picture before = editor.model().picture();
    ColourDialog* dialog = p.windows().colour.get();
    WhenVisible(dialog, [&] {
        int offered = 0;
        for (int n = 1; n <= 27; ++n)
            offered += Key(dialog, QStringLiteral("Shape%1").arg(n).toLatin1())->isVisible();
        EXPECT_EQ(offered, 4);
        EXPECT_EQ(static_cast<Swatch*>(Key(dialog, "Shape3"))->colour(),
                  QColor(Red(palette[2]), Green(palette[2]), Blue(palette[2])));
        QTest::mouseClick(Key(dialog, "Shape3"), Qt::LeftButton);
        Click(Key(dialog, "Key02"));  // exchange swatch 0's colour with swatch 2's
    });
    QTest::mouseDClick(Key(&editor, "Color0"), Qt::LeftButton);
    EXPECT_EQ(editor.model().palette()[0], palette[2]);
    EXPECT_EQ(editor.model().palette()[2], palette[0]);
    Click(Key(&editor, "CloseKey"));
    // The file keeps its fixed pens; the pixels changed colour instead.
    EXPECT_EQ(state.palette(Slot::SgxCpcFree), pens);
    const Picture& after = state.picture(Slot::SgxCpcFree);
    for (int y = 0; y < before.height(); y += 7)
        for (int x = 0; x < before.width(); x += 5) {
            const Colour c = before.pixel(x, y);
            const Colour expected = c == palette[0] ? palette[2] : c == palette[2] ? palette[0] : c;
            ASSERT_EQ(after.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(Editor, WindowManagerCloseShowsTheMainWindowAndKeepsTheEdit) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    Click(Key(&editor, "FillKey"));
    Drag(editor, {5, 5}, {}, {5, 5});
    const Picture edited = editor.model().picture();
    editor.close();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode1), edited);
    EXPECT_EQ(p.main().document().state().saved[Slot::Mode1], 0);
}

TEST(Editor, AFileHandedOverEndsTheEditFirst) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    Click(Key(&Editor(p), "FillKey"));
    Drag(Editor(p), {5, 5}, {}, {5, 5});
    // The edit is taken back, then the unsaved question comes before the new file.
    p.script().No();
    p.main().openHandedOverFile(p.Write("three.bmp", ThreeColourPicture()));
    EXPECT_FALSE(Editor(p).isVisible());
    EXPECT_TRUE(p.main().isVisible());
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "1 file not saved. Do you want save it now");
    EXPECT_EQ(p.main().document().state().source.width(), 64);
}

TEST(Editor, ConversionKeyWithNoPictureOpensTheEditorOnABlankPicture) {
    Program p;
    Click(Key(&p.main(), "Key01"));
    EditWindow& editor = Editor(p);
    ASSERT_TRUE(editor.isVisible());
    EXPECT_FALSE(p.main().isVisible());
    EXPECT_EQ(editor.model().slot(), Slot::Mode1);
    EXPECT_EQ(editor.model().picture().width(), 320);
    Click(Key(&editor, "Image5"));
    Drag(editor, {3, 3}, {{30, 3}}, {30, 40});
    Click(Key(&editor, "CloseKey"));
    EXPECT_TRUE(p.main().isVisible());
    // A drawing on a blank picture is not lost without the question.
    EXPECT_EQ(p.main().document().unsavedCount(), 1);
}

TEST(Editor, EditedSourceIsWhatTheNextConversionConverts) {
    Program p;
    const QString bmp = p.Write("three.bmp", ThreeColourPicture());
    DropFiles(&p.main(), {bmp});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    p.script().Yes();
    Click(Key(&p.main(), "Key01"));  // 3 colours: the exact-colour question
    ASSERT_EQ(p.script().shown.size(), 1u);
    Click(Key(&p.main(), "Key22"));  // the source on show
    ASSERT_TRUE(Key(&p.main(), "Key08")->isEnabled());
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    ASSERT_EQ(editor.model().slot(), Slot::Source);
    ASSERT_EQ(editor.model().picture().width(), 64);
    EXPECT_EQ(editor.model().colourCount(), 1);
    // A black line across: four colours now.
    Click(Key(&editor, "Image6"));
    Drag(editor, {0, 20}, {}, {64, 20});
    Click(Key(&editor, "CloseKey"));
    const ConversionState& state = p.main().document().state();
    EXPECT_EQ(state.sourceColourCount, 4);
    EXPECT_EQ(state.source.pixel(30, 20), MakeColour(0, 0, 0));
    EXPECT_EQ(state.currentSlot, Slot::Source);

    p.script().Yes();
    Click(Key(&p.main(), "Key01"));  // converts again, and asks on the true count
    ASSERT_EQ(p.script().shown.size(), 2u);
    EXPECT_EQ(p.script().shown[1].text,
              "Source picture in supported color depth. Convert without dithering?");
    const Picture& slot1 = state.picture(Slot::Mode1);
    const int y = 20 * slot1.height() / 40;  // the source scaled to fit
    const int x = slot1.width() / 2;
    EXPECT_EQ(Luminance(slot1.pixel(x, y)), 0) << "the line is black in the new conversion";
}

TEST(Editor, OverscanEditTakesTheSlotsOwnPictureAndRebuildsTheLevel) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key03"));
    const ConversionState& state = p.main().document().state();
    ASSERT_EQ(state.currentSlot, Slot::Overscan0);
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    // The overscan picture itself, not the level picture the main window shows.
    EXPECT_EQ(editor.model().picture(), state.picture(Slot::Overscan0));
    Click(Key(&editor, "Image7"));
    Drag(editor, {0, 0}, {{100, 100}}, {200, 150});
    Click(Key(&editor, "CloseKey"));
    const Picture& overscan = state.picture(Slot::Overscan0);
    const Picture& level = state.picture(Slot::Level0);
    ASSERT_EQ(level.width(), 232);
    EXPECT_EQ(level.crop(0, 0, 184, 264), overscan);
    EXPECT_EQ(
        std::equal(state.palette(Slot::Level0).begin(), state.palette(Slot::Level0).begin() + 16,
                   state.palette(Slot::Overscan0).begin()),
        true);
}

TEST(Editor, ShortcutsZoomAndScrollBars) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key00"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = Editor(p);
    const Picture opened = editor.model().picture();
    editor.activateWindow();  // shortcuts reach the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(&editor, Qt::Key_R);  // the rectangle tool
    EXPECT_EQ(editor.model().tool(), Tool::Rectangle);
    Drag(editor, {10, 10}, {{90, 60}}, {90, 60});
    const Picture drawn = editor.model().picture();
    ASSERT_NE(drawn, opened);
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.model().picture(), opened);
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor.model().picture(), drawn);
    Click(Key(&editor, "UndoKey"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.model().picture(), drawn);

    // The status text follows the mouse: mode 0 pixels are two view pixels wide.
    QTest::mouseMove(Key(&editor, "Image1"), QPoint(41, 7));
    EXPECT_EQ(editor.findChild<SkinLabel*>("Label1")->text(), "XY:(20.7)");

    // Shown 320 x 200 at zoom 1: the bars cannot scroll. At zoom 4 (1280 x 800) they can.
    QWidget* thumb = Key(&editor, "HScrollButton");
    QWidget* track = Key(&editor, "Horizontal");
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(300, 8));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(300, 8));
    EXPECT_EQ(editor.model().view().scrollX(), 0);
    EXPECT_EQ(thumb->x(), 0);
    QTest::keyClick(&editor, Qt::Key_Plus);
    QWheelEvent wheel(QPointF(100, 100), Key(&editor, "Image1")->mapToGlobal(QPointF(100, 100)),
                      QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Key(&editor, "Image1"), &wheel);
    EXPECT_EQ(editor.model().view().zoom(), 4.0);
    // A press on the track makes the thumb jump there; the view scrolls in proportion.
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(320, 8));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(320, 8));
    EXPECT_GT(thumb->x(), 250);
    const int percent = thumb->x() * 100 / (track->width() - thumb->width());
    EXPECT_EQ(editor.model().view().scrollX(), (1280 - 640) * percent / 100);
    // Zoom out goes back to the origin, thumbs included.
    QTest::keyClick(&editor, Qt::Key_Minus);
    EXPECT_EQ(editor.model().view().zoom(), 2.0);
    EXPECT_EQ(editor.model().view().scrollX(), 0);
    EXPECT_EQ(thumb->x(), 0);
    Click(Key(&editor, "CloseKey"));
}

}  // namespace
}  // namespace mozu::app_test
