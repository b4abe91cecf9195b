// The whole picture path on the bundled photograph: JPEG decode, then for slots 0, 1, 2 and 10
// the colour count, the resize and the dithering. After the run it prints, for every slot, the
// ratio of (count + resize + dither) time to the decode time, both measured in this process
// with the same clock (the fastest repetition of each, to damp the noise of a shared machine).
// Goal: at most 1.0 for every slot, so converting is never slower than reading the file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "colour/count_colors.h"
#include "colour/dithering.h"
#include "colour/resize.h"
#include "media/image_loader.h"

namespace {

using namespace mozu;

const std::string kSample = std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg";
constexpr Slot kSlots[] = {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::SgxMsx};

const Picture& Photo() {
    static const Picture photo = [] {
        Picture p;
        LoadJpeg(kSample, p);
        return p;
    }();
    return photo;
}

void Dither(ConversionState& state, const Picture& work, Slot slot) {
    if (slot == Slot::Mode2)
        DitheringCPCPalette(state, work, slot);
    else
        DitheringCPCPalette2(state, work, slot);
}

void BM_DecodeJpeg(benchmark::State& st) {
    Picture p;
    for (auto _ : st) {
        LoadJpeg(kSample, p);
        benchmark::DoNotOptimize(p.data());
    }
}

// Count + resized working copy + dither, as a conversion command runs them.
void BM_PicturePath(benchmark::State& st) {
    const Slot slot = SlotFromNumber(static_cast<int>(st.range(0)));
    const Picture& photo = Photo();
    ConversionState state;
    state.sourceSlot = Slot::Source;
    for (auto _ : st) {
        state.sourceColourCount = CountColors(state, photo);
        const Picture work = ResizeBitmap(state, photo, slot);  // the command's working copy
        Dither(state, work, slot);
        benchmark::DoNotOptimize(state.slots[slot].data());
    }
}

// The parts on their own, to see where the time goes.
void BM_CountColors(benchmark::State& st) {
    ConversionState state;
    for (auto _ : st) benchmark::DoNotOptimize(CountColors(state, Photo()));
}

void BM_Resize(benchmark::State& st) {
    const Slot slot = SlotFromNumber(static_cast<int>(st.range(0)));
    ConversionState state;
    state.sourceSlot = Slot::Source;
    for (auto _ : st) {
        const Picture work = ResizeBitmap(state, Photo(), slot);
        benchmark::DoNotOptimize(work.data());
    }
}

void BM_Dither(benchmark::State& st) {
    const Slot slot = SlotFromNumber(static_cast<int>(st.range(0)));
    ConversionState state;
    state.sourceSlot = Slot::Source;
    Picture work = Photo();
    ResizeBitmap(state, work, slot);
    for (auto _ : st) {
        Dither(state, work, slot);
        benchmark::DoNotOptimize(state.slots[slot].data());
    }
}

constexpr int kRepetitions = 5;
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);
// The argument is the slot's number, which also names the result ("BM_PicturePath/10").
BENCHMARK(BM_PicturePath)
    ->Arg(SlotNumber(Slot::Mode0))
    ->Arg(SlotNumber(Slot::Mode1))
    ->Arg(SlotNumber(Slot::Mode2))
    ->Arg(SlotNumber(Slot::SgxMsx))
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_CountColors)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Resize)
    ->Arg(SlotNumber(Slot::Mode0))
    ->Arg(SlotNumber(Slot::Mode1))
    ->Arg(SlotNumber(Slot::Mode2))
    ->Arg(SlotNumber(Slot::SgxMsx))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dither)
    ->Arg(SlotNumber(Slot::Mode0))
    ->Arg(SlotNumber(Slot::Mode1))
    ->Arg(SlotNumber(Slot::Mode2))
    ->Arg(SlotNumber(Slot::SgxMsx))
    ->Unit(benchmark::kMicrosecond);

// Shows every run as usual and keeps the fastest wall-clock and CPU time per iteration of
// each benchmark over its repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double real = 0, cpu = 0;  // seconds per iteration
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const double iterations = static_cast<double>(run.iterations);
            const Times t{run.real_accumulated_time / iterations,
                          run.cpu_accumulated_time / iterations};
            // The name without the repetition suffix: "BM_PicturePath/2".
            const std::string name = run.run_name.function_name +
                                     (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            auto [it, fresh] = best_.emplace(name, t);
            if (!fresh) {
                it->second.real = std::min(it->second.real, t.real);
                it->second.cpu = std::min(it->second.cpu, t.cpu);
            }
        }
    }
    Times best(const std::string& name) const {
        const auto it = best_.find(name);
        return it == best_.end() ? Times{} : it->second;
    }

  private:
    std::map<std::string, Times> best_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // Wall-clock time is the goal's measure; CPU time is shown beside it because on a loaded
    // machine the wall clock also counts time spent waiting for a core.
    const RatioReporter::Times decode = reporter.best("BM_DecodeJpeg");
    if (decode.real <= 0) return 0;  // the decode was filtered out: nothing to compare with
    std::printf("\n%-5s %12s %12s %8s %12s %12s %8s\n", "slot", "path us", "decode us", "ratio",
                "path cpu us", "decode cpu", "ratio");
    bool allMet = true;
    for (Slot slot : kSlots) {
        const RatioReporter::Times path =
            reporter.best("BM_PicturePath/" + std::to_string(SlotNumber(slot)));
        if (path.real <= 0) continue;
        const double ratio = path.real / decode.real;
        allMet = allMet && ratio <= 1.0;
        std::printf("%-5d %12.1f %12.1f %8.3f %12.1f %12.1f %8.3f\n", SlotNumber(slot),
                    path.real * 1e6, decode.real * 1e6, ratio, path.cpu * 1e6, decode.cpu * 1e6,
                    path.cpu / decode.cpu);
    }
    std::printf("goal (wall-clock ratio <= 1.0 for every slot): %s\n", allMet ? "met" : "NOT met");
    benchmark::Shutdown();
    return 0;
}
