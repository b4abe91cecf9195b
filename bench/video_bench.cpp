// The video path end to end on test videos made at start (640 x 480, 300 frames at 25 fps,
// H.264 when FFmpeg has libx264, and MPEG-4 Visual): converting the whole video to a 4-colour
// and a 16-colour SymbOS video against decoding every frame with no conversion (frames per
// second through the run's ticks; the one-off open and close are reported apart), and
// random-access decodeFrame against sequential. After the run it prints the throughput ratios
// (source frames per second of the conversion over those of decoding), from the fastest
// repetition of each. Goals: at least 0.8 for H.264, at least 0.5 for MPEG-4 Visual.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "colour/conversion_state.h"
#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_writer.h"
#include "video/video_navigation.h"

namespace {

using namespace mozu;

constexpr int kFrames = 300;

struct Source {
    const char* name;
    const char* encoder;
    const char* file;
};
constexpr Source kSources[] = {{"h264", "libx264", "h264.mp4"}, {"mpeg4", "mpeg4", "mpeg4.avi"}};

// The folder of the made videos and the converted files, removed at the end.
const test::TempDir& Folder() {
    static const test::TempDir folder;
    return folder;
}
std::string PathOf(int source) {
    return Folder() / kSources[source].file;
}

// Moving shapes over a gradient with some grain: detail for the encoder and the ditherer.
void Paint(int n, Picture& p) {
    std::minstd_rand grain(static_cast<unsigned>(n));
    for (int y = 0; y < p.height(); ++y) {
        std::uint8_t* row = p.row(y);
        for (int x = 0; x < p.width(); ++x) {
            const int dx = x - (n * 3) % p.width(), dy = y - p.height() / 2;
            const bool disc = dx * dx + dy * dy < 90 * 90;
            const int g = static_cast<int>(grain() % 16);
            row[x * 3 + 0] = static_cast<std::uint8_t>(disc ? 40 : (x + n) % 256);
            row[x * 3 + 1] =
                static_cast<std::uint8_t>(disc ? 200 : (y * 255 / p.height() + g) % 256);
            row[x * 3 + 2] = static_cast<std::uint8_t>(disc ? 230 : (128 + g + n) % 256);
        }
    }
}

void BM_DecodeEveryFrame(benchmark::State& st) {
    const int s = static_cast<int>(st.range(0));
    auto source = MakeFfmpegFrameSource();
    for (auto _ : st) {
        st.PauseTiming();  // opening is a one-off cost, measured on its own below
        const VideoInfo info = source->open(PathOf(s));
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(info.width * info.height * 3));
        st.ResumeTiming();
        for (int i = 0; i < info.frameCount; ++i) source->decodeFrame(i, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    st.SetItemsProcessed(st.iterations() * kFrames);
}

// Every frame of the source through the run's ticks. Opening the video with the header step
// and the last tick (which puts the finished file in place, with an fsync) are one-off costs
// per file and are left out, as the decode-only side leaves out its open.
void BM_ConvertWholeVideo(benchmark::State& st) {
    const int s = static_cast<int>(st.range(0));
    const bool sixteen = st.range(1) == 16;
    ConversionState state;
    test::ScriptedAsker asker(test::Otherwise::kYes);
    VideoState video;
    video.source = MakeFfmpegFrameSource();
    for (auto _ : st) {
        st.PauseTiming();
        OpenVideo(video, PathOf(s));  // the open decodes frame 0, as the main window does
        VideoWriterRun run;
        VideoRunSettings settings;
        settings.sixteen = sixteen;
        settings.baseName = Folder() / "out";
        run.start(state, video, asker, settings);
        st.ResumeTiming();
        while (run.framesWritten() < run.plan().frames) run.tick(state, video, asker);
        st.PauseTiming();
        run.tick(state, video, asker);  // the normal end
        st.ResumeTiming();
    }
    st.SetItemsProcessed(st.iterations() * kFrames);
}

// The one-off cost of a whole run on its own: open, header, every frame, the end.
void BM_WholeRunWithOpenAndClose(benchmark::State& st) {
    const int s = static_cast<int>(st.range(0));
    ConversionState state;
    test::ScriptedAsker asker(test::Otherwise::kYes);
    VideoState video;
    video.source = MakeFfmpegFrameSource();
    for (auto _ : st) {
        OpenVideo(video, PathOf(s));
        VideoWriterRun run;
        VideoRunSettings settings;
        settings.baseName = Folder() / "whole";
        run.start(state, video, asker, settings);
        while (run.tick(state, video, asker) == VideoWriterRun::Tick::Frame) {
        }
    }
    st.SetItemsProcessed(st.iterations() * kFrames);
}

void BM_SequentialGetFrame(benchmark::State& st) {
    const int s = static_cast<int>(st.range(0));
    auto source = MakeFfmpegFrameSource();
    const VideoInfo info = source->open(PathOf(s));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(info.width * info.height * 3));
    int i = 0;
    for (auto _ : st) {
        source->decodeFrame(i, buffer);
        i = (i + 1) % info.frameCount;
    }
}

void BM_RandomGetFrame(benchmark::State& st) {
    const int s = static_cast<int>(st.range(0));
    auto source = MakeFfmpegFrameSource();
    const VideoInfo info = source->open(PathOf(s));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(info.width * info.height * 3));
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pick(0, info.frameCount - 1);
    for (auto _ : st) source->decodeFrame(pick(random), buffer);
}

void Register() {
    for (int s = 0; s < 2; ++s) {
        if (!test::HasVideoEncoder(kSources[s].encoder)) {
            std::printf("note: no %s encoder: the %s source is skipped\n", kSources[s].encoder,
                        kSources[s].name);
            continue;
        }
        const std::string n = kSources[s].name;
        benchmark::RegisterBenchmark(("Decode/" + n).c_str(), BM_DecodeEveryFrame)
            ->Arg(s)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(3);
        for (const int colours : {4, 16})
            benchmark::RegisterBenchmark(("Convert" + std::to_string(colours) + "/" + n).c_str(),
                                         BM_ConvertWholeVideo)
                ->Args({s, colours})
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(3);
        benchmark::RegisterBenchmark(("WholeRun4/" + n).c_str(), BM_WholeRunWithOpenAndClose)
            ->Arg(s)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(3);
        benchmark::RegisterBenchmark(("SequentialGetFrame/" + n).c_str(), BM_SequentialGetFrame)
            ->Arg(s)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(3);
        benchmark::RegisterBenchmark(("RandomGetFrame/" + n).c_str(), BM_RandomGetFrame)
            ->Arg(s)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(3);
    }
}

void MakeVideos() {
    for (int s = 0; s < 2; ++s) {
        if (!test::HasVideoEncoder(kSources[s].encoder)) continue;
        test::TestVideoRecipe recipe;
        recipe.encoder = kSources[s].encoder;
        recipe.width = 640;
        recipe.height = 480;
        recipe.frames = kFrames;
        recipe.gop = 50;
        recipe.maxBFrames = 2;
        if (recipe.encoder == "mpeg4") recipe.bitRate = 2000000;
        test::WriteTestVideo(PathOf(s), recipe, Paint);
    }
}

// Keeps the fastest repetition of each benchmark.
class BestOfReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> best;  // seconds per iteration
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
            const double t = r.real_accumulated_time / static_cast<double>(r.iterations);
            auto [it, fresh] = best.emplace(r.run_name.function_name, t);
            if (!fresh) it->second = std::min(it->second, t);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QuietFfmpegLog();
    MakeVideos();
    Register();
    benchmark::Initialize(&argc, argv);
    BestOfReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nThroughput of conversion over decode-only (source frames per second):\n");
    for (const Source& s : kSources) {
        const std::string n = s.name;
        const auto decode = reporter.best.find("Decode/" + n);
        if (decode == reporter.best.end()) continue;
        const double goal = n == "h264" ? 0.8 : 0.5;
        for (const char* c : {"Convert4/", "Convert16/"}) {
            const auto conv = reporter.best.find(c + n);
            if (conv == reporter.best.end()) continue;
            const double ratio = decode->second / conv->second;
            std::printf("  %-16s %5.2f (goal >= %.1f) %s\n", (c + n).c_str(), ratio, goal,
                        ratio >= goal ? "met" : "MISSED");
        }
        const auto whole = reporter.best.find("WholeRun4/" + n);
        if (whole != reporter.best.end())
            std::printf(
                "  %-16s whole 4-colour run with open and close: %.0f ms (%.2f of decode)\n",
                n.c_str(), whole->second * 1e3, decode->second / whole->second);
        const auto seq = reporter.best.find("SequentialGetFrame/" + n);
        const auto rnd = reporter.best.find("RandomGetFrame/" + n);
        if (seq != reporter.best.end() && rnd != reporter.best.end())
            std::printf("  %-16s random decodeFrame %.2f ms, sequential %.2f ms (%.1fx)\n",
                        n.c_str(), rnd->second * 1e3, seq->second * 1e3, rnd->second / seq->second);
    }
    benchmark::Shutdown();
    return 0;
}
