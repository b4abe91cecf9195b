#include "video_app_support.h"

extern "C" {
#include <libavutil/log.h>
}

#include "colour/picture.h"
#include "document/document.h"
#include "document/open_file.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/scripted_asker.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_writer.h"

namespace mozu::app_test {

void PaintNumberedFrame(int n, Picture& picture) {
    const int g = (n % 64) * 4;
    picture.fill(MakeColour(g, g, g));
    for (int y = 8; y < 24; ++y)
        for (int x = 0; x < 16; ++x) picture.setPixel((x + n) % picture.width(), y, 0xFFFFFF);
}

int FrameNumberOf(const QImage& image) {
    // Rows 30 and below never hold the block; a few pixels averaged against the codec's noise.
    int sum = 0;
    for (int x = 20; x < 28; ++x)
        sum += qGreen(image.pixel(x * image.width() / 64, image.height() * 40 / 48));
    return (sum / 8 + 2) / 4;
}

QString MakeClip(const QString& folder, const QString& name, int frames) {
    if (!test::HasVideoEncoder("mpeg4")) return {};
    av_log_set_level(AV_LOG_FATAL);
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.frames = frames;
    recipe.bitRate = 2000000;  // near-lossless flat greys: the frame number reads back
    const QString path = folder + name;
    test::WriteTestVideo(path.toStdString(), recipe, PaintNumberedFrame);
    return path;
}

QString MakeVid(const QString& clip, const QString& base, bool sixteen, int start, int end) {
    Document maker(MakeFfmpegFrameSource());
    OpenFileAs(maker, clip.toStdString(), FileType::PcVideo, OpenOrigin::Chosen);
    maker.video().startMark = start;
    maker.video().endMark = end;
    VideoRunSettings settings;
    settings.sixteen = sixteen;
    settings.baseName = base.toStdString();
    settings.title = "Clip";
    settings.information = "Made by a test";
    test::ScriptedAsker asker(test::Otherwise::kYes);
    VideoWriterRun run;
    run.start(maker.state(), maker.video(), asker, settings);
    while (run.tick(maker.state(), maker.video(), asker) == VideoWriterRun::Tick::Frame) {
    }
    return QString::fromStdString(run.outputPath());
}

VideoCommands& Video(MainWindow& w) {
    return *w.findChild<VideoCommands*>("VideoCommands");
}

QWidget* Widget(MainWindow& w, const char* name) {
    return w.findChild<QWidget*>(name);
}

VideoLog::VideoLog(MainWindow& w) {
    QObject::connect(&Video(w), &VideoCommands::frameShown, &context_,
                     [this](int i) { shown.push_back(i); });
    QObject::connect(&Video(w), &VideoCommands::beeped, &context_, [this] { ++beeps; });
}

}  // namespace mozu::app_test
