// Files the main window knows by more than their extension: level files read back (listed and
// previewed by the open dialog, opened, saved again), and videos under a name that says nothing
// (".bin", no extension), found by their contents when dropped, picked or handed over.

#include <gtest/gtest.h>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <filesystem>

extern "C" {
#include <libavutil/log.h>
}

#include "app/picture_view.h"
#include "app/single_instance.h"
#include "app_test_support.h"
#include "dialogs/dialog_widgets.h"
#include "dialogs/open_dialog.h"
#include "dialogs/save_dialog.h"
#include "formats/file_name.h"
#include "formats/file_type.h"
#include "formats/overscan_files.h"
#include "skin/picture_key.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/file_bytes.h"

namespace mozu::app_test {
namespace {

QWidget* Key(MainWindow& w, const char* name) {
    return w.findChild<QWidget*>(name);
}

// Clicks `fileName` in the open dialog's columns; false when it is not listed.
bool ClickEntry(QWidget* dialog, const QString& fileName) {
    for (const char* name : {"ListBox1", "ListBox2", "ListBox3"}) {
        auto* column = dialog->findChild<EntryColumn*>(name);
        for (int row = 0; column && row < column->count(); ++row) {
            if (column->text(row) != fileName) continue;
            column->setSelectedRow(row);
            QTest::mouseClick(column, Qt::LeftButton, {}, column->rowRect(row).center());
            return true;
        }
    }
    return false;
}

// A mode 0 level file as the save command writes it under `name`: the background in vertical
// bands of pens 1-15, the extra graphics all pen 3; pen k has firmware colour k + 1.
std::vector<std::uint8_t> LevelFile(const std::string& name) {
    std::vector<std::uint8_t> background(184 * 264), extra(48 * 96, 3);
    for (std::size_t i = 0; i < background.size(); ++i)
        background[i] = static_cast<std::uint8_t>(1 + (i % 184) / 13);
    std::array<std::uint8_t, 16> palette{};
    for (int k = 0; k < 16; ++k)
        palette[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(k + 1);
    return BuildLevelFile(0, background, extra, palette, AMSname(name));
}

TEST(MainWindowRecognition, ALevelFileOpensThroughTheOpenDialogAndIsSavedAgain) {
    Program p;
    const QString path = p.folder() + "stage0.lvl";
    const std::vector<std::uint8_t> written = LevelFile(path.toStdString());
    test::WriteBytes(path.toStdString(), written);

    OpenDialog* dialog = p.windows().open.get();
    dialog->setCurrentFolder(p.folder());
    QString preview;
    bool previewShown = false;
    WhenVisible(dialog, [&] {
        ASSERT_TRUE(ClickEntry(dialog, "stage0.lvl")) << "the open dialog does not list it";
        preview = dialog->findChild<QLabel*>("Label2")->text();
        previewShown = dialog->findChild<QWidget*>("Image2")->isVisible();
        Screenshot(dialog, "open_dialog_level_file");
        Click(dialog->findChild<PictureKey*>("KeyGreen01"));
    });
    Click(Key(p.main(), "Key20"));
    EXPECT_EQ(preview, "Mozu Level: 184x264x16");
    EXPECT_TRUE(previewShown);

    const ConversionState& state = p.main().document().state();
    ASSERT_EQ(state.currentFileName, path.toStdString());
    EXPECT_EQ(p.Text("Label1"), "CPC level\n\r184x264 + 48x96\n\rmode 0");
    EXPECT_EQ(state.currentSlot, Slot::Level0);
    EXPECT_EQ(state.converted[Slot::Level0], 1);
    // The whole level, background and extra graphics, at mode 0's wide pixels, in the overscan
    // pictures' place.
    EXPECT_EQ(p.main().shownImage().size(), QSize(464, 264));
    auto* image1 = p.main().findChild<PictureView*>("Image1");
    ASSERT_NE(image1, nullptr);
    EXPECT_EQ(image1->geometry(), QRect(216, 152, 368, 264));
    // The extra graphics (all pen 3) beside the background (pen 1 at its left), pen 0 under
    // them.
    const QImage shown = p.main().shownImage();
    const QColor extra = shown.pixelColor(2 * 184 + 10, 10);
    EXPECT_EQ(shown.pixelColor(2 * 184 + 90, 90), extra);
    EXPECT_NE(shown.pixelColor(0, 10), extra);
    EXPECT_NE(shown.pixelColor(2 * 184 + 10, 200), extra);
    EXPECT_NE(shown.pixelColor(2 * 184 + 10, 200), shown.pixelColor(0, 10));
    Screenshot(&p.main(), "main_level_file");

    // Saved under its name in another folder: the same level file comes out.
    test::TempDir other;
    p.windows().save->setCurrentFolder(QString::fromStdString(other.path().string()));
    AnswerSaveDialog(p.windows().save.get(), "stage");
    Click(Key(p.main(), "Key21"));
    const std::string again = (other.path() / "stage0.lvl").string();
    ASSERT_TRUE(std::filesystem::exists(again));
    EXPECT_EQ(test::ReadBytes(again), written);
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST(MainWindowRecognition, AnAlteredLevelFileIsNotSupportedAndChangesNothing) {
    Program p;
    const QString path = p.folder() + "odd0.lvl";
    std::vector<std::uint8_t> bytes = LevelFile(path.toStdString());
    bytes[150] = static_cast<std::uint8_t>(bytes[150] + 1);  // the second palette
    test::WriteBytes(path.toStdString(), bytes);
    p.script().Ok();
    DropFiles(&p.main(), {path});
    ASSERT_TRUE(WaitUntil([&] { return !p.script().shown.empty(); }));
    EXPECT_EQ(p.script().shown[0].text, "Not supported file format");
    EXPECT_TRUE(p.main().document().state().noPicture);
}

// A PC video written as .mp4 and given a name that says nothing.
QString VideoUnderAnotherName(const Program& p, const QString& name) {
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = 50;
    const std::string mp4 = (p.folder() + "made.mp4").toStdString();
    test::WriteTestVideo(mp4, recipe, [](int n, Picture& picture) {
        picture.fill(MakeColour(4 * n, 4 * n, 4 * n));
    });
    const QString path = p.folder() + name;
    std::filesystem::rename(mp4, path.toStdString());
    return path;
}

TEST(MainWindowRecognition, AVideoUnderANameThatSaysNothingOpensByDropDialogAndHandOff) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    av_log_set_level(AV_LOG_FATAL);
    Program p;
    const QString bare = VideoUnderAnotherName(p, "clip");
    const QString bin = VideoUnderAnotherName(p, "clip.bin");

    // Dropped.
    DropFiles(&p.main(), {bare});
    ASSERT_TRUE(WaitUntil([&] { return p.main().document().video().loaded; }));
    EXPECT_FALSE(p.main().document().video().symbosVideo);
    EXPECT_EQ(p.Text("Label1"), "Video\n\r00:00:02\n\r25 fps");
    EXPECT_TRUE(Key(p.main(), "VideoKey04")->isEnabled());
    Click(Key(p.main(), "Key23"));
    ASSERT_FALSE(p.main().document().video().loaded);

    // Picked in the open dialog, which previews it as a video.
    OpenDialog* dialog = p.windows().open.get();
    dialog->setCurrentFolder(p.folder());
    QString preview;
    WhenVisible(dialog, [&] {
        ASSERT_TRUE(ClickEntry(dialog, "clip.bin")) << "the open dialog does not list it";
        preview = dialog->findChild<QLabel*>("Label2")->text();
        Click(dialog->findChild<PictureKey*>("KeyGreen01"));
    });
    Click(Key(p.main(), "Key20"));
    EXPECT_EQ(preview, "PC Video: Time:00:00:02 25 fps");
    EXPECT_TRUE(p.main().document().video().loaded);
    EXPECT_EQ(p.main().document().state().currentFileName, bin.toStdString());
    Click(Key(p.main(), "Key23"));

    // Handed over by a second instance.
    SingleInstance first(QString("mozu-probe-%1").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(first.Listen());
    QObject::connect(&first, &SingleInstance::pathReceived, &p.main(),
                     [&p](const QString& path) { p.main().openHandedOverFile(path); });
    const SingleInstance second(first.name());
    ASSERT_TRUE(second.HandOff(bare));
    ASSERT_TRUE(WaitUntil([&] { return p.main().document().video().loaded; }));
    EXPECT_EQ(p.main().document().state().currentFileName, bare.toStdString());
    EXPECT_EQ(p.script().unexpected, 0);
}

TEST(MainWindowRecognition, TextUnderANameThatSaysNothingIsNotSupported) {
    Program p;
    const QString path = p.folder() + "readme";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3000, 'x'));
    f.close();
    p.script().Ok();
    DropFiles(&p.main(), {path});
    ASSERT_TRUE(WaitUntil([&] { return !p.script().shown.empty(); }));
    EXPECT_EQ(p.script().shown[0].text, "Not supported file format");
    EXPECT_TRUE(p.main().document().state().noPicture);
}

}  // namespace
}  // namespace mozu::app_test
