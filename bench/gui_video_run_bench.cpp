// A 4-colour SymbOS video conversion driven by the main window's timers, against the same run
// through `mozu-cli video`, side by side in each iteration:
//   BM_VideoRun  the GUI path: the run's timer with its interval set to 0 (so only the work is
//                measured, not the 100 ms pacing), labels, progress and events included;
//                the CLI path: a `mozu-cli video` process over the same video and marks.
//                Counters: gui_over_cli (goal at most 1.2), longest_gap_ms, the longest time
//                between two events the GUI thread handled during the run (goal under the
//                100 ms tick), frames (written per run). The CLI's time includes starting the
//                process and opening the video; gui_over_core compares the GUI's run with the
//                CLI's loop alone (the core's run ticked in a loop in this process, the video
//                already open), which isolates what the timers, labels and events add;
//                gui_over_core_cpu the same in this thread's CPU time (less shaken by a busy
//                machine, but blind to the decoder's own threads).
// Run: build/bench/mozu_gui_video_run_bench (offscreen unless QT_QPA_PLATFORM names another).

#include "colour/conversion_state.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <ctime>
#include <filesystem>

extern "C" {
#include <libavutil/log.h>
}

#include "app/application.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "app/video_run_driver.h"
#include "document/open_file.h"
#include "skin/picture_key.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// The CPU time of this thread: the work done, whatever else the machine runs meanwhile.
double ThreadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The longest time between two events handed to any object of the GUI thread.
class EventGaps : public QObject {
  public:
    void reset() {
        last_ = Clock::now();
        longest = 0;
    }
    double longest = 0;

  protected:
    bool eventFilter(QObject*, QEvent*) override {
        const auto now = Clock::now();
        longest = std::max(longest, Seconds(last_, now));
        last_ = now;
        return false;
    }

  private:
    Clock::time_point last_ = Clock::now();
};

// 400 frames of 320 x 240 at 25 fps: 200 frames written at a step of 2.
void Paint(int n, mozu::Picture& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             mozu::MakeColour((x + n) & 255, (y * 2 + n) & 255, (x ^ y) & 255));
}

void BM_VideoRun(benchmark::State& state) {
    av_log_set_level(AV_LOG_FATAL);
    mozu::test::TempDir dir;
    const std::string clip = (dir.path() / "clip.avi").string();
    mozu::test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.width = 320;
    recipe.height = 240;
    recipe.frames = 400;
    recipe.gop = 25;
    mozu::test::WriteTestVideo(clip, recipe, Paint);

    mozu::MozuWindows windows;
    mozu::MainWindow& main = *windows.main;
    main.show();
    main.dropFiles({QString::fromStdString(clip)});
    while (!main.document().video().loaded) QCoreApplication::processEvents();
    auto* driver = main.findChild<mozu::VideoRunDriver*>("VideoRun");
    driver->setTickInterval(0);
    auto* okKey = windows.msg->findChild<mozu::PictureKey*>("Key01");

    // The CLI's loop in this process: the same run ticked back to back.
    mozu::Document core(mozu::MakeFfmpegFrameSource());
    mozu::OpenFileAs(core, clip, mozu::FileType::PcVideo, mozu::OpenOrigin::Chosen);

    EventGaps gaps;
    double gui = 0, cli = 0, loop = 0, guiCpu = 0, loopCpu = 0, longest = 0;
    int frames = 0;
    for (auto _ : state) {
        const std::string guiBase = (dir.path() / "gui").string();
        std::filesystem::remove(guiBase + ".vid");
        mozu::VideoRunSettings settings;
        settings.baseName = guiBase;
        settings.title = "clip";
        settings.information = "bench";
        main.document().video().startMark = 0;
        main.document().video().endMark = recipe.frames;
        QCoreApplication::instance()->installEventFilter(&gaps);
        gaps.reset();
        const double c0 = ThreadCpu();
        auto t0 = Clock::now();
        driver->start(settings);
        while (driver->running()) QCoreApplication::processEvents(QEventLoop::AllEvents);
        auto t1 = Clock::now();
        guiCpu += ThreadCpu() - c0;
        QCoreApplication::instance()->removeEventFilter(&gaps);
        longest = std::max(longest, gaps.longest);
        frames = driver->run().framesWritten();
        // The end notice waits on the message window: answered as a user would.
        while (windows.msg->busy()) {
            QMetaObject::invokeMethod(okKey, "clicked");
            QCoreApplication::processEvents();
        }

        QProcess child;
        auto t2 = Clock::now();
        child.start(MOZU_CLI_PATH, {"video", QString::fromStdString(clip), "-o",
                                    QString::fromStdString((dir.path() / "cli").string()),
                                    "--title", "clip", "--info", "bench", "--force"});
        child.waitForFinished(-1);
        auto t3 = Clock::now();
        if (child.exitCode() != 0) state.SkipWithError("mozu-cli video failed");
        const std::string loopBase = (dir.path() / "loop").string();
        std::filesystem::remove(loopBase + ".vid");
        settings.baseName = loopBase;
        core.video().startMark = 0;
        core.video().endMark = recipe.frames;
        mozu::test::ScriptedAsker asker;
        mozu::VideoWriterRun run;
        const double c4 = ThreadCpu();
        auto t4 = Clock::now();
        run.start(core.state(), core.video(), asker, settings);
        while (run.tick(core.state(), core.video(), asker) == mozu::VideoWriterRun::Tick::Frame) {
        }
        auto t5 = Clock::now();
        loopCpu += ThreadCpu() - c4;

        gui += Seconds(t0, t1);
        cli += Seconds(t2, t3);
        loop += Seconds(t4, t5);
    }
    state.counters["gui_over_core"] = loop > 0 ? gui / loop : 0;
    state.counters["gui_over_core_cpu"] = loopCpu > 0 ? guiCpu / loopCpu : 0;
    state.counters["gui_over_cli"] = cli > 0 ? gui / cli : 0;
    state.counters["longest_gap_ms"] = longest * 1000;
    state.counters["frames"] = frames;
    state.counters["gui_ms"] = gui * 1000 / static_cast<double>(state.iterations());
    state.counters["cli_ms"] = cli * 1000 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_VideoRun)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
