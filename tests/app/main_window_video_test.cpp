// Opening PC videos in the main window: the first frame is shown and becomes the source of a
// PC picture (slot 255), the video controls are enabled, Label1 tells the running time.

#include <gtest/gtest.h>
#include <QTest>

extern "C" {
#include <libavutil/log.h>
}

#include "app/picture_convert.h"
#include "app_test_support.h"
#include "colour/conversion_commands.h"
#include "dialogs/open_dialog.h"
#include "skin/symbol_label.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/scripted_asker.h"

namespace mozu::app_test {
namespace {

QWidget* Find(MainWindow& w, const char* name) {
    return w.findChild<QWidget*>(name);
}

// Frame n is a grey of level 4 x n with a white block that moves right.
void PaintFrame(int n, Picture& picture) {
    picture.fill(MakeColour(4 * n, 4 * n, 4 * n));
    for (int y = 8; y < 24; ++y)
        for (int x = 0; x < 16; ++x) picture.setPixel((x + n) % picture.width(), y, 0xFFFFFF);
}

class MainWindowVideo : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
        av_log_set_level(AV_LOG_FATAL);
        test::TestVideoRecipe recipe;
        recipe.encoder = "mpeg4";
        recipe.frames = 50;  // 2 seconds at 25 fps
        video = p.folder() + "clip.avi";
        test::WriteTestVideo(video.toStdString(), recipe, PaintFrame);
    }

    Program p;
    QString video;
};

TEST_F(MainWindowVideo, DroppedVideoShowsItsFirstFrameAsAPcPicture) {
    // A mode 2 conversion first: the slot last shown must not become the video's source slot.
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().state().noPicture; }));
    Click(Find(p.main(), "Key02"));
    p.script().No();  // one unsaved picture: do not save it
    DropFiles(&p.main(), {video});
    ASSERT_TRUE(WaitUntil([&] { return p.main().document().video().loaded; }));
    EXPECT_EQ(p.Text("Label1"), "Video\n\r00:00:02\n\r25 fps");
    EXPECT_EQ(p.main().document().state().currentSlot, Slot::Source);
    EXPECT_EQ(p.main().document().state().sourceSlot, Slot::Source);
    EXPECT_EQ(p.main().document().state().currentFileName, video.toStdString());
    EXPECT_EQ(p.main().document().state().source.width(), 64);
    EXPECT_EQ(p.main().document().state().source.height(), 48);
    EXPECT_EQ(p.main().shownImage(), ToQImage(p.main().document().state().source));
    for (auto flag : p.main().document().state().converted) EXPECT_EQ(flag, 0);
    for (const char* name : {"VideoKey01", "VideoKey04", "VideoKey08", "VideoKey13", "VideoKey14",
                             "Horizontal", "HScrollButton"})
        EXPECT_TRUE(Find(p.main(), name)->isEnabled()) << name;
    EXPECT_EQ(p.main().findChild<SymbolLabel*>("VideoLabel04")->text(), "4");
    Screenshot(&p.main(), "main_video_opened");

    // A conversion of the frame scales it as a PC picture (slot 255), as the core does.
    ConversionState expected;
    expected.source = p.main().document().state().source;
    expected.sourceSlot = expected.currentSlot = Slot::Source;
    expected.noPicture = false;
    expected.sourceColourCount = p.main().document().state().sourceColourCount;
    test::ScriptedAsker asker;  // answers no
    ConvertSlotCommand(expected, asker, Slot::Mode2, true);
    Click(Find(p.main(), "Key02"));
    EXPECT_EQ(p.main().document().state().picture(Slot::Mode2), expected.picture(Slot::Mode2));

    // Another picture closes the video and disables its controls again.
    p.script().No();
    DropFiles(&p.main(), {SamplePhoto()});
    ASSERT_TRUE(WaitUntil([&] { return !p.main().document().video().loaded; }));
    EXPECT_FALSE(Find(p.main(), "VideoKey04")->isEnabled());
    EXPECT_FALSE(p.main().document().video().open);
}

TEST_F(MainWindowVideo, VideoFromTheOpenDialogNamesItsExtension) {
    p.windows().open->setCurrentFolder(p.folder());
    PickInOpenDialog(p.windows().open.get(), "clip.avi");
    Click(Find(p.main(), "Key20"));
    ASSERT_TRUE(p.main().document().video().loaded);
    EXPECT_EQ(p.Text("Label1"), ".AVI video\n\r00:00:02\n\r25 fps");
    EXPECT_EQ(p.main().document().state().sourceSlot, Slot::Source);
}

}  // namespace
}  // namespace mozu::app_test
