// The save dialog driven through its own widgets: the option pictures and the selection strings
// they give back, video mode's description, the name rules, cancel, "New Folder" and the
// fallback to the home folder.

#include "dialog_test_support.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

#include "dialogs/save_dialog.h"
#include "skin/picture_key.h"
#include "skin/theme.h"
#include "video/vid_format.h"

namespace mozu {
namespace {

using namespace dialog_test;
using Look = OptionMark::Look;

// Slots 0 and 4 hold pictures: the 23 characters the save command hands over.
const QString kSlots0And4 = "TFFFTFFFFFFFFFFFFFFFFFF";

class SaveDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        EnsureApp();
        dialog = std::make_unique<SaveDialog>(asker);
        dialog->setErrorHandler([this](int code, const QString&) { errors.push_back(code); });
        dialog->setCurrentFolder(dir.path());
    }

    OptionMark* Option(const char* name) { return Find<OptionMark>(dialog.get(), name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(dialog.get(), name); }
    void Ok() { Click(Find<PictureKey>(dialog.get(), "KeyGreen01")); }
    void Cancel() { Click(Find<PictureKey>(dialog.get(), "KeyRed01")); }
    EntryColumn* Column(int c) {
        return Find<EntryColumn>(dialog.get(), QString("ListBox%1").arg(c + 1).toLatin1());
    }

    ScriptedAsker asker{Otherwise::kYes};
    std::vector<int> errors;
    TempFolder dir;
    std::unique_ptr<SaveDialog> dialog;
};

TEST_F(SaveDialogTest, OnlyTheConvertedFormatsAreOfferedAndOkGivesTheSelectionBack) {
    for (const char* folder : {"Demos", "Games", "Screens"}) dir.mkdir(folder);
    for (const char* file : {"photo.jpg", "photo0.rim", "photo0.sca", "logo1.sgx", "intro.vid"})
        dir.touch(file);
    dialog->Show(nullptr, kSlots0And4, "photo");
    EXPECT_EQ(Option("Option00")->look(), Look::On);
    EXPECT_TRUE(Option("Option00")->isEnabled());
    EXPECT_EQ(Option("Option04")->look(), Look::On);
    for (const char* off : {"Option01", "Option02", "Option05", "Option06", "Option08", "Option09",
                            "Option10", "Option11"}) {
        EXPECT_EQ(Option(off)->look(), Look::Inactive) << off;
        EXPECT_FALSE(Option(off)->isEnabled()) << off;
    }
    EXPECT_EQ(Option("Option00")->caption(), "Mode 0");
    EXPECT_EQ(Option("Option04")->caption(), "Mode 0 overscan");
    EXPECT_EQ(Option("Option09")->caption(), "CPC SGX (fullsize)");
    EXPECT_EQ(Option("Option10")->caption(), "MSX SGX(resized)");
    // "New Folder" is no format: off, and there to be used.
    EXPECT_EQ(Option("Option16")->caption(), "New Folder");
    EXPECT_EQ(Option("Option16")->look(), Look::Off);
    EXPECT_TRUE(Option("Option16")->isVisible());
    EXPECT_FALSE(Edit("VideoTitle")->isVisible());
    EXPECT_FALSE(Edit("VideoAdd")->isVisible());
    EXPECT_EQ(Edit("Edit1")->text(), "photo");
    EXPECT_EQ(Find<FolderLabel>(dialog.get(), "Label1")->text(), dir.path());
    SaveScreenshot(dialog.get(), "save_dialog_picture");

    // A disabled option does not change.
    Click(Option("Option01"));
    EXPECT_EQ(Option("Option01")->look(), Look::Inactive);
    Ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result().selection, kSlots0And4);  // untouched: all 23 characters
    EXPECT_EQ(dialog->result().name, dir.path() + "photo");
    EXPECT_FALSE(dialog->result().cancelled());
}

TEST_F(SaveDialogTest, BothOptionsOffGiveTwelveFsWhichIsNoCancel) {
    dialog->Show(nullptr, kSlots0And4, "photo");
    OptionMark* mode0 = Option("Option00");
    // The pressed picture while the button is down, then "off" by the flag.
    QTest::mousePress(mode0, Qt::LeftButton, {}, mode0->rect().center());
    EXPECT_EQ(mode0->look(), Look::Down);
    QTest::mouseRelease(mode0, Qt::LeftButton, {}, mode0->rect().center());
    EXPECT_EQ(mode0->look(), Look::Off);
    EXPECT_TRUE(mode0->isEnabled());
    Click(Option("Option04"));
    EXPECT_EQ(Option("Option04")->look(), Look::Off);
    Ok();
    EXPECT_EQ(dialog->result().selection, "FFFFFFFFFFFF");
    EXPECT_EQ(dialog->result().selection.size(), 12);
    EXPECT_FALSE(dialog->result().cancelled());
    EXPECT_EQ(dialog->result().name, dir.path() + "photo");

    // Clicked off and on again: 12 characters, mode 0 on.
    dialog->Show(nullptr, kSlots0And4, "photo");
    Click(Option("Option00"));
    Click(Option("Option00"));
    EXPECT_EQ(Option("Option00")->look(), Look::On);
    Ok();
    EXPECT_EQ(dialog->result().selection, "TFFFTFFFFFFF");
}

TEST_F(SaveDialogTest, CancelAlwaysGivesNoneAndThirteenFs) {
    QWidget owner;
    owner.show();
    QTimer::singleShot(0, [&] {
        EXPECT_FALSE(owner.isVisible());
        Click(Option("Option00"));
        QTest::keyClicks(Edit("Edit1"), "x");
        Cancel();
    });
    const SaveDialogResult r = dialog->Execute(&owner, kSlots0And4, "photo");
    EXPECT_EQ(r.selection, "FFFFFFFFFFFFF");
    EXPECT_EQ(r.name, "<none>");
    EXPECT_TRUE(r.cancelled());
    EXPECT_TRUE(owner.isVisible());

    // Closed by the window manager: a cancel too, also in video mode.
    QTimer::singleShot(0, [&] { dialog->close(); });
    const SaveDialogResult closed = dialog->Execute(&owner, "V", "Rain.avi");
    EXPECT_TRUE(closed.cancelled());
    EXPECT_EQ(closed.name, "<none>");
}

TEST_F(SaveDialogTest, VideoModeAsksForATitleAndGivesTheDescription) {
    dialog->Show(nullptr, "V", "/videos/Rain.avi");
    for (const char* opt : {"Option00", "Option04", "Option16"})
        EXPECT_FALSE(Option(opt)->isVisible()) << opt;
    EXPECT_TRUE(Edit("VideoTitle")->isVisible());
    EXPECT_TRUE(Find<QLabel>(dialog.get(), "VideoTitleCaption")->isVisible());
    EXPECT_EQ(Edit("VideoTitle")->text(), "Rain");
    EXPECT_EQ(Edit("VideoAdd")->text(),
              "Converted with Mozu " +
                  QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    EXPECT_EQ(Edit("Edit1")->text(), "Rain");
    SaveScreenshot(dialog.get(), "save_dialog_video");

    Edit("VideoAdd")->clear();
    Ok();
    const QString expected = QString(QChar(36)) + "Rain" + QChar(32);
    EXPECT_EQ(dialog->result().selection, expected);
    EXPECT_EQ(dialog->result().name, dir.path() + "Rain");
    const VideoDescription d = ParseVideoDescription(dialog->result().selection.toStdString());
    EXPECT_EQ(d.title, "Rain");
    EXPECT_EQ(d.information, "");

    // Texts are cut to 32 characters each.
    dialog->Show(nullptr, "V", "clip");
    Edit("VideoTitle")->setText(QString(40, 'T'));
    Edit("VideoAdd")->setText("Made on a CPC");
    Ok();
    EXPECT_EQ(dialog->result().selection,
              QString(QChar(64)) + QString(32, 'T') + QChar(32 + 13) + "Made on a CPC");
}

TEST_F(SaveDialogTest, NamesAreCutToTheirAmsName) {
    dir.mkdir("Old");
    dir.touch("sunset0.rim");
    dir.touch("clip.avi");  // no video of the save list
    dialog->Show(nullptr, kSlots0And4, "photo");
    EXPECT_EQ(Column(0)->count(), 1);
    EXPECT_EQ(Column(1)->count(), 1);
    EXPECT_EQ(Column(0)->entries()[0].icon, EntryIcon::Folder);
    EXPECT_EQ(Column(1)->text(0), "sunset0.rim");
    EXPECT_EQ(Column(1)->entries()[0].icon, EntryIcon::Image);

    QLineEdit* edit1 = Edit("Edit1");
    edit1->clear();
    QTest::keyClicks(edit1, "pic.bmp");
    EXPECT_EQ(dialog->chosenName(), "pic");
    ClickRow(Column(1), 0);
    EXPECT_EQ(dialog->chosenName(), "sunset0");
    EXPECT_EQ(edit1->text(), "sunset0");
    EXPECT_EQ(dialog->currentFolder(), dir.path());  // the list stays

    // No name: OK does nothing.
    edit1->clear();
    Ok();
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClicks(edit1, "holiday2026");  // the field takes 7 characters
    EXPECT_EQ(edit1->text(), "holiday");
    Ok();
    EXPECT_EQ(dialog->result().name, dir.path() + "holiday");
}

TEST_F(SaveDialogTest, NewFolderTakesALongNameAndEntersTheFolder) {
    asker.names.push_back("Holiday pictures 2026");
    dialog->Show(nullptr, kSlots0And4, "pic");
    Click(Option("Option16"));
    ASSERT_EQ(asker.nameRequests.size(), 1u);
    EXPECT_EQ(asker.nameRequests[0].prompt, "Enter folder name");
    EXPECT_EQ(asker.nameRequests[0].maxLength, 0);  // any length
    EXPECT_TRUE(QDir(dir.path() + "Holiday pictures 2026").exists());
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "Holiday pictures 2026/");
    EXPECT_EQ(dialog->level(), PathDepth(dir.path()) + 1);
    EXPECT_EQ(Find<FolderLabel>(dialog.get(), "Label1")->text(),
              dir.path() + "Holiday pictures 2026/");
    EXPECT_EQ(Option("Option16")->look(), Look::Off);
    EXPECT_EQ(dialog->result().selection, kSlots0And4);  // no format flag changed
    Ok();
    EXPECT_EQ(dialog->result().name, dir.path() + "Holiday pictures 2026/pic");
    EXPECT_EQ(dialog->result().selection, kSlots0And4);

    // A folder that cannot be made (a file has the name) is an input/output error; the
    // dialog stays where it was.
    dir.touch("taken");
    dialog->setCurrentFolder(dir.path());
    asker.names.push_back("taken");
    dialog->Show(nullptr, kSlots0And4, "pic");
    Click(Option("Option16"));
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(dialog->currentFolder(), dir.path());
    Cancel();
}

TEST_F(SaveDialogTest, UpGoesToTheParentThenTheDrivesWhereOkWritesNothing) {
    dir.mkdir("sub");
    dialog->setDrives({{"/", "/", DriveType::Fixed, "/dev/sda1"},
                       {"Home", dialog->homeFolder(), DriveType::Fixed, {}},
                       {"STICK", dir.path(), DriveType::Removable, "/dev/sdb1"}});
    dialog->setCurrentFolder("/tmp/");
    dialog->Show(nullptr, kSlots0And4, "pic");
    Click(Find<PictureKey>(dialog.get(), "Key01"));  // from /tmp/ to its parent, the root
    EXPECT_EQ(dialog->level(), 1);
    EXPECT_EQ(dialog->currentFolder(), "/");
    Click(Find<PictureKey>(dialog.get(), "Key01"));  // above the root: the drive list
    EXPECT_EQ(dialog->level(), 0);
    EXPECT_EQ(Texts(Column(0)), (std::vector<QString>{"/", "Home"}));
    EXPECT_EQ(Texts(Column(1)), (std::vector<QString>{"STICK"}));
    EXPECT_EQ(Column(0)->itemHeight(), 60);
    // The names at the dialog's font size: "Home" is drawn whole beside its icon.
    EXPECT_EQ(Column(0)->fontPixels(), 16);
    EXPECT_LE(QFontMetrics(Theme::Font(16, false)).horizontalAdvance("Home") + 64,
              Column(0)->width());
    EXPECT_EQ(Find<FolderLabel>(dialog.get(), "Label1")->text(), "");
    // No folder chosen: OK waits for one.
    Ok();
    EXPECT_TRUE(dialog->isVisible());
    ClickRow(Column(1), 0);
    EXPECT_EQ(dialog->currentFolder(), dir.path());
    EXPECT_EQ(Texts(Column(0)), (std::vector<QString>{"sub"}));
    ClickRow(Column(0), 0);
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "sub/");
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->currentFolder(), dir.path());
    Ok();
    EXPECT_EQ(dialog->result().name, dir.path() + "pic");

    // Up from the home folder goes to its parent; Up in the drives view to the home folder.
    dialog->setCurrentFolder(dialog->homeFolder());
    dialog->Show(nullptr, kSlots0And4, "pic");
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->currentFolder(), ParentFolder(dialog->homeFolder()));
    while (dialog->level() > 0) Click(Find<PictureKey>(dialog.get(), "Key01"));
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->currentFolder(), dialog->homeFolder());
    Cancel();
}

TEST_F(SaveDialogTest, ARememberedFolderThatHasGoneFallsBackToTheHomeFolder) {
    dir.mkdir("gone");
    dialog->setCurrentFolder(dir.path() + "gone/");
    dialog->Show(nullptr, kSlots0And4, "pic");
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "gone/");
    Cancel();
    QDir(dir.path() + "gone").removeRecursively();
    dialog->Show(nullptr, kSlots0And4, "pic");
    EXPECT_EQ(dialog->currentFolder(), dialog->homeFolder());
    EXPECT_EQ(dialog->level(), PathDepth(dialog->homeFolder()));
    Ok();
    EXPECT_EQ(dialog->result().name, dialog->homeFolder() + "pic");
}

}  // namespace
}  // namespace mozu
