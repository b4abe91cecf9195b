#include "editing/editor_model.h"

#include <gtest/gtest.h>

#include "colour/colour_table.h"
#include "editing/art.h"
#include "support/pictures.h"

namespace mozu {
namespace {

using test::kArtBackground;
using test::kArtFill;
using test::kArtPen;
using test::ToArt;

EditPalette CpcPalette() {
    EditPalette palette{};
    for (int i = 0; i < kEditorSwatches; ++i)
        palette[static_cast<std::size_t>(i)] = kDefaultColourTable[static_cast<std::size_t>(i)];
    return palette;
}

class EditorModelTest : public ::testing::Test {
  protected:
    void open(Slot slot, const Picture& picture, EditPalette palette = CpcPalette()) {
        model.open(slot, picture, palette, history, 870, 726);
    }
    void drag(PixelPoint a, std::initializer_list<PixelPoint> moves, PixelPoint b) {
        model.press(a, MouseButton::Left);
        for (const PixelPoint m : moves) model.move(m);
        model.release(b);
    }

    UndoHistory history;
    EditorModel model;
};

TEST_F(EditorModelTest, OpensEachSlotAtItsGeometry) {
    open(Slot::Mode0, Picture(160, 200, kDefaultColourTable[3]));
    EXPECT_EQ(model.picture().width(), 160);
    EXPECT_EQ(model.view().shownWidth(), 320);
    EXPECT_EQ(model.view().shownHeight(), 200);
    EXPECT_EQ(model.colourCount(), 16);
    EXPECT_EQ(model.maxIndex(), 15);
    EXPECT_EQ(model.fillColour(), kDefaultColourTable[0]);
    EXPECT_EQ(model.penColour(), kDefaultColourTable[1]);
    EXPECT_EQ(model.tool(), Tool::None);
    EXPECT_EQ(model.statusText(), "XY:870x726");
    EXPECT_EQ(model.undoCount(), 1);  // the opened picture

    open(Slot::Mode2, Picture(640, 200));
    EXPECT_EQ(model.view().shownWidth(), 640);
    EXPECT_EQ(model.view().shownHeight(), 400);
    EXPECT_TRUE(model.swatchVisible(1));
    EXPECT_FALSE(model.swatchVisible(2));
    EXPECT_FALSE(model.pressSwatch(2, MouseButton::Left));

    // A fixed slot handed a picture of another size keeps its top left part on white.
    open(Slot::Mode1, Picture(10, 10, kArtPen));
    EXPECT_EQ(model.picture().width(), 320);
    EXPECT_EQ(model.picture().pixel(9, 9), kArtPen);
    EXPECT_EQ(model.picture().pixel(10, 9), kArtBackground);
    // Free-size slots, the overscan mode 1 slot and the source keep the size handed over.
    for (const Slot s : {Slot::Overscan1, Slot::SgxCpcFree, Slot::SgxMsxFree, Slot::Source}) {
        open(s, Picture(123, 45));
        EXPECT_EQ(model.picture().width(), 123);
        EXPECT_EQ(model.picture().height(), 45);
    }
    EXPECT_EQ(model.view().shownHeight(), 45);
    open(Slot::SgxMsxFree, Picture(123, 45));
    EXPECT_EQ(model.view().shownHeight(), 90);  // tall pixels
    EXPECT_THROW(open(Slot::Level0, Picture(232, 264)), std::invalid_argument);
}

TEST_F(EditorModelTest, MouseToPixelAndZoomLimits) {
    open(Slot::Mode0, Picture(160, 200));
    EXPECT_EQ(model.view().pixelAt(5, 3), (PixelPoint{2, 3}));
    EXPECT_TRUE(model.view().zoomOut());
    EXPECT_EQ(model.view().pixelAt(5, 3), (PixelPoint{5, 6}));
    EXPECT_TRUE(model.view().zoomOut());
    EXPECT_TRUE(model.view().zoomOut());
    EXPECT_EQ(model.view().zoom(), 0.125);
    EXPECT_FALSE(model.view().zoomOut());  // the window beeps
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(model.view().zoomIn());
    EXPECT_EQ(model.view().zoom(), 8.0);
    EXPECT_FALSE(model.view().zoomIn());
    EXPECT_EQ(model.view().shownWidth(), 2560);
    model.view().setZoomAllowed(false);  // a floating block
    EXPECT_FALSE(model.view().zoomOut());
}

TEST_F(EditorModelTest, ShownSizeComesFromThePictureAtEveryZoom) {
    // 333 x 1 at scale 1: halving and doubling the shown size would give 41 and then 328.
    open(Slot::Source, Picture(333, 3));
    for (int i = 0; i < 3; ++i) model.view().zoomOut();
    EXPECT_EQ(model.view().shownWidth(), 41);
    EXPECT_EQ(model.view().shownHeight(), 0);
    for (int i = 0; i < 3; ++i) model.view().zoomIn();
    EXPECT_EQ(model.view().shownWidth(), 333);
    EXPECT_EQ(model.view().shownHeight(), 3);
}

TEST_F(EditorModelTest, ScrollingOnlyWhereThePictureIsLarger) {
    open(Slot::Overscan2, Picture(736, 264));  // shown 736 x 528 in a 640 x 400 view
    EXPECT_TRUE(model.view().scrollToPercentX(50));
    EXPECT_EQ(model.view().scrollX(), 48);
    EXPECT_TRUE(model.view().scrollToPercentY(100));
    EXPECT_EQ(model.view().scrollY(), 128);
    model.view().zoomOut();
    EXPECT_EQ(model.view().scrollX(), 0);
    EXPECT_FALSE(model.view().scrollToPercentX(50));  // 368 wide now: fits
    model.view().zoomIn();
    model.view().setScrollAllowed(false);
    EXPECT_FALSE(model.view().scrollToPercentX(50));
}

TEST_F(EditorModelTest, TwelveChangesThenOnlyTenUndos) {
    const Picture opened = test::RandomPicture(160, 200, 3, 16);
    open(Slot::Mode0, opened);
    model.setTool(Tool::Freehand);
    std::vector<Picture> states{model.picture()};
    for (int i = 0; i < 12; ++i) {
        drag({i, 0}, {{i, 50}}, {i, 100});
        states.push_back(model.picture());
    }
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(model.undo());
        EXPECT_EQ(model.picture(), states[static_cast<std::size_t>(11 - i)]) << i;
    }
    EXPECT_FALSE(model.undo());
    EXPECT_EQ(model.picture(), states[2]);
}

TEST_F(EditorModelTest, FirstUndoRestoresTheOpenedPictureAndRedoRedoes) {
    const Picture opened = test::RandomPicture(160, 200, 5, 16);
    open(Slot::Mode0, opened);
    EXPECT_TRUE(model.undo());
    EXPECT_EQ(model.picture(), opened);
    EXPECT_TRUE(model.redo());
    EXPECT_FALSE(model.redo());  // the window beeps

    model.setTool(Tool::Rectangle);
    drag({1, 1}, {}, {20, 20});
    const Picture one = model.picture();
    drag({30, 30}, {}, {40, 40});
    const Picture two = model.picture();
    ASSERT_TRUE(model.undo());
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.picture(), opened);
    ASSERT_TRUE(model.redo());
    EXPECT_EQ(model.picture(), one);
    ASSERT_TRUE(model.redo());
    EXPECT_EQ(model.picture(), two);
    EXPECT_FALSE(model.redo());
    // A new change forgets what was undone.
    ASSERT_TRUE(model.undo());
    drag({50, 50}, {}, {60, 60});
    EXPECT_FALSE(model.redo());
}

TEST_F(EditorModelTest, PreviewsLeaveNoTraceAndOneUndoRemovesTheShape) {
    const Picture opened = test::RandomPicture(160, 200, 9, 16);
    open(Slot::Mode0, opened);
    for (const Tool tool : {Tool::Rectangle, Tool::Ellipse, Tool::Line}) {
        model.setTool(tool);
        model.press({10, 10}, MouseButton::Left);
        for (const PixelPoint p :
             {PixelPoint{50, 60}, PixelPoint{20, 5}, PixelPoint{-30, 300}, PixelPoint{70, 80}})
            model.move(p);
        EXPECT_EQ(model.statusText(), "XY:(10.10)(70.80)");
        model.move({10, 10});  // back to where it started: the preview is nothing
        EXPECT_EQ(model.picture(), opened);
        model.release({40, 30});
        Picture expected = opened;
        const ShapeStyle style{model.penColour(), model.fillColour(), 1, true, true};
        if (tool == Tool::Rectangle)
            DrawRectangle(expected, {10, 10}, {40, 30}, style, DrawMode::Replace);
        if (tool == Tool::Ellipse)
            DrawEllipse(expected, {10, 10}, {40, 30}, style, DrawMode::Replace);
        if (tool == Tool::Line)
            DrawLine(expected, {10, 10}, {40, 30}, model.penColour(), 1, DrawMode::Replace);
        EXPECT_EQ(model.picture(), expected);
        ASSERT_TRUE(model.undo());
        EXPECT_EQ(model.picture(), opened);
    }
}

TEST_F(EditorModelTest, FreehandStrokeIsOneStep) {
    open(Slot::Mode1, Picture(320, 200, kArtBackground), {kArtBackground, kArtPen});
    model.setTool(Tool::Freehand);
    model.toggleOutline();  // off: only the pressed pixel
    drag({5, 5}, {{9, 5}}, {9, 9});
    EXPECT_EQ(model.picture().pixel(5, 5), kArtPen);
    EXPECT_EQ(model.picture().pixel(7, 5), kArtBackground);
    model.toggleOutline();
    drag({5, 5}, {{9, 5}, {9, 9}}, {12, 9});
    EXPECT_EQ(model.picture().pixel(7, 5), kArtPen);
    EXPECT_EQ(model.picture().pixel(9, 8), kArtPen);
    EXPECT_EQ(model.picture().pixel(11, 9), kArtPen);
    EXPECT_EQ(model.picture().pixel(12, 9), kArtBackground);  // the end point is not set
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.picture().pixel(7, 5), kArtBackground);
    EXPECT_EQ(model.picture().pixel(5, 5), kArtPen);  // the first stroke's pixel stays
}

TEST_F(EditorModelTest, LineWithoutOutlineStillSavesAPoint) {
    open(Slot::Mode1, Picture(320, 200, kArtBackground), {kArtBackground, kArtPen});
    const Picture opened = model.picture();
    model.setTool(Tool::Line);
    model.toggleOutline();
    drag({0, 0}, {{5, 5}}, {10, 10});
    EXPECT_EQ(model.picture(), opened);
    EXPECT_EQ(model.undoCount(), 2);
    model.toggleOutline();
}

TEST_F(EditorModelTest, FillPoursThePenColourOnlyWithFillOn) {
    open(Slot::Mode1, test::FromArt({"..#.", "..#.", "###."}), {kArtBackground, kArtFill});
    model.setTool(Tool::Fill);
    drag({0, 0}, {}, {3, 3});  // the pour starts where the press was
    EXPECT_EQ(model.picture().pixel(0, 0), kArtFill);
    EXPECT_EQ(model.picture().pixel(1, 1), kArtFill);
    EXPECT_EQ(model.picture().pixel(3, 0), kArtBackground);
    model.toggleFill();
    drag({3, 0}, {}, {3, 0});
    EXPECT_EQ(model.picture().pixel(3, 0), kArtBackground);
    EXPECT_EQ(model.undoCount(), 3);
}

TEST_F(EditorModelTest, SettingsAndSwatches) {
    open(Slot::Mode0, Picture(160, 200));
    while (model.thinner()) {
    }
    EXPECT_EQ(model.settings().penWidth, 1);
    EXPECT_FALSE(model.thinner());
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(model.thicker());
    EXPECT_FALSE(model.thicker());
    EXPECT_EQ(model.settings().penWidth, 10);
    EXPECT_TRUE(model.pressSwatch(5, MouseButton::Left));
    EXPECT_TRUE(model.pressSwatch(6, MouseButton::Right));
    EXPECT_EQ(model.penColour(), kDefaultColourTable[5]);
    EXPECT_EQ(model.fillColour(), kDefaultColourTable[6]);
    // Width and outline persist into the next edit; the fill setting is switched on again.
    model.toggleOutline();
    model.toggleFill();
    model.close();
    open(Slot::Mode0, Picture(160, 200));
    EXPECT_EQ(model.settings().penWidth, 10);
    EXPECT_FALSE(model.settings().outline);
    EXPECT_TRUE(model.settings().filled);
    EXPECT_EQ(model.penColour(), kDefaultColourTable[1]);
}

TEST_F(EditorModelTest, ReplaceMovesPensAndUndoRestoresPaletteAndPixels) {
    const Colour red = kDefaultColourTable[15], blue = kDefaultColourTable[7];
    EditPalette palette = CpcPalette();
    palette[15] = kDefaultColourTable[20];  // red is no swatch's colour
    open(Slot::Mode0, Picture(160, 200, palette[0]), palette);
    model.setTool(Tool::Line);
    drag({0, 0}, {}, {3, 0});  // pen (swatch 1) pixels at 0-2
    ASSERT_EQ(model.picture().pixel(1, 0), palette[1]);
    const Picture before = model.picture();

    model.previewColour(1, red);
    EXPECT_EQ(model.shownSwatch(1), red);
    EXPECT_EQ(model.palette()[1], palette[1]);  // a preview changes nothing
    model.replaceColour(1, red);
    EXPECT_FALSE(model.colourPreview());
    EXPECT_EQ(model.palette()[1], red);
    EXPECT_EQ(model.picture().pixel(1, 0), red);
    EXPECT_EQ(model.penColour(), red);  // no longer a colour of the palette otherwise
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.palette()[1], palette[1]);
    EXPECT_EQ(model.picture(), before);
    EXPECT_EQ(model.penColour(), palette[1]);
    ASSERT_TRUE(model.redo());
    EXPECT_EQ(model.palette()[1], red);
    EXPECT_EQ(model.penColour(), red);

    // Replace with a colour another swatch has merges them; Exchange swaps them back apart.
    model.replaceColour(2, blue);
    EXPECT_EQ(model.palette()[2], blue);
    EXPECT_EQ(model.palette()[7], blue);
}

TEST_F(EditorModelTest, ExchangeSwapsSwatchesAndPixels) {
    const Colour red = kDefaultColourTable[15], blue = kDefaultColourTable[7];
    EditPalette palette = CpcPalette();
    palette[1] = red;
    palette[4] = blue;
    Picture p(160, 200, palette[0]);
    p.setPixel(0, 0, red);
    p.setPixel(1, 0, blue);
    open(Slot::Mode0, p, palette);
    model.exchangeColour(1, blue);
    EXPECT_EQ(model.palette()[1], blue);
    EXPECT_EQ(model.palette()[4], red);
    EXPECT_EQ(model.picture().pixel(0, 0), blue);
    EXPECT_EQ(model.picture().pixel(1, 0), red);
    EXPECT_EQ(model.picture().pixel(2, 0), palette[0]);
    EXPECT_EQ(model.undoCount(), 2);
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.palette(), palette);
    EXPECT_EQ(model.picture(), p);
}

TEST_F(EditorModelTest, CloseHandsBackAndFreesTheHistory) {
    open(Slot::Mode0, Picture(160, 200));
    model.setTool(Tool::Rectangle);
    drag({0, 0}, {}, {5, 5});
    model.view().zoomIn();
    const EditSnapshot result = model.close();
    EXPECT_EQ(result.picture.pixel(2, 2), kDefaultColourTable[0]);
    EXPECT_EQ(result.picture.pixel(0, 0), kDefaultColourTable[1]);
    EXPECT_EQ(history.undoCount(), 0);
    EXPECT_FALSE(model.isOpen());
    EXPECT_EQ(model.tool(), Tool::None);
    EXPECT_FALSE(model.undo());
}

}  // namespace
}  // namespace mozu
