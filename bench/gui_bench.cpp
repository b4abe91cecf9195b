// The GUI's costs measured beside their baselines in the same iterations:
//   BM_StartUp     a process that creates the eight windows and ends when the main window is
//                  painted for the first time, against a process that shows a bare Qt Widgets
//                  window of the same size. Counter startup_ratio; goal at most 2.
//   BM_ConvertKey  a click on a conversion key (mode 0: Key00, slot 9: Key15) until the
//                  converted picture is painted, against
//                  the core's conversion command alone on the same source (the sample photo).
//                  Counter gui_overhead = GUI / core - 1 (wall clock; gui_overhead_cpu the
//                  same in this thread's CPU time); goal at most 0.20.
// Run: build/bench/mozu_gui_bench (offscreen unless QT_QPA_PLATFORM names another platform).

#include "colour/conversion_state.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/application.h"
#include "app/main_window.h"
#include "colour/conversion_commands.h"
#include "media/image_loader.h"
#include "tests/support/scripted_asker.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// The CPU time of this thread, in seconds: the work done, without waits for the screen.
double ThreadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Notes the first paint of a widget.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget* w) : w_(w) { w->installEventFilter(this); }
    bool painted = false;
    void wait() {
        while (!painted) QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == w_ && e->type() == QEvent::Paint) painted = true;
        return false;
    }

  private:
    QWidget* w_;
};

// A user's click: press and release in the middle of the widget.
void Click(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

const std::string kSample = MOZU_SOURCE_DIR "/samples/sample.jpg";

// One start of this program in a child process that shows `what` ("bare" or "mozu") and ends
// at its first paint; the time from starting the process to its end.
double StartChild(const char* what) {
    QProcess child;
    auto t0 = Clock::now();
    child.start(QCoreApplication::applicationFilePath(), {QString("--start-child=") + what});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        std::fprintf(stderr, "the %s child failed\n", what);
        std::exit(1);
    }
    return Seconds(t0, Clock::now());
}

// Start-up is a process's: both children pay for loading the libraries, the application
// object, the platform and the fonts; the difference is the windows and what they read.
void BM_StartUp(benchmark::State& bs) {
    double bare = 0, mozu = 0;
    for (auto _ : bs) {
        bare += StartChild("bare");
        mozu += StartChild("mozu");
    }
    bs.counters["bare_ms"] = 1000 * bare / static_cast<double>(bs.iterations());
    bs.counters["mozu_ms"] = 1000 * mozu / static_cast<double>(bs.iterations());
    bs.counters["startup_ratio"] = mozu / bare;
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ConvertKey(benchmark::State& bs) {
    mozu::MozuWindows windows;
    mozu::MainWindow& main = *windows.main;
    main.show();
    QCoreApplication::processEvents();
    main.dropFiles({QString::fromStdString(kSample)});
    mozu::ConversionState core;
    mozu::LoadJpeg(kSample, core.source);
    core.noPicture = false;
    core.currentSlot = core.sourceSlot = mozu::Slot::Source;
    core.sourceColourCount = main.document().state().sourceColourCount;
    mozu::test::ScriptedAsker asker;  // answers no; the photograph asks nothing
    // Arg: the slot; its key on the main window.
    const mozu::Slot slot = mozu::SlotFromNumber(static_cast<int>(bs.range(0)));
    QWidget* key = main.findChild<QWidget*>(slot == mozu::Slot::Mode0 ? "Key00" : "Key15");
    QWidget* image1 = main.findChild<QWidget*>("Image1");
    double coreTime = 0, guiTime = 0, coreCpu = 0, guiCpu = 0;
    for (auto _ : bs) {
        core.converted[slot] = 0;
        const double c0 = ThreadCpu();
        auto t0 = Clock::now();
        mozu::ConvertSlotCommand(core, asker, slot, false);
        auto t1 = Clock::now();
        const double c1 = ThreadCpu();
        main.document().state().converted[slot] = 0;
        PaintWatch watch(image1);
        const double c2 = ThreadCpu();
        auto t2 = Clock::now();
        Click(key);
        watch.wait();
        auto t3 = Clock::now();
        const double c3 = ThreadCpu();
        coreTime += Seconds(t0, t1);
        guiTime += Seconds(t2, t3);
        coreCpu += c1 - c0;
        guiCpu += c3 - c2;
        benchmark::DoNotOptimize(core.picture(slot).data());
    }
    const double n = static_cast<double>(bs.iterations());
    bs.counters["core_ms"] = 1000 * coreTime / n;
    bs.counters["gui_ms"] = 1000 * guiTime / n;
    bs.counters["gui_overhead"] = guiTime / coreTime - 1;
    bs.counters["gui_overhead_cpu"] = guiCpu / coreCpu - 1;
}
// Mode 0 (160 x 200, the lightest conversion) and the full-size SymbOS graphic (640 x 400).
BENCHMARK(BM_ConvertKey)->Arg(0)->Arg(9)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    // Offscreen unless the caller chose a platform, as the GUI tests: the same figures with or
    // without a display, and the child processes inherit the choice.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString child = argc > 1 ? QString(argv[1]) : QString();
    if (child == "--start-child=bare") {
        QWidget window;
        window.resize(794, 691);
        PaintWatch watch(&window);
        window.show();
        watch.wait();
        return 0;
    }
    if (child == "--start-child=mozu") {
        mozu::MozuWindows windows;
        PaintWatch watch(windows.main.get());
        windows.main->show();
        watch.wait();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
