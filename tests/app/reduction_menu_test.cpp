// The reduction menu of the conversion keys, driven as a user does: a right press opens it with
// the classic method ticked, a choice changes what the key's next press makes, the choice stays
// with its slot, and Label3's tooltip names the method of the slot on show.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "app_test_support.h"
#include "skin/skin_label.h"

namespace mozu::app_test {
namespace {

QWidget* Key(MainWindow& w, const char* name) {
    return w.findChild<QWidget*>(name);
}

// Right-presses the key and returns the menu it opened.
QMenu* OpenMenu(MainWindow& w, const char* key) {
    QTest::mousePress(Key(w, key), Qt::RightButton);
    QMenu* menu = nullptr;
    WaitUntil([&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu != nullptr && menu->isVisible();
    });
    return menu;
}

QAction* Entry(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(name);
}

TEST(ReductionMenu, RightPressChoosesTheMethodOfThatKey) {
    Program p;
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return p.Text("Label1").startsWith("Bitmap image"); }));
    Document& doc = p.main().document();
    QWidget* label3 = p.main().findChild<QWidget*>("Label3");
    ASSERT_NE(label3, nullptr);

    Click(Key(p.main(), "Key02"));
    const Picture classic = doc.state().slots[Slot::Mode2];
    EXPECT_EQ(label3->toolTip(), "Colour reduction: classic");

    QMenu* menu = OpenMenu(p.main(), "Key02");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Entry(menu, "classic")->isChecked());
    EXPECT_FALSE(Entry(menu, "serpentine")->isEnabled()) << "classic has no serpentine scan";
    EXPECT_FALSE(Entry(menu, "rgb")->isEnabled());
    Entry(menu, "floyd-steinberg")->trigger();
    menu->close();
    EXPECT_EQ(doc.reductionOptions(Slot::Mode2).method, ReductionMethod::FloydSteinberg);
    EXPECT_EQ(label3->toolTip(), "Colour reduction: floyd-steinberg, OKLab error");

    Click(Key(p.main(), "Key02"));  // converts again with the new method
    EXPECT_NE(doc.state().slots[Slot::Mode2], classic);
    EXPECT_EQ(p.Text("Label3"), "CPC mode 2\n\r640x200\n\r2 colors");

    // The choice stays with the slot: the menu opens with it ticked, the toggles apply to it.
    menu = OpenMenu(p.main(), "Key02");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Entry(menu, "floyd-steinberg")->isChecked());
    EXPECT_FALSE(Entry(menu, "classic")->isChecked());
    Entry(menu, "serpentine")->trigger();
    menu->close();
    menu = OpenMenu(p.main(), "Key02");
    ASSERT_NE(menu, nullptr);
    Entry(menu, "rgb")->trigger();
    menu->close();
    const ReductionOptions chosen = doc.reductionOptions(Slot::Mode2);
    EXPECT_TRUE(chosen.serpentine);
    EXPECT_EQ(chosen.space, ErrorSpace::Rgb);
    EXPECT_EQ(label3->toolTip(), "Colour reduction: floyd-steinberg, serpentine, RGB error");

    // Another key keeps the classic method, and its slot's tooltip says so.
    Click(Key(p.main(), "Key01"));
    EXPECT_TRUE(doc.reductionOptions(Slot::Mode1).isDefault());
    EXPECT_EQ(label3->toolTip(), "Colour reduction: classic");
    menu = OpenMenu(p.main(), "Key16");
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Entry(menu, "clustering")->isEnabled()) << "the SymbOS pens are fixed";
    menu->close();
}

}  // namespace
}  // namespace mozu::app_test
