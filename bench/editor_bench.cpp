// The editor's heaviest actions, each timed side by side with a plain memcpy of the picture's
// bytes in the same iteration. Counters:
//   ratio        the action over the memcpy
//   us, us_copy  the microseconds behind it (one frame at 60 Hz is 16667 us)
// Actions: a flood fill of a whole 640 x 400 area; an undo point of the largest fixed slot
// (overscan mode 2, 736 x 264) with the history full, as after ten changes; a drag step of the
// ellipse tool over that picture (the old preview removed, the new one drawn); an undo.
// Goal: every action under one frame at 60 Hz.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "colour/colour_table.h"
#include "editing/drawing.h"
#include "editing/editor_model.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Times `action` and a memcpy of `bytes` bytes in turn, and reports the ratio.
template <typename Setup, typename Action>
void SideBySide(benchmark::State& bs, std::size_t bytes, Setup&& setup, Action&& action) {
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    double tAction = 0, tCopy = 0;
    for (auto _ : bs) {
        bs.PauseTiming();
        setup();
        bs.ResumeTiming();
        const auto a = Clock::now();
        action();
        const auto b = Clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        const auto c = Clock::now();
        tAction += Seconds(a, b);
        tCopy += Seconds(b, c);
    }
    const double n = static_cast<double>(bs.iterations());
    bs.counters["ratio"] = tAction / tCopy;
    bs.counters["us"] = tAction / n * 1e6;
    bs.counters["us_copy"] = tCopy / n * 1e6;
}

EditPalette Palette() {
    EditPalette p{};
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = kDefaultColourTable[i];
    return p;
}

void BM_FloodFill640x400(benchmark::State& bs) {
    const Picture blank(640, 400, kDefaultColourTable[8]);
    Picture p;
    SideBySide(
        bs, blank.byteSize(), [&] { p = blank; },
        [&] {
            benchmark::DoNotOptimize(FloodFill(p, {320, 200}, kDefaultColourTable[1]));
        });
}
BENCHMARK(BM_FloodFill640x400)->Unit(benchmark::kMicrosecond);

struct LargestSlotEdit {
    LargestSlotEdit() {
        model.open(Slot::Overscan2, test::RandomPicture(736, 264, 4, 2), Palette(), history, 930,
                   530);
        for (int i = 0; i < UndoHistory::kDepth; ++i) model.saveUndoPoint();
    }
    UndoHistory history;
    EditorModel model;
};

void BM_UndoPointLargestSlot(benchmark::State& bs) {
    LargestSlotEdit edit;
    SideBySide(
        bs, edit.model.picture().byteSize(), [] {}, [&] { edit.model.saveUndoPoint(); });
}
BENCHMARK(BM_UndoPointLargestSlot)->Unit(benchmark::kMicrosecond);

void BM_EllipseDragStepLargestSlot(benchmark::State& bs) {
    LargestSlotEdit edit;
    edit.model.setTool(Tool::Ellipse);
    edit.model.press({0, 0}, MouseButton::Left);
    int step = 0;
    SideBySide(
        bs, edit.model.picture().byteSize(), [] {},
        [&] {
            edit.model.move({735 - (step++ & 1), 263});
        });
}
BENCHMARK(BM_EllipseDragStepLargestSlot)->Unit(benchmark::kMicrosecond);

void BM_UndoLargestSlot(benchmark::State& bs) {
    LargestSlotEdit edit;
    SideBySide(
        bs, edit.model.picture().byteSize(), [&] { edit.model.saveUndoPoint(); },
        [&] { benchmark::DoNotOptimize(edit.model.undo()); });
}
BENCHMARK(BM_UndoLargestSlot)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mozu

BENCHMARK_MAIN();
