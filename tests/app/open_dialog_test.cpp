// The open dialog driven through its own widgets: the columns, Up and the drives view, the
// preview and description of every kind of file, OK and Cancel, and the mends (previews with
// their own state, the fallback to the home folder).

#include "dialog_test_support.h"

#include <gtest/gtest.h>
#include <QLineEdit>

#include <webp/encode.h>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <fstream>

#include "colour/colour_table.h"
#include "colour/conversion_commands.h"
#include "dialogs/file_preview.h"
#include "dialogs/open_dialog.h"
#include "formats/overscan_files.h"
#include "formats/save_flow.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "media/image_loader.h"
#include "skin/picture_key.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/file_bytes.h"
#include "tests/support/screen_dump_file.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_format.h"
#include "video/vid_reader.h"
#include "video/video_navigation.h"

namespace mozu {
namespace {

using namespace dialog_test;

// --- fixtures ------------------------------------------------------------------------------

// An index picture whose pen at (x, y) is (x / 8 + y / 8) mod pens.
Picture Pens(int w, int h, int pens) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.setPixel(x, y, MakeColour((x / 8 + y / 8) % pens, 0, 0));
    return p;
}

// The palette slot of the written files: pen p shows colour index (p * 5 + 3) mod 27.
PaletteSlot FilePalette() {
    PaletteSlot palette{};
    for (int p = 0; p < 16; ++p) palette[p] = static_cast<std::uint8_t>((p * 5 + 3) % 27);
    return palette;
}

using Writer = void (*)(ConversionState&, Asker&, const std::string&);

void WriteCpcFile(Writer writer, Slot slot, int w, int h, int pens, const QString& base) {
    ConversionState state;
    state.picture(slot) = Pens(w, h, pens);
    state.palettes[slot] = FilePalette();
    ScriptedAsker asker{Otherwise::kYes};
    writer(state, asker, base.toStdString());
}

void WriteSgx(bool sixteen, int w, int h, const QString& base) {
    ConversionState state;
    const Slot slot = sixteen ? Slot::SgxMsxFree : Slot::SgxCpcFree;
    state.picture(slot) = Pens(w, h, sixteen ? 16 : 4);
    ScriptedAsker asker{Otherwise::kYes};
    if (sixteen)
        MakeSGXMSX(state, asker, base.toStdString(), slot);
    else
        MakeSGXCPC(state, asker, base.toStdString(), slot);
}

// A SymbOS video of `frames` frames whose frame k is all pen k mod pens.
void WriteVid(const QString& path, int frames, bool sixteen, int w, int h, int rate) {
    VideoRunPlan plan;
    plan.sixteen = sixteen;
    plan.kind = VideoKindFor(w, h, sixteen);
    plan.rate = rate;
    plan.frames = frames;
    plan.width = w;
    plan.height = h;
    plan.dataSize = VidFrameDataSize(w, h, sixteen);
    plan.frameSize = VidFrameSize(plan.dataSize);
    const auto header = MakeVidHeader(plan, "Rain", "Drops");
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(plan.frameSize));
    const int pens = sixteen ? 16 : 4;
    for (int k = 0; k < frames; ++k) {
        Picture p(w, h, MakeColour(k % pens, 0, 0));
        EncodeVidFrame(p, plan, frame);
        out.write(reinterpret_cast<const char*>(frame.data()), frame.size());
    }
}

Colour Table(int index) {
    return kDefaultColourTable[static_cast<std::size_t>(index)];
}
QColor Q(Colour c) {
    return QColor(Red(c), Green(c), Blue(c));
}

class OpenDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        EnsureApp();
        dialog = std::make_unique<OpenDialog>(asker);
        dialog->setErrorHandler([this](int code, const QString&) { errors.push_back(code); });
    }

    EntryColumn* Column(int c) {
        return Find<EntryColumn>(dialog.get(), QString("ListBox%1").arg(c + 1).toLatin1());
    }
    QString Label(const char* name) {
        if (auto* folder = Find<FolderLabel>(dialog.get(), name)) return folder->text();
        return Find<QLabel>(dialog.get(), name)->text();
    }
    PreviewImage* Image2() { return Find<PreviewImage>(dialog.get(), "Image2"); }
    // Shows the dialog on `folder`.
    void Open(const QString& folder) {
        dialog->setCurrentFolder(folder);
        dialog->Show();
    }
    // Clicks the entry with this text in whichever column holds it.
    void ClickEntry(const QString& text) {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < Column(c)->count(); ++r)
                if (Column(c)->text(r) == text) {
                    Column(c)->setSelectedRow(r);  // a scroll brings it on show
                    ClickRow(Column(c), r);
                    return;
                }
        FAIL() << "no entry " << text.toStdString();
    }

    ScriptedAsker asker{Otherwise::kYes};
    std::vector<int> errors;
    std::unique_ptr<OpenDialog> dialog;
    TempFolder dir;
};

// --- names ---------------------------------------------------------------------------------

TEST(OpenDialogNames, VideoAndPcExtensions) {
    EXPECT_TRUE(IsVideo("CLIP.MPEG"));
    EXPECT_TRUE(IsVideo("Clip.MPEG"));
    EXPECT_TRUE(IsVideo("rain.vid"));
    EXPECT_TRUE(IsVideo("x.avi"));
    EXPECT_FALSE(IsVideo("Photo.jpg"));
    EXPECT_TRUE(IsVideo("avi"));         // no dot: the whole name is compared
    EXPECT_FALSE(IsVideo("x.mpg.bak"));  // the last dot decides
    EXPECT_FALSE(IsVideo("film.mp"));    // "mp" is not "mpg"
    EXPECT_TRUE(PCFile(".jpg"));
    EXPECT_TRUE(PCFile(".JPEG"));
    EXPECT_TRUE(PCFile(".divx"));
    EXPECT_FALSE(PCFile(".rim"));
    EXPECT_FALSE(PCFile(".vid"));
}

TEST(OpenDialogNames, ColumnSplitsAndDepth) {
    EXPECT_EQ(ColumnSizesEven(7), (std::array<int, 3>{3, 3, 1}));
    EXPECT_EQ(ColumnSizesEven(9), (std::array<int, 3>{3, 3, 3}));
    EXPECT_EQ(ColumnSizesEven(2), (std::array<int, 3>{1, 1, 0}));
    EXPECT_EQ(ColumnSizesDrives(4), (std::array<int, 3>{2, 2, 0}));
    EXPECT_EQ(ColumnSizesDrives(2), (std::array<int, 3>{1, 1, 0}));
    EXPECT_EQ(PathDepth("/"), 1);
    EXPECT_EQ(PathDepth("/home/ann/"), 3);
    EXPECT_EQ(ParentFolder("/home/ann/"), "/home/");
    EXPECT_EQ(ParentFolder("/"), "");
    EXPECT_EQ(PreviewFrameIndex(60), 0);
    EXPECT_EQ(PreviewFrameIndex(75), 0);  // a 75-frame video has no frame 75
    EXPECT_EQ(PreviewFrameIndex(100), 75);
}

TEST(OpenDialogDrives, TypesComeFromTheFileSystem) {
    EXPECT_EQ(DriveTypeOf("iso9660", "/dev/sr0", "/media/ann/DISC"), DriveType::Optical);
    EXPECT_EQ(DriveTypeOf("udf", "/dev/sr0", "/mnt/dvd"), DriveType::Optical);
    EXPECT_EQ(DriveTypeOf("nfs4", "server:/pics", "/net/pics"), DriveType::Network);
    EXPECT_EQ(DriveTypeOf("cifs", "//nas/share", "/mnt/share"), DriveType::Network);
    EXPECT_EQ(DriveTypeOf("vfat", "/dev/sdb1", "/media/ann/STICK"), DriveType::Removable);
    EXPECT_EQ(DriveTypeOf("exfat", "/dev/mmcblk0p1", "/run/media/ann/CARD"), DriveType::Removable);
    EXPECT_EQ(DriveTypeOf("proc", "proc", "/proc"), DriveType::Unknown);
    EXPECT_EQ(DriveTypeOf("tmpfs", "tmpfs", "/run"), DriveType::Unknown);
    EXPECT_EQ(DriveIcon({"A", "/media/a/", DriveType::Removable, "/dev/fd0"}), EntryIcon::Floppy);
    EXPECT_EQ(DriveIcon({"S", "/media/s/", DriveType::Removable, "/dev/sdb1"}), EntryIcon::USB);
    EXPECT_EQ(DriveIcon({"N", "/net/", DriveType::Network, "nas:/x"}), EntryIcon::Disc);
    EXPECT_EQ(DriveIcon({"C", "/cd/", DriveType::Optical, "/dev/sr0"}), EntryIcon::CD);

    // The root and the home folder always lead the list, and both hold a medium.
    const std::vector<Drive> drives = ListDrives();
    ASSERT_GE(drives.size(), 2u);
    EXPECT_EQ(drives[0].rootPath, "/");
    EXPECT_EQ(drives[1].rootPath, HomeFolder());
    EXPECT_TRUE(DriveReady(drives[0]));
    EXPECT_TRUE(DriveReady(drives[1]));
    EXPECT_FALSE(DriveReady({"X", "/no/such/mount/", DriveType::Removable, "/dev/sdz1"}));
}

// --- the folder view -----------------------------------------------------------------------

TEST_F(OpenDialogTest, TwoFoldersAndFiveFilesFillTheColumnsThreeThreeOne) {
    dir.mkdir("Alpha");
    dir.mkdir("beta");
    for (const char* f : {"a.jpg", "b.RIM", "c.sgx", "d.vid", "e.avi", "notes.txt"}) dir.touch(f);
    Open(dir.path());
    EXPECT_EQ(Label("Label1"), dir.path());
    EXPECT_EQ(Texts(Column(0)), (std::vector<QString>{"Alpha", "beta", "a.jpg"}));
    EXPECT_EQ(Texts(Column(1)), (std::vector<QString>{"b.RIM", "c.sgx", "d.vid"}));
    EXPECT_EQ(Texts(Column(2)), (std::vector<QString>{"e.avi"}));
    EXPECT_EQ(Column(0)->entries()[0].icon, EntryIcon::Folder);
    EXPECT_EQ(Column(0)->entries()[2].icon, EntryIcon::Image);
    EXPECT_EQ(Column(1)->entries()[2].icon, EntryIcon::Video);
    EXPECT_EQ(Column(2)->entries()[0].icon, EntryIcon::Video);
    EXPECT_EQ(Column(0)->itemHeight(), 24);
    EXPECT_EQ(Column(0)->fontPixels(), 16);
    EXPECT_TRUE(Column(2)->isVisible());
    EXPECT_FALSE(Find<QWidget>(dialog.get(), "Vertical")->isVisible());  // 3 rows need no bar

    // A click on a folder enters it; its depth is one more.
    const int depth = dialog->depth();
    ClickEntry("beta");
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "beta/");
    EXPECT_EQ(dialog->depth(), depth + 1);
    EXPECT_EQ(Label("Label1"), dir.path() + "beta/");
    EXPECT_FALSE(Column(0)->isVisible());  // an empty folder hides its columns
}

TEST_F(OpenDialogTest, ManyEntriesShowTheScrollBarAndItMovesTheColumns) {
    for (int i = 0; i < 60; ++i) dir.touch(QString("f%1.bmp").arg(i, 2, 10, QChar('0')));
    Open(dir.path());
    EXPECT_EQ(Column(0)->count(), 20);
    auto* track = Find<QWidget>(dialog.get(), "Vertical");
    ASSERT_TRUE(track->isVisible());
    // Pressing the foot of the track scrolls the first column to its end.
    QTest::mouseClick(track, Qt::LeftButton, {}, QPoint(12, track->height() - 1));
    // The thumb at 352 of 353 is 99 %: the first column selects row 20 x 99 / 100 - 1, the
    // others row 20 x 99 / 100, each scrolled into view (14 rows are on show).
    EXPECT_EQ(Column(0)->selectedRow(), 18);
    EXPECT_EQ(Column(1)->selectedRow(), 19);
    EXPECT_EQ(Column(0)->topRow(), 5);
    EXPECT_EQ(Column(1)->topRow(), 6);

    // Dragging the thumb back up to 176 of 353 (49 %): rows 20 x 49 / 100 - 1 and 20 x 49 / 100.
    QWidget* thumb = Find<QWidget>(dialog.get(), "VScrollButton");
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(14, 8));
    QTest::mouseMove(thumb, QPoint(14, 8 - (352 - 176)));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(14, 8));
    EXPECT_EQ(Column(0)->selectedRow(), 8);
    EXPECT_EQ(Column(1)->selectedRow(), 9);
    // The thumb stays on the track however far it is dragged.
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(14, 8));
    QTest::mouseMove(thumb, QPoint(14, -500));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(14, 8));
    EXPECT_EQ(thumb->y(), 0);
    EXPECT_EQ(Column(0)->selectedRow(), 0);
}

TEST_F(OpenDialogTest, UpGoesToTheParentThenTheDrivesViewAndBackToTheHomeFolder) {
    dir.mkdir("sub");
    dialog->setDrives({{"/", "/", DriveType::Fixed, "/dev/sda1"},
                       {"Home", dialog->homeFolder(), DriveType::Fixed, {}},
                       {"STICK", dir.path(), DriveType::Removable, "/dev/sdb1"},
                       {"DISC", dir.path() + "no-disc/", DriveType::Optical, "/dev/sr0"}});
    // Up from a folder directly below the root goes to the root, not to the drives.
    Open("/tmp/");
    ASSERT_EQ(dialog->depth(), 2);
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->depth(), 1);
    EXPECT_EQ(dialog->currentFolder(), "/");
    EXPECT_EQ(Label("Label1"), "/");
    EXPECT_FALSE(Texts(Column(0)).empty());
    // Up from the root shows the drives, their names at the dialog's font size.
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->depth(), 0);
    EXPECT_EQ(Label("Label1"), "");
    EXPECT_EQ(Texts(Column(0)), (std::vector<QString>{"/", "Home"}));
    EXPECT_EQ(Texts(Column(1)), (std::vector<QString>{"STICK", "DISC"}));
    EXPECT_EQ(Column(0)->itemHeight(), 60);
    EXPECT_EQ(Column(0)->fontPixels(), 16);
    EXPECT_EQ(Column(0)->entries()[0].icon, EntryIcon::Disc);
    EXPECT_EQ(Column(1)->entries()[0].icon, EntryIcon::USB);
    EXPECT_EQ(Column(1)->entries()[1].icon, EntryIcon::CD);
    SaveScreenshot(dialog.get(), "open_dialog_drives");

    // A drive without its medium: "Invalid disk change", and the drives view stays.
    ClickRow(Column(1), 1);
    EXPECT_EQ(errors, (std::vector<int>{34}));
    EXPECT_EQ(dialog->depth(), 0);
    EXPECT_EQ(Column(1)->count(), 2);

    // A drive enters its top folder.
    ClickRow(Column(1), 0);
    EXPECT_EQ(dialog->currentFolder(), dir.path());
    EXPECT_EQ(Texts(Column(0)), (std::vector<QString>{"sub"}));

    // Up climbs folder by folder to the root, then the drives; Up there shows the home folder,
    // and Up from the home folder goes to its parent.
    int ups = 0;
    while (dialog->depth() > 1 && ups++ < 64) {
        const QString before = dialog->currentFolder();
        Click(Find<PictureKey>(dialog.get(), "Key01"));
        EXPECT_EQ(dialog->currentFolder(), ParentFolder(before));
    }
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->depth(), 0);
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->currentFolder(), dialog->homeFolder());
    EXPECT_EQ(dialog->depth(), PathDepth(dialog->homeFolder()));
    EXPECT_EQ(Label("Label1"), dialog->homeFolder());
    Click(Find<PictureKey>(dialog.get(), "Key01"));
    EXPECT_EQ(dialog->currentFolder(), ParentFolder(dialog->homeFolder()));
}

TEST_F(OpenDialogTest, ATypedPathGoesToItsFolderOrOpensItsFile) {
    dir.mkdir("typed");
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir.file("first.bmp")));
    dir.touch("typed/second.jpg");
    QStringList results;
    QObject::connect(dialog.get(), &OpenDialog::finished,
                     [&results](const QString& p) { results << p; });
    Open(dir.path());
    auto* path = Find<QLineEdit>(dialog.get(), "PathEdit");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->text(), dir.path());
    // A file clicked first: Return in the path field must not open it.
    ClickEntry("first.bmp");
    ASSERT_EQ(dialog->chosenPath(), dir.file("first.bmp"));

    // Typing in the dialog starts the path over; Return with a folder goes there.
    dialog->activateWindow();
    QTest::keyClicks(dialog.get(), "/");
    EXPECT_TRUE(path->hasFocus() || path->text() == "/");
    path->setText(dir.path() + "typed");
    SaveScreenshot(dialog.get(), "open_dialog_typed_path");
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_TRUE(results.isEmpty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "typed/");
    EXPECT_EQ(Label("Label1"), dir.path() + "typed/");
    EXPECT_EQ(Texts(Column(0)), (std::vector<QString>{"second.jpg"}));

    // A path that does not exist: a notice naming it, and the dialog stays where it was.
    path->setText(dir.path() + "nowhere/x.jpg");
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(errors, (std::vector<int>{2}));  // "File not found"
    EXPECT_TRUE(results.isEmpty());
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "typed/");

    // Escape in the field gives up typing, not the dialog.
    path->setText("/some");
    QTest::keyClick(path, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(path->text(), dir.path() + "typed/");

    // A typed file (relative to the folder on show) is opened at once.
    path->setText("../first.bmp");
    QTest::keyClick(path, Qt::Key_Return);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0], dir.file("first.bmp"));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->currentFolder(), dir.path());
}

TEST_F(OpenDialogTest, ARememberedFolderThatHasGoneFallsBackToTheHomeFolder) {
    dir.mkdir("gone");
    Open(dir.path() + "gone/");
    EXPECT_EQ(dialog->currentFolder(), dir.path() + "gone/");
    Click(Find<PictureKey>(dialog.get(), "KeyRed01"));
    QDir(dir.path() + "gone").removeRecursively();
    dialog->Show();
    EXPECT_EQ(dialog->currentFolder(), dialog->homeFolder());
    EXPECT_EQ(dialog->depth(), PathDepth(dialog->homeFolder()));
    EXPECT_EQ(Label("Label1"), dialog->homeFolder());
}

// --- previews ------------------------------------------------------------------------------

struct CpcCase {
    const char* file;
    int width, height;  // Image2's picture
    const char* label;
};

TEST_F(OpenDialogTest, EveryCpcPictureKindHasItsPreviewAndDescription) {
    WriteCpcFile(MakeMode0, Slot::Mode0, 160, 200, 16, dir.file("m"));
    WriteCpcFile(MakeMode1, Slot::Mode1, 320, 200, 4, dir.file("m"));
    WriteCpcFile(MakeMode2, Slot::Mode2, 640, 200, 2, dir.file("m"));
    WriteCpcFile(MakeOverscanedMode0, Slot::Overscan0, 184, 264, 16, dir.file("o"));
    WriteCpcFile(MakeOverscanedMode1, Slot::Overscan1, 368, 264, 4, dir.file("o"));
    WriteCpcFile(MakeOverscanedMode2, Slot::Overscan2, 736, 264, 2, dir.file("o"));
    WriteSgx(false, 96, 40, dir.file("s"));
    WriteSgx(true, 50, 30, dir.file("s"));
    const CpcCase cases[] = {
        {"m0.rim", 320, 200, "Mozu Image: 160x200x16"},
        {"m1.rim", 320, 200, "Mozu Image: 320x200x4"},
        {"m2.rim", 320, 200, "Mozu Image: 640x200x2"},
        {"o0.sca", 368, 264, "Mozu Image: 184x264x16"},
        {"o1.sca", 368, 264, "Mozu Image: 368x264x4"},
        {"o2.sca", 368, 264, "Mozu Image: 736x264x2"},
        {"s1.sgx", 96, 40, "Mozu Image:96x40x4"},
        {"sM.sgx", 368, 264, "Mozu Image:368x264x16"},
    };
    Open(dir.path());
    for (const CpcCase& c : cases) {
        SCOPED_TRACE(c.file);
        ClickEntry(c.file);
        EXPECT_EQ(Label("Label2"), c.label);
        EXPECT_TRUE(Image2()->isVisible());
        EXPECT_EQ(Image2()->picture().size(), QSize(c.width, c.height));
        EXPECT_EQ(dialog->chosenPath(), dir.file(c.file));
        EXPECT_EQ(dialog->currentFolder(), dir.path());  // a file click stays in the folder
    }
    EXPECT_TRUE(errors.empty());

    // The colours are the file's own palette: mode 0 pixel (x, y) is drawn twice as wide.
    ClickEntry("m0.rim");
    const QImage shown = Image2()->picture();
    const PaletteSlot palette = FilePalette();
    for (int y : {0, 9, 100, 199})
        for (int x : {0, 8, 77, 159}) {
            const int pen = (x / 8 + y / 8) % 16;
            ASSERT_EQ(shown.pixelColor(2 * x, y), Q(Table(palette[pen]))) << x << "," << y;
            ASSERT_EQ(shown.pixelColor(2 * x + 1, y), Q(Table(palette[pen])));
        }
    SaveScreenshot(dialog.get(), "open_dialog_preview_mode0");
    // A SymbOS graphic of 4 colours shows the fixed colours 0-3 at its own size.
    ClickEntry("s1.sgx");
    EXPECT_EQ(Image2()->picture().pixelColor(8, 0), Q(Table(1)));
    EXPECT_EQ(Image2()->picture().pixelColor(8, 8), Q(Table(2)));
}

TEST_F(OpenDialogTest, PcPicturesShowTheirSize) {
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(QColor(200, 40, 40));
    ASSERT_TRUE(picture.save(dir.file("red.bmp"), "BMP"));
    ASSERT_TRUE(picture.scaled(30, 20).save(dir.file("Photo.JPG"), "JPG"));
    Open(dir.path());
    ClickEntry("red.bmp");
    EXPECT_EQ(Label("Label2"), "PC Image:64x48");
    EXPECT_EQ(Image2()->picture().pixelColor(10, 10), QColor(200, 40, 40));
    ClickEntry("Photo.JPG");
    EXPECT_EQ(Label("Label2"), "PC Image:30x20");
    EXPECT_EQ(Image2()->picture().size(), QSize(30, 20));
}

TEST_F(OpenDialogTest, OtherToolsScreensShowInTheirPalettesModeOrInMode1) {
    // Pens 0-3 of the palette file: black, bright white, bright red, bright green.
    const std::array<std::uint8_t, 16> hardware = {0x54, 0x4B, 0x4C, 0x52, 0x54, 0x54, 0x54, 0x54,
                                                   0x54, 0x54, 0x54, 0x54, 0x54, 0x54, 0x54, 0x54};
    const std::vector<std::uint8_t> pens = test::DumpPens(0, 3);
    test::WriteBytes(dir.file("art.scr").toStdString(),
                     test::WithAmsdosHeader(test::ScreenDumpBytes(0, pens)));
    test::WriteBytes(dir.file("art.pal").toStdString(), test::ArtPaletteFile(0, hardware));
    test::WriteBytes(dir.file("bare.scr").toStdString(),
                     test::ScreenDumpBytes(1, test::DumpPens(1, 4)));
    Open(dir.path());
    ClickEntry("art.scr");
    EXPECT_EQ(Label("Label2"), "CPC Screen: 160x200x16");
    ASSERT_EQ(Image2()->picture().size(), QSize(320, 200));
    const std::uint8_t firmware[4] = {0, 26, 6, 18};
    for (int y : {0, 7, 8, 199})
        for (int x : {0, 1, 2, 3, 90, 159}) {
            const std::uint8_t pen = pens[static_cast<std::size_t>(y * 160 + x)];
            const QColor want =
                pen < 4 ? Q(Table(FirmwareToColour[firmware[pen]])) : Q(Table(FirmwareToColour[0]));
            ASSERT_EQ(Image2()->picture().pixelColor(2 * x, y), want) << x << "," << y;
        }
    // No palette file: shown in mode 1, the mode a CPC starts in, with the firmware's colours.
    ClickEntry("bare.scr");
    EXPECT_EQ(Label("Label2"), "CPC Screen: 320x200x4 (no .pal)");
    EXPECT_EQ(Image2()->picture().size(), QSize(320, 200));
    EXPECT_TRUE(asker.askedNothing());
    EXPECT_TRUE(errors.empty());
    SaveScreenshot(dialog.get(), "open_dialog_preview_screen_dump");
}

TEST_F(OpenDialogTest, WebpPicturesShowTheirSize) {
    const std::uint8_t rgb[] = {200, 40, 40, 200, 40, 40, 10, 20, 30, 10, 20, 30};
    std::uint8_t* out = nullptr;
    const std::size_t size = WebPEncodeLosslessRGB(rgb, 2, 2, 6, &out);
    ASSERT_GT(size, 0u);
    test::WriteBytes(dir.file("w.webp").toStdString(), std::vector<std::uint8_t>(out, out + size));
    WebPFree(out);
    Open(dir.path());
    ClickEntry("w.webp");
    EXPECT_EQ(Label("Label2"), "PC Image:2x2");
    EXPECT_EQ(Image2()->picture().pixelColor(0, 0), QColor(200, 40, 40));
    EXPECT_EQ(Image2()->picture().pixelColor(1, 1), QColor(10, 20, 30));
    EXPECT_TRUE(errors.empty());
}

TEST_F(OpenDialogTest, SymbosVideosShowFrame75OrFrame0) {
    WriteVid(dir.file("long.vid"), 80, false, 64, 40, 10);
    WriteVid(dir.file("short.vid"), 5, true, 40, 30, 12);
    Open(dir.path());
    ClickEntry("long.vid");
    EXPECT_EQ(Label("Label2"), "Mozu Video: Time:00:00:08 10 fps");
    EXPECT_EQ(Image2()->picture().size(), QSize(64, 40));
    EXPECT_EQ(Image2()->picture().pixelColor(5, 5), Q(Table(75 % 4)));
    ClickEntry("short.vid");
    EXPECT_EQ(Label("Label2"), "Mozu Video: Time:00:00:00 12 fps");
    EXPECT_EQ(Image2()->picture().size(), QSize(40, 60));  // 16 colours: lines doubled
    EXPECT_EQ(Image2()->picture().pixelColor(5, 5), Q(Table(0)));
    EXPECT_TRUE(errors.empty());
}

TEST_F(OpenDialogTest, PreviewingAVideoLeavesTheCallersVideoOpenAndUnchanged) {
    WriteVid(dir.file("mine.vid"), 3, false, 32, 20, 5);
    WriteVid(dir.file("other.vid"), 80, true, 48, 30, 10);
    // The main window's reader with its video open.
    VidReader caller;
    caller.open(kDefaultColourTable, dir.file("mine.vid").toStdString());
    Open(dir.path());
    ClickEntry("other.vid");
    ASSERT_EQ(Label("Label2"), "Mozu Video: Time:00:00:08 10 fps");
    EXPECT_TRUE(caller.isOpen());
    EXPECT_EQ(caller.frameCount(), 3);
    EXPECT_EQ(caller.width(), 32);
    EXPECT_EQ(caller.frameRate(), 5);
    EXPECT_EQ(caller.decodeFrame(2).pixel(0, 0), Table(2));
}

TEST_F(OpenDialogTest, PcVideosShowFrame75AndTheirRunningTime) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "FFmpeg has no mpeg4 encoder";
    // Frame k is a flat grey of 2k, so the frame shown can be told by its colour.
    const auto paint = [](int k, Picture& p) { p.fill(MakeColour(2 * k, 2 * k, 2 * k)); };
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 100;
    test::WriteTestVideo(dir.file("Clip.avi").toStdString(), recipe, paint);
    recipe.frames = 60;
    test::WriteTestVideo(dir.file("short.avi").toStdString(), recipe, paint);
    Open(dir.path());
    ClickEntry("Clip.avi");
    EXPECT_EQ(Label("Label2"), "PC Video: Time:00:00:04 25 fps");
    SaveScreenshot(dialog.get(), "open_dialog_preview_pc_video");
    EXPECT_EQ(Image2()->picture().size(), QSize(64, 48));
    EXPECT_NEAR(Image2()->picture().pixelColor(30, 20).red(), 150, 6);
    // The main window's own video stays open through another video's preview.
    VideoState caller;
    caller.source = MakeFfmpegFrameSource();
    OpenVideo(caller, dir.file("Clip.avi").toStdString());
    ClickEntry("short.avi");
    EXPECT_EQ(Label("Label2"), "PC Video: Time:00:00:02 25 fps");
    EXPECT_NEAR(Image2()->picture().pixelColor(30, 20).red(), 0, 6);
    EXPECT_TRUE(errors.empty());
    ASSERT_TRUE(caller.open);
    EXPECT_EQ(caller.info.frameCount, 100);
    DecodeVideoFrame(caller, 50);
    EXPECT_NEAR(Red(caller.frame.pixel(30, 20)), 100, 6);
    CloseVideoSource(caller);
}

TEST_F(OpenDialogTest, UnknownFilesShowNothingNewAndBrokenFilesShowTheirError) {
    WriteCpcFile(MakeMode1, Slot::Mode1, 320, 200, 4, dir.file("m"));
    {
        std::ofstream junk(dir.file("junk.rim").toStdString(), std::ios::binary);
        junk << std::string(300, 'j');
    }
    // A screen file cut short after its start-up routine's first bytes.
    QFile::copy(dir.file("m1.rim"), dir.file("cut.rim"));
    QFile(dir.file("cut.rim")).resize(3000);
    Open(dir.path());
    ClickEntry("m1.rim");
    const QImage before = Image2()->picture();
    ClickEntry("junk.rim");  // type 255: nothing drawn, no description
    EXPECT_EQ(Label("Label2"), "");
    EXPECT_EQ(Image2()->picture(), before);
    EXPECT_EQ(dialog->chosenPath(), dir.file("junk.rim"));
    EXPECT_TRUE(errors.empty());

    ClickEntry("cut.rim");
    EXPECT_EQ(errors, (std::vector<int>{100}));  // "Read error:End of file"
    EXPECT_EQ(dialog->chosenPath(), "");         // a file that cannot be read is not offered
}

// --- OK and Cancel -------------------------------------------------------------------------

TEST_F(OpenDialogTest, ExecuteReturnsTheClickedPathOrNone) {
    WriteCpcFile(MakeMode0, Slot::Mode0, 160, 200, 16, dir.file("pic"));
    QWidget owner;
    owner.show();
    dialog->setCurrentFolder(dir.path());

    // OK before any file was clicked does nothing; Cancel gives "<none>".
    QTimer::singleShot(0, [&] {
        EXPECT_FALSE(owner.isVisible());  // the owner is hidden while the dialog is shown
        Click(Find<PictureKey>(dialog.get(), "KeyGreen01"));
        EXPECT_TRUE(dialog->isVisible());
        Click(Find<PictureKey>(dialog.get(), "KeyRed01"));
    });
    EXPECT_EQ(dialog->Execute(&owner), "<none>");
    EXPECT_TRUE(owner.isVisible());
    EXPECT_FALSE(dialog->isVisible());

    QTimer::singleShot(0, [&] {
        ClickEntry("pic0.rim");
        Click(Find<PictureKey>(dialog.get(), "KeyGreen01"));
    });
    EXPECT_EQ(dialog->Execute(&owner), dir.file("pic0.rim"));

    // A preview shown, then Cancel: still "<none>". Closing by the window manager is a cancel.
    QTimer::singleShot(0, [&] {
        ClickEntry("pic0.rim");
        dialog->close();
    });
    EXPECT_EQ(dialog->Execute(&owner), "<none>");
}

TEST_F(OpenDialogTest, Screenshots) {
    dir.mkdir("Pictures");
    dir.mkdir("Videos");
    {
        // The sample photograph converted to mode 1 and saved, as the main window would.
        ConversionState state;
        Picture photo;
        LoadJpeg(MOZU_SOURCE_DIR "/samples/sample.jpg", photo);
        AdoptPcPicture(state, std::move(photo));
        ScriptedAsker quiet{Otherwise::kYes};
        ASSERT_TRUE(ConvertSlotCommand(state, quiet, Slot::Mode1, false).converted);
        SaveSlots(state, quiet, dir.file("sunset").toStdString(), "FT");
    }
    WriteSgx(false, 96, 40, dir.file("icon"));
    WriteVid(dir.file("rain.vid"), 80, false, 64, 40, 10);
    for (const char* f : {"castle.bmp", "dragon.jpg", "intro.avi", "title0.rim", "level1.sca"})
        dir.touch(f);
    Open(dir.path());
    SaveScreenshot(dialog.get(), "open_dialog_folder");
    ClickEntry("sunset1.rim");
    SaveScreenshot(dialog.get(), "open_dialog_preview");
    EXPECT_EQ(Label("Label2"), "Mozu Image: 320x200x4");
}

}  // namespace
}  // namespace mozu
