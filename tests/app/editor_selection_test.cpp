// The editor's selection as a user drives it: selecting, copying in one slot and pasting into
// another, dragging and putting the block down, undoing that, the file saved afterwards; images
// from the system clipboard; a drawing tool's press inside an old selection; turning a block.

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <set>

#include "app_test_support.h"
#include "colour/colour_ops.h"
#include "dialogs/save_dialog.h"
#include "editor/edit_canvas.h"
#include "editor/edit_window.h"
#include "formats/cpc_file_reader.h"
#include "skin/picture_key.h"

namespace mozu::app_test {
namespace {

QWidget* Key(QWidget* w, const char* name) {
    return w->findChild<QWidget*>(name);
}

EditCanvas& Canvas(EditWindow& editor) {
    return *editor.findChild<EditCanvas*>("Image1");
}

void DropSample(Program& p) {
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
}

void Drag(EditWindow& editor, QPoint from, QPoint to) {
    QWidget* canvas = Key(&editor, "Image1");
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, (from + to) / 2);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
}

void RightClick(EditWindow& editor, QPoint at) {
    QWidget* canvas = Key(&editor, "Image1");
    QTest::mousePress(canvas, Qt::RightButton, {}, at);
    QTest::mouseRelease(canvas, Qt::RightButton, {}, at);
}

void Activate(EditWindow& editor) {
    editor.activateWindow();  // shortcuts reach the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
}

std::vector<Colour> Pens(const EditWindow& editor) {
    const EditPalette& palette = editor.model().palette();
    return {palette.begin(), palette.begin() + editor.model().colourCount()};
}

bool IsPen(const std::vector<Colour>& pens, Colour c) {
    return std::find(pens.begin(), pens.end(), c) != pens.end();
}

TEST(EditorSelection, BlockCopiedInMode0IsPastedIntoMode1AndSavedInItsPens) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key00"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = *p.windows().edit;
    for (const char* name : {"Image14", "Image16", "Image46", "Image18", "Image21", "Image10",
                             "Image42", "Image43", "Image44", "Image45"})
        EXPECT_TRUE(Key(&editor, name)->isEnabled()) << name;

    // Mode 0 pixels are two view pixels wide: view (20, 20)-(100, 80) is (10, 20)-(50, 80).
    Click(Key(&editor, "Image14"));
    Drag(editor, {100, 80}, {20, 20});
    ASSERT_TRUE(editor.model().selection());
    EXPECT_EQ(*editor.model().selection(), (PixelRect{10, 20, 50, 80}));
    // The frame is shown over the picture, never drawn into it.
    const Picture opened = editor.model().picture();
    const QColor corner = Canvas(editor).shownPicture().pixelColor(10, 20);
    const Colour under = opened.pixel(10, 20);
    EXPECT_NE(corner, QColor(Red(under), Green(under), Blue(under)));
    EXPECT_EQ(editor.model().picture(), p.main().document().state().picture(Slot::Mode0));

    Click(Key(&editor, "Image18"));
    const EditorClipboard& clipboard = editor.clipboard();
    ASSERT_EQ(clipboard.bitmap.width(), 40);
    ASSERT_EQ(clipboard.bitmap.height(), 60);
    EXPECT_EQ(clipboard.bitmap, opened.crop(10, 20, 40, 60));
    EXPECT_EQ(Canvas(editor).shownPicture().pixelColor(10, 20),
              QColor(Red(under), Green(under), Blue(under)));  // the frame went
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(40, 60));
    const Picture block = clipboard.bitmap;
    Click(Key(&editor, "CloseKey"));

    // Another slot: the clipboard outlived the edit.
    Click(Key(&p.main(), "Key01"));
    ASSERT_EQ(p.main().document().state().currentSlot, Slot::Mode1);
    Click(Key(&p.main(), "Key08"));
    ASSERT_EQ(editor.model().slot(), Slot::Mode1);
    const Picture before = editor.model().picture();
    const std::vector<Colour> pens = Pens(editor);
    Click(Key(&editor, "Image21"));
    ASSERT_TRUE(editor.model().blockFloats());
    EXPECT_EQ(Canvas(editor).shownBlockRect(), QRect(10, 20, 40, 60));
    Click(Key(&editor, "ZoomInKey"));  // locked while the block floats
    EXPECT_EQ(editor.model().view().zoom(), 1.0);

    // Dragged by (100, 50), then put down by a right press on it.
    Drag(editor, {15, 25}, {115, 75});
    EXPECT_EQ(Canvas(editor).shownBlockRect(), QRect(110, 70, 40, 60));
    EXPECT_EQ(editor.model().picture(), before);
    RightClick(editor, {120, 80});
    ASSERT_FALSE(editor.model().blockFloats());
    Click(Key(&editor, "ZoomInKey"));
    EXPECT_EQ(editor.model().view().zoom(), 2.0);
    Click(Key(&editor, "ZoomOutKey"));
    const Picture after = editor.model().picture();

    // Every pixel of the block is one of mode 1's pens, darker stays darker, equal stays equal.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 40; ++x) {
            const Colour c = after.pixel(110 + x, 70 + y);
            ASSERT_TRUE(IsPen(pens, c)) << x << "," << y;
            for (int x2 = 0; x2 < 40; x2 += 3) {
                const Colour a = block.pixel(x, y), b = block.pixel(x2, y);
                const Colour ma = c, mb = after.pixel(110 + x2, 70 + y);
                if (a == b) {
                    ASSERT_EQ(ma, mb);
                }
                if (Luminance(a) < Luminance(b)) {
                    ASSERT_LE(Luminance(ma), Luminance(mb));
                }
            }
        }
    EXPECT_EQ(after.crop(0, 0, 110, 200), before.crop(0, 0, 110, 200));  // nothing else changed

    // One Undo takes exactly the put-down back; Redo brings it again.
    Click(Key(&editor, "UndoKey"));
    EXPECT_EQ(editor.model().picture(), before);
    Click(Key(&editor, "RedoKey"));
    EXPECT_EQ(editor.model().picture(), after);
    Click(Key(&editor, "CloseKey"));

    p.windows().save->setCurrentFolder(p.folder());
    AnswerSaveDialog(p.windows().save.get(), "pic");
    Click(Key(&p.main(), "Key21"));
    ConversionState read;
    OpenCPCFile(read, p.folder().toStdString() + "pic1.rim");
    const Picture& saved = read.slots[Slot::Mode1];
    std::vector<Colour> filePens;
    for (int pen = 0; pen < 4; ++pen) filePens.push_back(GetColor(read, pen, Slot::Mode1));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(saved.pixel(110 + x, 70 + y), after.pixel(110 + x, 70 + y)) << x << "," << y;
            ASSERT_TRUE(IsPen(filePens, saved.pixel(110 + x, 70 + y)));
        }
}

TEST(EditorSelection, SystemClipboardImageIsPastedInTheSlotsFourColours) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = *p.windows().edit;
    Activate(editor);
    const std::vector<Colour> pens = Pens(editor);

    // Twelve colours, none of them a pen.
    QImage image(48, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor::fromHsv((x / 4) * 30, 200, 60 + y * 6));
    QGuiApplication::clipboard()->setImage(image);
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(editor.model().blockFloats());
    EXPECT_EQ(editor.model().floatingBlock()->pixels().width(), 48);
    EXPECT_EQ(editor.model().floatingBlock()->pixels().height(), 30);
    // The arrow keys move it by one pixel.
    const PixelPoint at = editor.model().floatingBlock()->position();
    QTest::keyClick(&editor, Qt::Key_Right);
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClick(&editor, Qt::Key_Down);
    EXPECT_EQ(editor.model().floatingBlock()->position(), (PixelPoint{at.x + 1, at.y + 2}));
    const QRect shown = Canvas(editor).shownBlockRect();
    RightClick(editor, shown.center());
    ASSERT_FALSE(editor.model().blockFloats());

    std::set<Colour> used;
    const Picture& picture = editor.model().picture();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) used.insert(picture.pixel(x, y));
    EXPECT_LE(used.size(), 4u);
    for (const Colour c : used) EXPECT_TRUE(IsPen(pens, c));
    std::set<Colour> inBlock;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 48; ++x) inBlock.insert(picture.pixel(at.x + 1 + x, at.y + 2 + y));
    EXPECT_GE(inBlock.size(), 2u);  // nearest colours, not one flat colour

    // Whichever clipboard was set last is pasted: the editor's own copy, then the image again.
    Click(Key(&editor, "Image14"));
    Drag(editor, {10, 10}, {30, 20});
    QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(editor.clipboard().bitmap.width(), 20);
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(editor.model().blockFloats());
    EXPECT_EQ(editor.model().floatingBlock()->pixels().width(), 20);
    RightClick(editor, Canvas(editor).shownBlockRect().center());
    QGuiApplication::clipboard()->setImage(image);
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(editor.model().blockFloats());
    EXPECT_EQ(editor.model().floatingBlock()->pixels().width(), 48);
    RightClick(editor, Canvas(editor).shownBlockRect().center());

    // Ctrl+A selects the whole picture, every row and column.
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(editor.model().selection());
    EXPECT_EQ(*editor.model().selection(), (PixelRect{0, 0, 320, 200}));
    Click(Key(&editor, "CloseKey"));
}

TEST(EditorSelection, DrawingToolPressInsideAnOldSelectionDrawsAndDeleteFills) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = *p.windows().edit;
    Activate(editor);
    Click(Key(&editor, "Image14"));
    Drag(editor, {40, 40}, {120, 100});
    Click(Key(&editor, "Image18"));  // the selection stays, without its frame
    ASSERT_TRUE(editor.model().selection());

    // A pixel inside whose colour is not the pen's.
    const Colour pen = editor.model().penColour();
    QPoint inside;
    bool found = false;
    for (int y = 50; y < 90 && !found; ++y)
        for (int x = 50; x < 110 && !found; ++x)
            if (editor.model().picture().pixel(x, y) != pen) {
                inside = {x, y};
                found = true;
            }
    ASSERT_TRUE(found);
    Click(Key(&editor, "Image5"));
    QTest::mouseClick(Key(&editor, "Image1"), Qt::LeftButton, {}, inside);
    EXPECT_EQ(editor.model().picture().pixel(inside.x(), inside.y()), pen);
    EXPECT_FALSE(editor.model().selection());

    // Delete fills a selection with the fill colour; one Undo takes it back.
    Click(Key(&editor, "Image14"));
    Drag(editor, {200, 100}, {220, 130});
    const Picture before = editor.model().picture();
    QTest::keyClick(&editor, Qt::Key_Delete);
    const Colour fill = editor.model().fillColour();
    for (int y = 100; y < 130; ++y)
        for (int x = 200; x < 220; ++x) ASSERT_EQ(editor.model().picture().pixel(x, y), fill);
    Click(Key(&editor, "UndoKey"));
    EXPECT_EQ(editor.model().picture(), before);
    Click(Key(&editor, "CloseKey"));
}

TEST(EditorSelection, TurnedBlockFloatsTurnedAndCropKeepsMode1sSize) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key00"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = *p.windows().edit;
    // 20 x 10 mode 0 pixels, 40 x 10 view pixels.
    Click(Key(&editor, "Image14"));
    Drag(editor, {200, 100}, {240, 110});
    Click(Key(&editor, "Image44"));
    ASSERT_TRUE(editor.model().blockFloats());
    // Turned counter-clockwise: 10 pixels wide and 20 high, shown 10 by 40 (the scale swapped).
    EXPECT_EQ(Canvas(editor).shownBlockRect().size(), QSize(10, 40));
    EXPECT_EQ(Canvas(editor).shownBlock().size(), QSize(10, 20));
    Click(Key(&editor, "ZoomOutKey"));
    EXPECT_EQ(editor.model().view().zoom(), 1.0);  // locked while it floats
    const Picture turned = editor.model().floatingBlock()->pixels();
    const PixelPoint at = editor.model().floatingBlock()->position();
    RightClick(editor, Canvas(editor).shownBlockRect().center());
    EXPECT_EQ(editor.model().picture().crop(at.x, at.y, 10, 20), turned);

    // At zoom 2, 80 x 60 pixels (320 x 120 view pixels) turned clockwise show 120 x 320.
    Click(Key(&editor, "ZoomInKey"));
    ASSERT_EQ(editor.model().view().zoom(), 2.0);
    Click(Key(&editor, "Image14"));
    Drag(editor, {100, 60}, {420, 180});
    Click(Key(&editor, "Image45"));
    ASSERT_TRUE(editor.model().blockFloats());
    EXPECT_EQ(Canvas(editor).shownBlockRect().size(), QSize(120, 320));
    Screenshot(&editor, "editor_turned_block");
    Click(Key(&editor, "CloseKey"));

    // Crop in mode 1: the size stays, the content is centred on the fill colour.
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    const Picture opened = editor.model().picture();
    Click(Key(&editor, "Image14"));
    Drag(editor, {100, 50}, {-5, -5});  // ending outside the picture: clamped to its edge
    ASSERT_TRUE(editor.model().selection());
    EXPECT_EQ(*editor.model().selection(), (PixelRect{0, 0, 100, 50}));
    Click(Key(&editor, "Image16"));
    const Picture& cropped = editor.model().picture();
    ASSERT_EQ(cropped.width(), 320);
    ASSERT_EQ(cropped.height(), 200);
    EXPECT_EQ(cropped.crop(110, 75, 100, 50), opened.crop(0, 0, 100, 50));
    EXPECT_EQ(cropped.pixel(5, 5), editor.model().fillColour());
    Click(Key(&editor, "CloseKey"));
}

TEST(EditorSelection, TransparentBlockShowsAndLeavesThePictureWhereItHasTheFillColour) {
    Program p;
    DropSample(p);
    Click(Key(&p.main(), "Key01"));
    Click(Key(&p.main(), "Key08"));
    EditWindow& editor = *p.windows().edit;
    Click(Key(&editor, "Image14"));
    Drag(editor, {10, 10}, {50, 40});
    Click(Key(&editor, "Image18"));
    const Picture block = editor.clipboard().bitmap;
    const Picture before = editor.model().picture();
    Click(Key(&editor, "Image21"));
    ASSERT_TRUE(editor.model().blockFloats());
    Click(Key(&editor, "Image10"));
    EXPECT_EQ(static_cast<PictureKey*>(Key(&editor, "Image10"))->caption(), "Transparent: on");
    const Colour fill = editor.model().fillColour();
    // The same slot's colours: the block keeps its pixels; the fill colour's are see-through.
    const QImage shown = Canvas(editor).shownBlock();
    ASSERT_EQ(shown.size(), QSize(40, 30));
    int skipped = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool clear = block.pixel(x, y) == fill;
            skipped += clear;
            ASSERT_EQ(qAlpha(shown.pixel(x, y)), clear ? 0 : 255) << x << "," << y;
        }
    ASSERT_GT(skipped, 0);
    ASSERT_LT(skipped, 40 * 30);

    Drag(editor, {20, 20}, {120, 20});
    RightClick(editor, {120, 20});
    ASSERT_FALSE(editor.model().blockFloats());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const Colour c = block.pixel(x, y);
            ASSERT_EQ(editor.model().picture().pixel(110 + x, 10 + y),
                      c == fill ? before.pixel(110 + x, 10 + y) : c)
                << x << "," << y;
        }
    Click(Key(&editor, "CloseKey"));
}

}  // namespace
}  // namespace mozu::app_test
