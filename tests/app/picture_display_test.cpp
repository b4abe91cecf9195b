// What Image1 shows: the picture converted to Qt's RGB32 and scaled to its place without
// smoothing, with Qt's own conversion and scaling as the yardstick; and the keys' faces, which
// are drawn once and kept.

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QWindow>
#include <cmath>

#include "app/picture_convert.h"
#include "app/picture_view.h"
#include "app_test_support.h"
#include "common/kernel_path_test.h"
#include "skin/picture_key.h"
#include "skin/skinned_window.h"
#include "tests/support/pictures.h"

namespace mozu::app_test {
namespace {

using test::RandomPicture;

// Qt's conversion of the same bytes, read as BGR888.
QImage QtRgb32(const Picture& p) {
    return QImage(p.data(), p.width(), p.height(), static_cast<qsizetype>(p.stride()),
                  QImage::Format_BGR888)
        .convertToFormat(QImage::Format_RGB32);
}

// The conversion and scaling run once on each row path the processor has, forced.
class PictureDisplayPaths : public KernelPathTest<PictureScalePath> {};
MOZU_INSTANTIATE_FOR_EVERY_PATH(PictureDisplayPaths, PictureScalePath);

TEST_P(PictureDisplayPaths, ConversionMatchesQtForEveryRowLength) {
    // Widths 1-23 cover rows shorter than one four-pixel step and every remainder after it.
    for (int w = 1; w <= 23; ++w) {
        SCOPED_TRACE(w);
        const Picture p = RandomPicture(w, 3, static_cast<unsigned>(w));
        EXPECT_EQ(ToQImage(p), QtRgb32(p));
        QImage scaled;
        ToScaledQImage(p, 1, QSize(w, 3), scaled);
        EXPECT_EQ(scaled, QtRgb32(p));
    }
}

TEST_P(PictureDisplayPaths, WholeNumberWideningRepeatsEveryPixel) {
    for (int w : {1, 5, 6, 7, 160}) {
        for (int factor : {2, 3}) {
            SCOPED_TRACE(testing::Message() << w << " x" << factor);
            const Picture p = RandomPicture(w, 4, static_cast<unsigned>(w * factor));
            QImage scaled;
            ToScaledQImage(p, 1, QSize(w * factor, 8), scaled);
            // Doubling the height as well: each line twice.
            EXPECT_EQ(scaled, QtRgb32(p).scaled(w * factor, 8, Qt::IgnoreAspectRatio,
                                                Qt::FastTransformation));
        }
    }
}

// The average a shown pixel must have: every picture pixel weighted by how much of it the shown
// pixel covers, in double precision.
QRgb ReferenceAverage(const Picture& p, int dw, int dh, int x, int y) {
    const double sx = static_cast<double>(p.width()) / dw,
                 sy = static_cast<double>(p.height()) / dh;
    double sum[3] = {0, 0, 0}, total = 0;
    for (int py = 0; py < p.height(); ++py)
        for (int px = 0; px < p.width(); ++px) {
            const double ox =
                std::max(0.0, std::min((x + 1) * sx, px + 1.0) - std::max(x * sx, 1.0 * px));
            const double oy =
                std::max(0.0, std::min((y + 1) * sy, py + 1.0) - std::max(y * sy, 1.0 * py));
            const double w = ox * oy;
            if (w <= 0) continue;
            for (int c = 0; c < 3; ++c) sum[c] += w * p.row(py)[px * 3 + c];
            total += w;
        }
    return qRgb(static_cast<int>(std::lround(sum[2] / total)),
                static_cast<int>(std::lround(sum[1] / total)),
                static_cast<int>(std::lround(sum[0] / total)));
}

TEST_P(PictureDisplayPaths, TallPixelsRepeatLinesAndShrinkingAveragesWhatEachPixelCovers) {
    const Picture p = RandomPicture(10, 3, 7);
    // Lines twice at the same size as the doubled picture: every line shown twice.
    QImage doubled;
    ToScaledQImage(p, 2, QSize(10, 6), doubled);
    EXPECT_EQ(doubled, ToQImage(p, 2));
    for (int y = 0; y < 6; ++y) EXPECT_EQ(doubled.pixel(4, y), QtRgb32(p).pixel(4, y / 2)) << y;
    // 10 -> 4 columns: each shown column averages two and a half picture columns.
    QImage shrunk;
    ToScaledQImage(p, 1, QSize(4, 3), shrunk);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y) {
            const QRgb want = ReferenceAverage(p, 4, 3, x, y), got = shrunk.pixel(x, y);
            EXPECT_LE(std::abs(qRed(got) - qRed(want)), 1) << x << "," << y;
            EXPECT_LE(std::abs(qGreen(got) - qGreen(want)), 1) << x << "," << y;
            EXPECT_LE(std::abs(qBlue(got) - qBlue(want)), 1) << x << "," << y;
        }
    // Shrunk both ways (7 x 5 -> 3 x 2), the same.
    const Picture q = RandomPicture(7, 5, 11);
    QImage both;
    ToScaledQImage(q, 1, QSize(3, 2), both);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y) {
            const QRgb want = ReferenceAverage(q, 3, 2, x, y), got = both.pixel(x, y);
            EXPECT_LE(std::abs(qRed(got) - qRed(want)), 1) << x << "," << y;
            EXPECT_LE(std::abs(qBlue(got) - qBlue(want)), 1) << x << "," << y;
        }
    // The image is reused at the same size and made anew for another one.
    const uchar* memory = shrunk.constBits();
    ToScaledQImage(RandomPicture(10, 3, 8), 1, QSize(4, 3), shrunk);
    EXPECT_EQ(shrunk.constBits(), memory);
    ToScaledQImage(p, 1, QSize(5, 3), shrunk);
    EXPECT_EQ(shrunk.size(), QSize(5, 3));
}

TEST(PictureDisplay, ViewPaintsThePictureScaledAndDarkAroundIt) {
    QWidget parent;
    PictureView view("Image1", &parent);
    view.setGeometry(0, 0, 40, 20);
    const Picture p = RandomPicture(10, 5, 3);
    view.setProportional(true);
    view.setStretch(true);
    view.setPicture(p);
    EXPECT_EQ(view.pictureRect(), QRect(0, 0, 40, 20));  // 10 x 5 fits 40 x 20 exactly
    QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = ToQImage(p);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(shown.pixel(x, y), picture.pixel(x / 4, y / 4)) << x << "," << y;
    // A newer picture replaces the kept scaled one; a narrower one leaves dark columns.
    const Picture narrow = RandomPicture(5, 5, 4);
    view.setPicture(narrow);
    EXPECT_EQ(view.pictureRect(), QRect(10, 0, 20, 20));
    shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(6, 8, 10));
    EXPECT_EQ(shown.pixel(39, 19), qRgb(6, 8, 10));
    EXPECT_EQ(shown.pixel(10, 0), ToQImage(narrow).pixel(0, 0));
    EXPECT_EQ(view.image(), ToQImage(narrow));
}

TEST(PictureDisplay, KeyFaceFollowsItsCaptionAndState) {
    QWidget parent;
    PictureKey key("Key00", &parent);
    key.setPictures("BlackKeyUp", "BlackKeyDown");
    key.setCaption("Mode 0");
    const QImage mode0 = key.grab().toImage();
    key.setCaption("Mode 1");
    const QImage mode1 = key.grab().toImage();
    EXPECT_NE(mode0, mode1);  // the kept face was drawn again with the new caption
    key.setCaption("Mode 0");
    EXPECT_EQ(key.grab().toImage(), mode0);
    key.setEnabled(false);
    EXPECT_NE(key.grab().toImage(), mode0);  // faded
    key.setEnabled(true);
    EXPECT_EQ(key.grab().toImage(), mode0);
}

TEST(PictureDisplay, SkinnedWindowsKeepTheirOutlineForTheWindowSystem) {
    Program p;
    p.main().show();
    ASSERT_TRUE(p.main().windowHandle());
    EXPECT_EQ(p.main().windowHandle()->mask(), p.main().shape());
    EXPECT_FALSE(p.main().shape().isEmpty());
    // Controls are not clipped to the outline: no widget mask.
    EXPECT_TRUE(p.main().mask().isEmpty());
}

}  // namespace
}  // namespace mozu::app_test
