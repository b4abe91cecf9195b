// The skin's small pieces: the window outlines, the symbols drawn for the video keys'
// captions, and the theme's pictures.

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "app/main_window_layout.h"
#include "app_test_support.h"
#include "skin/shape.h"
#include "skin/symbol_label.h"
#include "skin/theme.h"

namespace mozu::app_test {
namespace {

TEST(WindowShapes, MainWindowIsTheEllipsesAndTheProgressCircle) {
    const QRegion shape = MainWindowShape();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));      // a corner
    EXPECT_FALSE(shape.contains(QPoint(5, 680)));    // beside the progress circle
    EXPECT_TRUE(shape.contains(QPoint(397, 20)));    // top of the wide ellipse E2
    EXPECT_TRUE(shape.contains(QPoint(10, 208)));    // its left end
    EXPECT_TRUE(shape.contains(QPoint(397, 600)));   // bottom of E1
    EXPECT_TRUE(shape.contains(QPoint(398, 660)));   // the progress circle E3 below E1
    EXPECT_FALSE(shape.contains(QPoint(398, 670)));  // under it
    // Every key and the picture area lie inside.
    Program p;
    for (QWidget* w : p.main().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->objectName().startsWith("Key") && w->objectName() != "ExitKey") continue;
        EXPECT_TRUE(shape.contains(w->geometry())) << w->objectName().toStdString();
    }
    EXPECT_TRUE(shape.contains(QRect(216, 152, 368, 264)));
}

TEST(WindowShapes, MessageWindowHoldsItsKeysAndText) {
    const QRegion shape = MessageWindowShape();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(147, 300)));        // the lower part of the 335 rows is cut
    EXPECT_TRUE(shape.contains(QRect(82, 168, 35, 20)));   // KeyGreen01
    EXPECT_TRUE(shape.contains(QRect(178, 168, 35, 20)));  // KeyRed01
    EXPECT_TRUE(shape.contains(QPoint(147, 200)));         // Key01's middle
}

// The symbol a caption character is drawn as, in a 24 x 16 picture.
QImage Symbol(QChar c) {
    QImage picture(24, 16, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    EXPECT_TRUE(DrawSymbol(p, QRectF(0, 0, 24, 16), c, Qt::white)) << QString(c).toStdString();
    return picture;
}

int WhiteLeftOfMiddle(const QImage& picture) {
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width() / 2; ++x)
            if (qRed(picture.pixel(x, y)) > 200 && qAlpha(picture.pixel(x, y)) > 200) ++n;
    return n;
}

TEST(VideoKeySymbols, EachCaptionCharacterHasItsOwnSymbol) {
    const QString characters = "4;<789:";
    for (int i = 0; i < characters.size(); ++i)
        for (int j = i + 1; j < characters.size(); ++j)
            EXPECT_NE(Symbol(characters[i]), Symbol(characters[j]))
                << characters[i].toLatin1() << " and " << characters[j].toLatin1();
    // Play points right: its broad base is on the left. Back points left.
    const QImage play = Symbol('4');
    EXPECT_GT(qAlpha(play.pixel(8, 3)), 0);
    EXPECT_EQ(qAlpha(play.pixel(15, 2)), 0);
    EXPECT_GT(WhiteLeftOfMiddle(Symbol('7')), 0);
    // Characters without a symbol are drawn as text.
    QImage picture(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&picture);
    EXPECT_FALSE(DrawSymbol(p, QRectF(0, 0, 8, 8), 'a', Qt::white));
}

TEST(VideoKeySymbols, TheLabelKeepsItsCharacter) {
    Program p;
    auto* label = p.main().findChild<SymbolLabel*>("VideoLabel04");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "4");
    label->setText(";");
    EXPECT_EQ(label->text(), ";");
}

TEST(Theme, EveryPictureTheWindowsNameIsInTheSkin) {
    for (const char* name :
         {"MainBackground", "Information",   "BlackKeyUp",   "BlackKeyDown",  "RedKeyUp",
          "RedKeyDown",     "SmallKeyUp",    "SmallKeyDown", "GreenKeyUp",    "GreenKeyDown",
          "MsgImage1",      "MsgImage2",     "MsgImage3",    "MsgKeyGreenUp", "MsgKeyGreenDown",
          "MsgKeyRedUp",    "MsgKeyRedDown", "ProgressBall", "HScrollButton", "MozuIcon"})
        EXPECT_FALSE(Theme::Picture(name).isNull()) << name;
    EXPECT_EQ(Theme::Picture("MainBackground").size(), QSize(794, 691));
    EXPECT_EQ(Theme::Picture("MsgImage1").size(), QSize(295, 335));
    EXPECT_TRUE(Theme::Picture("NoSuchPicture").isNull());
}

}  // namespace
}  // namespace mozu::app_test
