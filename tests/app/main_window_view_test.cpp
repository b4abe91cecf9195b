// The main window as a view of its document: whatever changes the document, a key or code
// holding the document, the window shows what the document's notices say.

#include <gtest/gtest.h>

#include "app/picture_convert.h"
#include "app/picture_view.h"
#include "app_test_support.h"
#include "document/open_file.h"
#include "tests/support/scripted_asker.h"

namespace mozu::app_test {
namespace {

PictureView* Image1(MainWindow& w) {
    return w.findChild<PictureView*>("Image1");
}

TEST(MainWindowView, FollowsTheDocumentWhenCodeChangesIt) {
    Program p;
    Document& doc = p.main().document();
    ASSERT_FALSE(Image1(p.main())->isVisible());

    // Opened without any key: Image1 appears with the source in the standard place.
    ASSERT_TRUE(OpenFile(doc, SamplePhoto().toStdString(), OpenOrigin::Chosen).opened());
    EXPECT_TRUE(Image1(p.main())->isVisible());
    EXPECT_EQ(p.main().shownImage(), ToQImage(doc.state().source));
    EXPECT_EQ(Image1(p.main())->geometry(), QRect(216, 152, 368, 264));

    // A conversion shows the slot at its place: mode 1 at 320 x 200 from (240, 184).
    test::ScriptedAsker asker;
    doc.convert(Slot::Mode1, asker);
    EXPECT_EQ(p.main().shownImage(), ToQImage(doc.state().picture(Slot::Mode1)));
    EXPECT_EQ(Image1(p.main())->geometry(), QRect(240, 184, 320, 200));

    // The overscan key's level picture is shown last, as the key shows it.
    doc.convert(Slot::Overscan0, asker);
    EXPECT_EQ(p.main().shownImage(), ToQImage(doc.state().picture(Slot::Level0)));

    doc.showSource();
    EXPECT_EQ(p.main().shownImage(), ToQImage(doc.state().source));
    EXPECT_EQ(Image1(p.main())->geometry(), QRect(216, 152, 368, 264));

    doc.closePicture();
    EXPECT_FALSE(Image1(p.main())->isVisible());
}

TEST(MainWindowView, TheWindowsSizeIsTheContrastArea) {
    // The adjustment keys pass the window's own size; the command-line tool passes the same
    // constant, so both make the same pictures.
    Program p;
    EXPECT_EQ(p.main().width(), kMainWindowArea.width);
    EXPECT_EQ(p.main().height(), kMainWindowArea.height);
}

}  // namespace
}  // namespace mozu::app_test
