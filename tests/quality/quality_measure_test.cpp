#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "colour/conversion_commands.h"
#include "colour/dithering_methods.h"
#include "colour/resize.h"
#include "media/image_loader.h"
#include "quality/quality_measure.h"
#include "tests/support/pictures.h"
#include "tests/support/scripted_asker.h"

namespace mozu {
namespace {

Picture Grey(int w, int h, int v) {
    return Picture(w, h, MakeColour(v, v, v));
}

TEST(QualityMeasure, IdenticalPicturesScorePerfectly) {
    const Picture p = test::SmoothPicture(80, 60, 4);
    const QualityScore s = ComparePictures(p, p);
    EXPECT_DOUBLE_EQ(s.colourError, 0.0);
    EXPECT_NEAR(s.ssim, 1.0, 1e-9);
}

TEST(QualityMeasure, OneLevelOfGreyIsAThirdOfAUnit) {
    // For a grey the three cone responses are equal, so OKLab L is the cube root of linear
    // light: sRGB 128 -> 0.21586 -> 0.59987, 129 -> 0.21961 -> 0.60332; 100 x 0.00345.
    const QualityScore s = ComparePictures(Grey(40, 30, 129), Grey(40, 30, 128));
    EXPECT_NEAR(s.colourError, 0.345, 0.01);
    EXPECT_GT(s.ssim, 0.999);
}

TEST(QualityMeasure, ACheckerboardBlursToFlatGrey) {
    Picture board(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            board.setPixel(x, y, (x + y) % 2 ? MakeColour(255, 255, 255) : MakeColour(0, 0, 0));
    // Black and white dots in equal parts mix to the sRGB value halfway, 127.5.
    const QualityScore mixed = ComparePictures(board, Grey(64, 64, 128));
    EXPECT_LT(mixed.colourError, 0.5);
    EXPECT_GT(mixed.ssim, 0.99);
    // Against a darker grey the error is large, and the structure of a flat grey against half
    // black, half white stripes is lost.
    EXPECT_GT(ComparePictures(board, Grey(64, 64, 64)).colourError, 15.0);
    Picture stripes(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            stripes.setPixel(x, y, x < 32 ? MakeColour(255, 255, 255) : MakeColour(0, 0, 0));
    EXPECT_LT(ComparePictures(board, stripes).ssim, 0.5);
}

TEST(QualityMeasure, DifferentSizesAreRefused) {
    EXPECT_THROW(ComparePictures(Grey(4, 4, 0), Grey(4, 5, 0)), std::invalid_argument);
    EXPECT_THROW(ComparePictures(Picture(), Picture()), std::invalid_argument);
}

TEST(QualityMeasure, DisplayedPictureHasTheModesPixelShapeAt4To3) {
    Picture p(2, 5);
    p.setPixel(0, 0, MakeColour(255, 0, 0));
    // Mode 0: pixels two wide; 5 rows become 6 display rows.
    const Picture mode0 = DisplayedPicture(p, 2, 1);
    ASSERT_EQ(mode0.width(), 4);
    ASSERT_EQ(mode0.height(), 6);
    EXPECT_EQ(mode0.pixel(1, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(mode0.pixel(2, 0), MakeColour(0, 0, 0));
    // Mode 2: two tall; 10 rows become 12; a full 640 x 200 screen is 640 x 480, 4:3.
    const Picture mode2 = DisplayedPicture(p, 1, 2);
    EXPECT_EQ(mode2.width(), 2);
    EXPECT_EQ(mode2.height(), 12);
    EXPECT_EQ(mode2.pixel(0, 1), MakeColour(255, 0, 0));
    EXPECT_EQ(mode2.pixel(0, 3), MakeColour(0, 0, 0));
    const Picture screen = DisplayedPicture(Picture(640, 200), 1, 2);
    EXPECT_EQ(screen.width() * 3, screen.height() * 4);
}

// The measure on a real conversion of the sample photograph in mode 2: the classic grey
// ditherer turns everything from mid grey up white; Floyd-Steinberg in RGB keeps the tones and
// with pens chosen by clustering the structure too, and the measure says so.
TEST(QualityMeasure, MeasureSlotPrefersTheBetterMode2Dither) {
    Picture photo;
    LoadJpeg(MOZU_SOURCE_DIR "/samples/sample.jpg", photo);
    ConversionState state;
    AdoptPcPicture(state, photo);
    const Picture work = ResizeBitmap(state, std::as_const(state.source), Slot::Mode2);
    test::ScriptedAsker asker;
    ConversionState classic = state, tones = state, clustered = state;
    ConvertSlotCommand(classic, asker, Slot::Mode2, false);
    ReductionOptions o;
    o.method = ReductionMethod::FloydSteinberg;
    o.space = ErrorSpace::Rgb;
    ConvertSlotCommand(tones, asker, Slot::Mode2, false, o);
    o.palette = PaletteChoice::Clustering;
    ConvertSlotCommand(clustered, asker, Slot::Mode2, false, o);
    const QualityScore a = MeasureSlot(classic, Slot::Mode2, work);
    const QualityScore b = MeasureSlot(tones, Slot::Mode2, work);
    const QualityScore c = MeasureSlot(clustered, Slot::Mode2, work);
    EXPECT_LT(b.colourError, a.colourError * 0.75);
    EXPECT_GT(c.ssim, a.ssim + 0.1);
}

}  // namespace
}  // namespace mozu
