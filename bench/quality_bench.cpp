// The reduction methods side by side on a set of photographs: for every dithering slot and
// method, the time of the reduction (Google Benchmark, the fastest repetition) and the quality
// of its picture (quality/quality_measure.h: mean OKLab colour error and mean SSIM of
// lightness over the set), printed as one table per slot with the classic method as the
// reference row and the ratios against it.
//
// The photographs are Debian's Plasma wallpapers (scripts/install-bench-photos.sh installs
// them); those not installed are skipped and named. Goals: every method within 3x the classic
// method's time on the same slot, ordered dithering no slower; for every slot a method with at
// least 25% less colour error than the classic one, and for the two-pen slots one with a mean
// SSIM at least 0.15 higher.
//
// Run: mozu_quality_bench [--benchmark_filter=...] (a filter such as "/2/" keeps slot 2).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "colour/dithering.h"
#include "colour/dithering_methods.h"
#include "colour/indexed.h"
#include "colour/resize.h"
#include "media/image_loader.h"
#include "quality/quality_measure.h"

namespace {

using namespace mozu;

// Photographs among the wallpapers (the drawn and rendered ones are left out), at 800 x 600,
// and the cups of the bundled sample at their full size.
const char* const kPhotos[] = {
    "Autumn/contents/images/800x600.jpg",       "BytheWater/contents/images/800x600.jpg",
    "ColdRipple/contents/images/800x600.jpg",   "DarkestHour/contents/images/800x600.jpg",
    "EveningGlow/contents/images/800x600.jpg",  "FallenLeaf/contents/images/800x600.jpg",
    "Grey/contents/images/800x600.jpg",         "Kite/contents/images/800x600.jpg",
    "OneStandsOut/contents/images/800x600.jpg", "Path/contents/images/800x600.jpg",
    "summer_1am/contents/images/800x600.jpg",   "ColorfulCups/contents/images/2560x1600.jpg",
};
const std::string kWallpapers = "/usr/share/wallpapers/";

constexpr Slot kSlots[] = {Slot::Mode0,     Slot::Mode1,     Slot::Mode2,  Slot::Overscan0,
                           Slot::Overscan1, Slot::Overscan2, Slot::SgxCpc, Slot::SgxCpcFree,
                           Slot::SgxMsx,    Slot::SgxMsxFree};

struct Method {
    std::string name;  // as mozu-cli takes it: --method NAME [--palette clustering]
    ReductionOptions options;
};

std::vector<Method> Methods() {
    const char* const names[] = {"classic",
                                 "classic/clustering",
                                 "floyd-steinberg",
                                 "floyd-steinberg+rgb",
                                 "floyd-steinberg+serpentine+rgb",
                                 "jarvis+rgb",
                                 "stucki+rgb",
                                 "atkinson+rgb",
                                 "sierra-lite+rgb",
                                 "bayer2+rgb",
                                 "bayer4+rgb",
                                 "bayer8+rgb",
                                 "bayer8",
                                 "blue-noise+rgb",
                                 "floyd-steinberg+rgb/clustering",
                                 "stucki+rgb/clustering",
                                 "bayer8+rgb/clustering"};
    std::vector<Method> methods;
    for (const char* n : names) {
        const std::string name = n;
        const std::size_t slash = name.find('/');
        ReductionOptions o;
        ParseReductionMethod(name.substr(0, slash), o);
        if (slash != std::string::npos) o.palette = ParsePaletteChoice(name.substr(slash + 1));
        methods.push_back({name, o});
    }
    return methods;
}

// A photograph shrunk by a whole factor (the mean of each block) to at most 800 x 600, so that
// the free-size slots stay the size of a screen.
Picture Shrunk(const Picture& p) {
    const int f = std::max({1, (p.width() + 799) / 800, (p.height() + 599) / 600});
    if (f == 1) return p;
    Picture out(p.width() / f, p.height() / f);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int yy = 0; yy < f; ++yy)
                for (int xx = 0; xx < f; ++xx) {
                    const Colour c = p.pixel(x * f + xx, y * f + yy);
                    r += Red(c);
                    g += Green(c);
                    b += Blue(c);
                }
            out.setPixel(x, y, MakeColour(r / (f * f), g / (f * f), b / (f * f)));
        }
    return out;
}

const std::vector<std::pair<std::string, Picture>>& Photos() {
    static const std::vector<std::pair<std::string, Picture>> photos = [] {
        std::vector<std::pair<std::string, Picture>> list;
        for (const char* name : kPhotos) {
            const std::string path = kWallpapers + name;
            if (!std::filesystem::exists(path)) {
                std::fprintf(stderr, "skipped (not installed): %s\n", path.c_str());
                continue;
            }
            Picture p;
            LoadJpeg(path, p);
            list.emplace_back(name, Shrunk(p));
        }
        return list;
    }();
    return photos;
}

// Every photograph resized for the slot, as a conversion command's working copy.
const std::vector<Picture>& Works(Slot slot) {
    static std::map<Slot, std::vector<Picture>> works;
    auto [it, fresh] = works.try_emplace(slot);
    if (fresh) {
        ConversionState state;
        state.sourceSlot = Slot::Source;
        for (const auto& photo : Photos())
            it->second.push_back(ResizeBitmap(state, photo.second, slot));
    }
    return it->second;
}

bool IndexSlot(Slot slot) {
    return slot == Slot::Mode2 || slot == Slot::Overscan2 || slot == Slot::SgxCpc ||
           slot == Slot::SgxCpcFree;
}

// The reduction as the conversion command runs it, up to a picture in colour-table colours.
void Reduce(ConversionState& state, const Picture& work, Slot slot, const ReductionOptions& o) {
    if (!o.isDefault())
        DitherWithOptions(state, work, slot, o);
    else if (IndexSlot(slot))
        DitheringCPCPalette(state, work, slot);
    else
        DitheringCPCPalette2(state, work, slot);
    if (IndexSlot(slot)) Indexed2BMP(state, state.slots[slot], state.slots[slot], slot);
}

void BM_Reduce(benchmark::State& st, Slot slot, ReductionOptions o) {
    const std::vector<Picture>& works = Works(slot);
    ConversionState state;
    for (auto _ : st)
        for (const Picture& work : works) {
            Reduce(state, work, slot, o);
            benchmark::DoNotOptimize(state.slots[slot].data());
        }
}

// Keeps the fastest CPU time per iteration of each benchmark over its repetitions (the CPU time:
// on a machine shared with other work the wall clock counts waiting for a core too).
class Collector : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const double t = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            auto [it, fresh] = best_.emplace(run.run_name.function_name, t);
            if (!fresh) it->second = std::min(it->second, t);
        }
    }
    double best(const std::string& name) const {
        const auto it = best_.find(name);
        return it == best_.end() ? 0 : it->second;
    }

  private:
    std::map<std::string, double> best_;
};

std::string BenchName(Slot slot, const Method& m) {
    return "Reduce/" + std::to_string(SlotNumber(slot)) + "/" + m.name;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (Photos().empty()) {
        std::fprintf(stderr, "no photograph installed: run scripts/install-bench-photos.sh\n");
        return 1;
    }
    const std::vector<Method> methods = Methods();
    for (Slot slot : kSlots)
        for (const Method& m : methods)
            benchmark::RegisterBenchmark(BenchName(slot, m).c_str(), BM_Reduce, slot, m.options)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.05)
                ->Repetitions(3);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf(
        "\n%zu photographs. error: mean OKLab distance x 100 (lower is better); ssim: mean "
        "SSIM of lightness (higher is better); time: CPU ms for the set; ratios against "
        "the classic row.\n",
        Photos().size());
    bool speedMet = true, qualityMet = true;
    for (Slot slot : kSlots) {
        const double classicTime = collector.best(BenchName(slot, methods[0]));
        if (classicTime <= 0) continue;  // filtered out
        std::printf("\nslot %d\n%-32s %8s %8s %8s %8s %9s %7s\n", SlotNumber(slot), "method",
                    "error", "ratio", "ssim", "diff", "time ms", "ratio");
        double classicError = 0, classicSsim = 0, bestErrorRatio = 1e9, bestSsimGain = -1;
        for (const Method& m : methods) {
            const double time = collector.best(BenchName(slot, m));
            if (time <= 0) continue;
            double error = 0, ssim = 0;
            const std::vector<Picture>& works = Works(slot);
            for (const Picture& work : works) {
                ConversionState state;
                Reduce(state, work, slot, m.options);
                const QualityScore s = MeasureSlot(state, slot, work);
                error += s.colourError;
                ssim += s.ssim;
            }
            error /= static_cast<double>(works.size());
            ssim /= static_cast<double>(works.size());
            if (m.options.isDefault()) {
                classicError = error;
                classicSsim = ssim;
            } else {
                bestErrorRatio = std::min(bestErrorRatio, error / classicError);
                bestSsimGain = std::max(bestSsimGain, ssim - classicSsim);
                const double limit = m.options.ordered() ? 1.0 : 3.0;
                if (time / classicTime > limit) speedMet = false;
            }
            std::printf("%-32s %8.2f %8.3f %8.3f %+8.3f %9.2f %7.2f\n", m.name.c_str(), error,
                        error / classicError, ssim, ssim - classicSsim, time * 1e3,
                        time / classicTime);
        }
        const bool twoPens = slot == Slot::Mode2 || slot == Slot::Overscan2;
        const bool met = bestErrorRatio <= 0.75 && (!twoPens || bestSsimGain >= 0.15);
        qualityMet = qualityMet && met;
        std::printf("best error ratio %.3f, best SSIM gain %+.3f: %s\n", bestErrorRatio,
                    bestSsimGain, met ? "met" : "NOT met");
    }
    std::printf("\nquality goal (error -25%% every slot, SSIM +0.15 two-pen slots): %s\n",
                qualityMet ? "met" : "NOT met");
    std::printf("speed goal (every method <= 3x classic, ordered <= 1x): %s\n",
                speedMet ? "met" : "NOT met");
    benchmark::Shutdown();
    return 0;
}
