// The main window's open and save commands, file drops and hand-offs, the unsaved-pictures
// question and the exit command, driven as a user would: keys clicked, files dropped, the
// dialogs and the message window answered through their own widgets.

#include <gtest/gtest.h>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include "app/picture_convert.h"
#include "app/picture_view.h"
#include "app/single_instance.h"
#include "app_test_support.h"
#include "colour/count_colors.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "formats/file_type.h"
#include "media/image_loader.h"
#include "skin/skin_label.h"
#include "skin/symbol_label.h"
#include "tests/support/file_bytes.h"
#include "tests/support/screen_dump_file.h"

namespace mozu::app_test {
namespace {

QWidget* Key(MainWindow& w, const char* name) {
    return w.findChild<QWidget*>(name);
}

void DropSample(Program& p) {
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
}

// A headed screen file without our start-up routine: recognised, but not readable (type 3).
QString WriteForeignScreen(const Program& p) {
    QByteArray bytes(16512, '\0');
    bytes[21] = 0x00;
    bytes[22] = static_cast<char>(0xC0);
    bytes[25] = 0x40;
    bytes[65] = 0x40;
    const QString path = p.folder() + "foreign.scr";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

TEST(MainWindowFiles, OpenAPictureThroughTheOpenDialog) {
    Program p;
    const QString path = p.Write("three.bmp", ThreeColourPicture());
    p.windows().open->setCurrentFolder(p.folder());
    PickInOpenDialog(p.windows().open.get(), "three.bmp");
    Click(Key(p.main(), "Key20"));
    EXPECT_EQ(p.Text("Label1"), ".BMP image\n\r64x40\n\r3 colors");
    EXPECT_EQ(p.Text("Label4"), "");
    EXPECT_EQ(p.main().document().state().currentFileName, path.toStdString());
    EXPECT_EQ(p.main().document().state().sourceSlot, Slot::Source);
    EXPECT_EQ(p.main().document().state().currentSlot, Slot::Source);
    EXPECT_EQ(p.main().document().state().sourceColourCount, 3);
    EXPECT_FALSE(p.main().document().state().noPicture);
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_EQ(p.main().shownImage().size(), QSize(64, 40));
    EXPECT_TRUE(p.script().shown.empty());
}

TEST(MainWindowFiles, CancelInTheOpenDialogKeepsThePictures) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key00"));
    const Picture slot0 = p.main().document().state().picture(Slot::Mode0);
    // One unsaved picture: the question, answered no; then the dialog, cancelled.
    p.script().No();
    PickInOpenDialog(p.windows().open.get(), QString());
    Click(Key(p.main(), "Key20"));
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "1 file not saved. Do you want save it now");
    EXPECT_EQ(p.main().document().state().converted[Slot::Mode0], 1);
    EXPECT_EQ(p.main().document().state().saved[Slot::Mode0],
              0);  // nothing replaced it: still unsaved
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode0), slot0);
    EXPECT_EQ(p.main().document().state().currentFileName, SamplePhoto().toStdString());
    EXPECT_EQ(p.Text("Label4"), "");
}

TEST(MainWindowFiles, DropOpensAPictureAndSetsTheFileName) {
    Program p;
    DropSample(p);
    ConversionState counted;
    Picture sample;
    LoadJpeg(SamplePhoto().toStdString(), sample);
    const int colours = CountColors(counted, sample);
    EXPECT_EQ(p.Text("Label1"), QString("Bitmap image\n\r640x400\n\r%1 colors").arg(colours));
    EXPECT_EQ(p.main().document().state().currentFileName, SamplePhoto().toStdString());
    const QString bmp = p.Write("three.bmp", ThreeColourPicture());
    DropFiles(&p.main(), {bmp});
    EXPECT_EQ(p.Text("Label1"), "Bitmap image\n\r64x40\n\r3 colors");
    EXPECT_EQ(p.main().document().state().currentFileName, bmp.toStdString());
    Screenshot(&p.main(), "main_picture_opened");
}

TEST(MainWindowFiles, TwoFilesAtOnceOpenNothing) {
    Program p;
    p.script().Snap("msg_notice_one_file").Ok();
    DropFiles(&p.main(), {SamplePhoto(), SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.script().shown.empty(); }));
    EXPECT_EQ(p.script().shown[0].kind, MessageWindow::kNotice);
    EXPECT_EQ(p.script().shown[0].text, "One file at same time only");
    EXPECT_TRUE(p.main().document().state().noPicture);
}

TEST(MainWindowFiles, ForeignScreenFileIsNotSupportedAndChangesNothing) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key01"));
    const auto converted = p.main().document().state().converted;
    const auto saved = p.main().document().state().saved;
    const QString foreign = WriteForeignScreen(p);
    ASSERT_EQ(IsSupportedFile(foreign.toStdString()), FileType::HeadedScreen);
    p.script().No().Ok();  // the unsaved question, then the notice
    DropFiles(&p.main(), {foreign});
    ASSERT_TRUE(WaitUntil([&] { return p.script().shown.size() == 2; }));
    EXPECT_EQ(p.script().shown[1].text, "Not supported file format");
    EXPECT_EQ(p.script().shown[1].kind, MessageWindow::kNotice);
    EXPECT_EQ(p.main().document().state().converted, converted);
    EXPECT_EQ(p.main().document().state().saved, saved);  // the old pictures were not replaced
    EXPECT_EQ(p.main().document().state().currentFileName, SamplePhoto().toStdString());
}

TEST(MainWindowFiles, AnotherToolsScreenAsksItsModeUnlessAPaletteFileIsBeside) {
    Program p;
    const QString dump = p.folder() + "dump.scr";
    test::WriteBytes(dump.toStdString(), test::ScreenDumpBytes(2, test::DumpPens(2, 4)));
    p.script().Snap("msg_screen_mode").Name("2");
    DropFiles(&p.main(), {dump});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].kind, MessageWindow::kNameRequest);
    EXPECT_EQ(p.script().shown[0].text, "Screen mode of dump.scr (0, 1 or 2)");
    EXPECT_EQ(p.msg().findChild<SkinLabel*>("Label2")->text(), "Mode ");
    EXPECT_EQ(p.Text("Label1"), "CPC screen dump\n\r640x200\n\rfirmware colours");
    EXPECT_EQ(p.main().document().state().sourceSlot, Slot::Mode2);
    EXPECT_EQ(p.main().document().state().currentFileName, dump.toStdString());
    Screenshot(&p.main(), "main_screen_dump_opened");

    // With a palette file beside it nothing is asked; mode and colours are the file's.
    const QString art = p.folder() + "art.scr";
    test::WriteBytes(art.toStdString(),
                     test::WithAmsdosHeader(test::ScreenDumpBytes(0, test::DumpPens(0, 5))));
    std::array<std::uint8_t, 16> hardware{};
    hardware.fill(0x4B);
    test::WriteBytes((p.folder() + "art.pal").toStdString(), test::ArtPaletteFile(0, hardware));
    DropFiles(&p.main(), {art});
    ASSERT_TRUE(WaitUntil(
        [&] { return p.main().document().state().currentFileName == art.toStdString(); }));
    EXPECT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.Text("Label1"), "CPC screen dump\n\r160x200\n\rcolours of art.pal");
    EXPECT_EQ(p.main().document().state().sourceSlot, Slot::Mode0);
    EXPECT_EQ(p.main().document().state().sourceColourCount, 1);  // every pen bright white
    // A conversion key works on it as on any picture: one colour converts without dithering.
    p.script().Yes();
    Click(Key(p.main(), "Key01"));
    ASSERT_TRUE(WaitUntil([&] { return p.main().document().state().converted[Slot::Mode1] == 1; }));
    EXPECT_EQ(p.script().shown.size(), 2u);
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST(MainWindowFiles, InputOutputErrorIsShownByItsTextAndTheFileName) {
    Program p;
    QFile f(p.folder() + "broken.jpg");
    f.open(QIODevice::WriteOnly);
    f.write("\xFF\xD8\xFF\xE0 not really a JPEG");
    f.close();
    p.script().Snap("msg_error").Ok();
    DropFiles(&p.main(), {f.fileName()});
    ASSERT_TRUE(WaitUntil([&] { return !p.script().shown.empty(); }));
    EXPECT_EQ(p.script().shown[0].kind, MessageWindow::kError);
    // The code's text first, then the file's name on a line of its own.
    EXPECT_TRUE(p.script().shown[0].text == "Read error:End of file\n\rbroken.jpg" ||
                p.script().shown[0].text == "Unavailable input operation\n\rbroken.jpg")
        << p.script().shown[0].text.toStdString();
    EXPECT_TRUE(p.main().document().state().noPicture);

    p.script().Ok();
    DropFiles(&p.main(), {p.folder() + "missing.jpg"});
    ASSERT_TRUE(WaitUntil([&] { return p.script().shown.size() == 2; }));
    EXPECT_EQ(p.script().shown[1].text, "File not found\n\rmissing.jpg");

    // A file handed over by a second instance: the same.
    p.script().Ok();
    p.main().openHandedOverFile(p.folder() + "gone.bmp");
    ASSERT_TRUE(WaitUntil([&] { return p.script().shown.size() == 3; }));
    EXPECT_EQ(p.script().shown[2].kind, MessageWindow::kError);
    EXPECT_EQ(p.script().shown[2].text, "File not found\n\rgone.bmp");
}

TEST(MainWindowFiles, SecondInstanceHandsItsFileOver) {
    Program p;
    SingleInstance first(QString("mozu-test-%1").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(first.Listen());
    QObject::connect(&first, &SingleInstance::pathReceived, &p.main(),
                     [&p](const QString& path) { p.main().openHandedOverFile(path); });
    const SingleInstance second(first.name());
    const QString bmp = p.Write("three.bmp", ThreeColourPicture());
    ASSERT_TRUE(second.HandOff(bmp));
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    EXPECT_EQ(p.Text("Label1"), "Bitmap image\n\r64x40\n\r3 colors");
    EXPECT_EQ(p.main().document().state().currentFileName, bmp.toStdString());
}

TEST(MainWindowFiles, HandOffAsksTheUnsavedQuestionAndWaitsForAConversion) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key00"));
    Click(Key(p.main(), "Key01"));
    const QString bmp = p.Write("three.bmp", ThreeColourPicture());
    // While a video conversion runs, a hand-off is ignored.
    p.main().setVideoConversionRunning(true);
    p.main().openHandedOverFile(bmp);
    EXPECT_TRUE(p.script().shown.empty());
    EXPECT_EQ(p.main().document().state().currentFileName, SamplePhoto().toStdString());
    p.main().setVideoConversionRunning(false);
    // Then it asks like a drop (two unsaved pictures: the plural).
    p.script().No();
    p.main().openHandedOverFile(bmp);
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "2 files not saved. Do you want save they now");
    EXPECT_EQ(p.main().document().state().currentFileName, bmp.toStdString());
    EXPECT_EQ(p.main().document().state().saved[Slot::Mode0],
              1);  // replaced: nothing is unsaved any more
    EXPECT_EQ(p.main().document().state().converted[Slot::Mode0], 0);
}

TEST(MainWindowFiles, HandOffReadsAPathOfBoundedLength) {
    SingleInstance server(QString("mozu-bound-%1").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(server.Listen());
    QStringList received;
    QObject::connect(&server, &SingleInstance::pathReceived,
                     [&received](const QString& path) { received << path; });
    // A sender that claims a path longer than any path: dropped unread.
    QLocalSocket liar;
    liar.connectToServer(server.name());
    ASSERT_TRUE(liar.waitForConnected(1000));
    const char header[4] = {0x00, 0x00, 0x10, 0x00};  // 1 MB
    liar.write(header, 4);
    liar.write(QByteArray(5000, 'a'));
    liar.flush();
    WaitUntil([&] { return liar.state() == QLocalSocket::UnconnectedState; }, 1000);
    EXPECT_TRUE(received.isEmpty());
    // A path of ordinary length arrives whole, any characters included.
    const SingleInstance client(server.name());
    ASSERT_TRUE(client.HandOff(QString::fromUtf8("/tmp/zdjęcie ü.jpg")));
    ASSERT_TRUE(WaitUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received.front(), QString::fromUtf8("/tmp/zdjęcie ü.jpg"));
}

TEST(MainWindowFiles, SaveAsksBeforeOverwritingAndTakesANewName) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key00"));
    // "pic0.rim" exists: the user keeps it and gives the name "new" instead.
    QFile existing(p.folder() + "pic0.rim");
    existing.open(QIODevice::WriteOnly);
    existing.write("keep me");
    existing.close();
    p.windows().save->setCurrentFolder(p.folder());
    p.script().Snap("msg_question_overwrite").No().Snap("msg_name_request").Name("new");
    AnswerSaveDialog(p.windows().save.get(), "pic");
    QWidget* saveKey = Key(p.main(), "Key21");
    Click(saveKey);
    ASSERT_EQ(p.script().shown.size(), 2u);
    EXPECT_EQ(p.script().shown[0].text, "File pic0.rim exists\n\rOverwrite ?");
    EXPECT_EQ(p.script().shown[0].kind, MessageWindow::kQuestion);
    EXPECT_EQ(p.script().shown[1].text, "Enter new filename");
    EXPECT_EQ(p.script().shown[1].kind, MessageWindow::kNameRequest);
    EXPECT_TRUE(QFile::exists(p.folder() + "new0.rim"));
    EXPECT_EQ(QFileInfo(p.folder() + "new0.rim").size(), 16512);
    QFile kept(p.folder() + "pic0.rim");
    kept.open(QIODevice::ReadOnly);
    EXPECT_EQ(kept.readAll(), "keep me");
    EXPECT_EQ(p.main().document().state().saved[Slot::Mode0], 1);
    EXPECT_EQ(p.Text("Label4"), "");
}

TEST(MainWindowFiles, CancelInTheSaveDialogWritesNothing) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key02"));
    const Picture slot2 = p.main().document().state().picture(Slot::Mode2);
    p.windows().save->setCurrentFolder(p.folder());
    AnswerSaveDialog(p.windows().save.get(), QString());
    Click(Key(p.main(), "Key21"));
    EXPECT_TRUE(QDir(p.folder()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(p.main().document().state().saved[Slot::Mode2], 0);
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode2), slot2);  // still in colours
    EXPECT_EQ(p.Text("Label4"), "");
}

TEST(MainWindowFiles, ExitAsksAboutOneUnsavedPicture) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key00"));
    QSignalSpy exited(&p.main(), &MainWindow::exited);
    p.script().Snap("msg_question_unsaved").No();
    Click(Key(p.main(), "ExitKey"));
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "1 file not saved. Do you want save it now");
    EXPECT_EQ(exited.count(), 1);
    EXPECT_FALSE(p.main().isVisible());
}

TEST(MainWindowFiles, ExitWithUnsavedPicturesStopsWhenTheSaveIsCancelled) {
    Program p;
    DropSample(p);
    Click(Key(p.main(), "Key00"));
    Click(Key(p.main(), "Key10"));  // autobalance: the next conversions are new ones
    Click(Key(p.main(), "Key01"));
    Click(Key(p.main(), "Key02"));
    QSignalSpy exited(&p.main(), &MainWindow::exited);
    // Yes, save them, but the save dialog is cancelled: the program keeps running.
    p.script().Yes();
    AnswerSaveDialog(p.windows().save.get(), QString());
    Click(Key(p.main(), "ExitKey"));
    ASSERT_EQ(p.script().shown.size(), 1u);
    EXPECT_EQ(p.script().shown[0].text, "3 files not saved. Do you want save they now");
    EXPECT_EQ(exited.count(), 0);
    EXPECT_TRUE(p.main().isVisible());
}

TEST(MainWindowFiles, WindowManagerCloseRunsTheExitCommand) {
    Program p;
    QSignalSpy exited(&p.main(), &MainWindow::exited);
    // During a video conversion the exit is refused with a notice.
    p.main().setVideoConversionRunning(true);
    p.script().Ok();
    p.main().close();
    ASSERT_TRUE(WaitUntil([&] { return p.script().shown.size() == 1; }));
    EXPECT_EQ(p.script().shown[0].text,
              "Video conversion in progress. First you need terminate this process");
    Settle();
    EXPECT_EQ(exited.count(), 0);
    EXPECT_TRUE(p.main().isVisible());
    p.main().setVideoConversionRunning(false);
    p.main().close();
    ASSERT_TRUE(WaitUntil([&] { return exited.count() == 1; }));
}

TEST(MainWindowFiles, DropWhileAVideoConversionRunsIsIgnored) {
    Program p;
    p.main().setVideoConversionRunning(true);
    DropFiles(&p.main(), {SamplePhoto()});
    Settle();
    EXPECT_TRUE(p.main().document().state().noPicture);
    EXPECT_TRUE(p.script().shown.empty());
}

TEST(MainWindowFiles, VideoControlsStayDisabledWithoutAVideo) {
    Program p;
    DropSample(p);
    for (const char* name : {"VideoKey01", "VideoKey04", "VideoKey08", "VideoKey13", "VideoKey14"})
        EXPECT_FALSE(Key(p.main(), name)->isEnabled()) << name;
    EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "4");
    EXPECT_FALSE(Key(p.main(), "Horizontal")->isEnabled());
}

}  // namespace
}  // namespace mozu::app_test
