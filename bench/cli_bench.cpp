// mozu-cli as a whole process, side by side in one run:
//  (a) `mozu-cli convert photo.jpg -o out/pic --format mode0` of a 640 x 480 JPEG against
//      `djpeg -bmp` of the same JPEG (goal: at most 2.5 times djpeg);
//  (b) 100 such JPEGs in one call with -j 2 against -j 1 (goal: at least 1.8 times faster) and
//      against one process per picture;
//  (c) `mozu-cli video` of 1500-frame 640 x 480 videos (MPEG-4 Visual, and H.264 when FFmpeg
//      has libx264) against `ffmpeg -i X -f null -` when ffmpeg is installed (goal: at least
//      0.9), and the peak memory of a 1500-frame run against a 150-frame run (goal: within 10%).
// Every case runs as a child process timed by the wall clock; the summary after the run takes
// the fastest repetition of each. Peak memory (peak_MB) is only meaningful for the video runs,
// which start through a small shell (see BM_Video). Run: b/bench/mozu_cli_bench (built with
// -DMOZU_BENCH=ON).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "tests/support/ffmpeg_test_video.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace {

using namespace mozu;
namespace fs = std::filesystem;

const test::TempDir& Folder() {
    static const test::TempDir folder;
    return folder;
}

struct ChildRun {
    double seconds = 0;
    double cpuSeconds = 0;  // user + system time of the child and its threads
    long peakKb = 0;
    int status = -1;
};

// Runs argv with stdout and stderr to /dev/null, in the bench folder.
ChildRun Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    ChildRun run;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakKb = usage.ru_maxrss;
        run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

std::string InFolder(const std::string& name) {
    return Folder() / name;
}

// A 640 x 480 photograph-like JPEG (gradients and grain) at quality 90.
void WriteJpeg(const std::string& path) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = 640;
    cinfo.image_height = 480;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(640 * 3);
    unsigned seed = 1;
    while (cinfo.next_scanline < 480) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < 640; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = static_cast<int>((seed >> 16) % 24);
            row[x * 3 + 0] = static_cast<JSAMPLE>((x * 255 / 640 + grain) & 255);
            row[x * 3 + 1] = static_cast<JSAMPLE>((y * 255 / 480 + grain) & 255);
            row[x * 3 + 2] = static_cast<JSAMPLE>(((x + y) / 5 + grain) & 255);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

const std::string& Photo() {
    static const std::string path = [] {
        const std::string p = InFolder("photo.jpg");
        WriteJpeg(p);
        fs::create_directories(InFolder("many"));
        for (int i = 0; i < 100; ++i)
            fs::copy_file(p, InFolder("many/p" + std::to_string(100 + i) + ".jpg"));
        return p;
    }();
    return path;
}

std::vector<std::string> ManyPhotos() {
    Photo();
    std::vector<std::string> paths;
    for (int i = 0; i < 100; ++i)
        paths.push_back(InFolder("many/p" + std::to_string(100 + i) + ".jpg"));
    return paths;
}

std::map<std::string, double> fastest;  // case name to its fastest wall time
std::map<std::string, long> peak;       // case name to its child's peak memory (KB)
// Case name to its child's CPU time (user + system) in every repetition: on a loaded machine
// the wall clock shows the other work as much as ours, the CPU time far less.
std::map<std::string, std::vector<double>> cpu;

// `clean`, when given, is a folder emptied before each run (untimed): a replaced file is flushed
// to disc before the rename, which would time the disc rather than the program.
void Time(benchmark::State& st, const std::string& name, const std::vector<std::string>& args,
          const std::string& clean = {}) {
    for (auto _ : st) {
        if (!clean.empty()) {
            fs::remove_all(clean);
            fs::create_directories(clean);
        }
        const ChildRun run = Run(args);
        if (run.status != 0) {
            st.SkipWithError((name + ": exit status " + std::to_string(run.status)).c_str());
            return;
        }
        st.SetIterationTime(run.seconds);
        auto [it, fresh] = fastest.emplace(name, run.seconds);
        if (!fresh) it->second = std::min(it->second, run.seconds);
        peak[name] = std::max(peak[name], run.peakKb);
        cpu[name].push_back(run.cpuSeconds);
    }
    st.counters["peak_MB"] = static_cast<double>(peak[name]) / 1024.0;
}

// Into an emptied folder, as a first conversion writes: new files take their names without a
// flush to disc.
void BM_ConvertOneJpeg(benchmark::State& st) {
    Time(st, "mozu-cli convert",
         {MOZU_CLI_PATH, "convert", Photo(), "-o", InFolder("out/pic"), "--format", "mode0"},
         InFolder("out"));
}
// Over the files of the run before: the replaced file is flushed to disc before the rename
// (its old contents stay safe until the new ones are there), which times the disc as well.
void BM_ConvertOneJpegReplacing(benchmark::State& st) {
    Time(st, "mozu-cli convert --force (replacing)",
         {MOZU_CLI_PATH, "convert", Photo(), "-o", InFolder("out/pic"), "--format", "mode0",
          "--force"});
}
void BM_DjpegBmp(benchmark::State& st) {
    Time(st, "djpeg -bmp", {"djpeg", "-bmp", "-outfile", "/dev/null", Photo()});
}
BENCHMARK(BM_ConvertOneJpeg)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertOneJpegReplacing)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DjpegBmp)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

void BM_Batch100(benchmark::State& st) {
    const std::string jobs = std::to_string(st.range(0));
    std::vector<std::string> args = {MOZU_CLI_PATH, "convert"};
    for (const std::string& p : ManyPhotos()) args.push_back(p);
    for (const char* a : {"-o", "", "--format", "mode0", "-j", ""}) args.push_back(a);
    args[args.size() - 5] = InFolder("batch/");
    args.back() = jobs;
    Time(st, "batch -j " + jobs, args, InFolder("batch"));
}
BENCHMARK(BM_Batch100)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);

void BM_OneProcessPerPicture100(benchmark::State& st) {
    const std::vector<std::string> photos = ManyPhotos();
    for (auto _ : st) {
        fs::remove_all(InFolder("single"));
        fs::create_directories(InFolder("single"));
        double total = 0;
        for (const std::string& p : photos) {
            const ChildRun run = Run({MOZU_CLI_PATH, "convert", p, "-o",
                                      InFolder("single/" + fs::path(p).stem().string()), "--format",
                                      "mode0", "--force"});
            total += run.seconds;
        }
        st.SetIterationTime(total);
        auto [it, fresh] = fastest.emplace("100 processes", total);
        if (!fresh) it->second = std::min(it->second, total);
    }
}
BENCHMARK(BM_OneProcessPerPicture100)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// ---- videos

struct Video {
    const char* name;
    const char* encoder;
    const char* extension;
};
constexpr Video kVideos[] = {{"mpeg4", "mpeg4", "avi"}, {"h264", "libx264", "mp4"}};

std::string VideoPath(int v, int frames) {
    const std::string path = InFolder(std::string(kVideos[v].name) + "_" + std::to_string(frames) +
                                      "." + kVideos[v].extension);
    if (!fs::exists(path)) {
        test::TestVideoRecipe recipe;
        recipe.encoder = kVideos[v].encoder;
        recipe.width = 640;
        recipe.height = 480;
        recipe.frames = frames;
        recipe.gop = 25;
        test::WriteTestVideo(path, recipe, [](int n, Picture& p) {
            for (int y = 0; y < p.height(); ++y) {
                std::uint8_t* row = p.row(y);
                for (int x = 0; x < p.width(); ++x) {
                    const int dx = x - (n * 3) % p.width(), dy = y - p.height() / 2;
                    const bool disc = dx * dx + dy * dy < 90 * 90;
                    row[x * 3 + 0] = static_cast<std::uint8_t>(disc ? 40 : (x + n) % 256);
                    row[x * 3 + 1] = static_cast<std::uint8_t>(disc ? 200 : y * 255 / p.height());
                    row[x * 3 + 2] = static_cast<std::uint8_t>(disc ? 230 : (128 + n) % 256);
                }
            }
        });
    }
    return path;
}

bool HasFfmpegProgram() {
    return std::system("ffmpeg -version >/dev/null 2>&1") == 0;
}

void BM_Video(benchmark::State& st) {
    const int v = static_cast<int>(st.range(0));
    const int frames = static_cast<int>(st.range(1));
    if (!test::HasVideoEncoder(kVideos[v].encoder)) {
        st.SkipWithError("no encoder");
        return;
    }
    // Through a small shell that execs mozu-cli: Linux carries the peak memory of the process
    // that execs into the child's figure, and the benchmark's own would hide mozu-cli's.
    Time(st, std::string("video ") + kVideos[v].name + " " + std::to_string(frames),
         {"/bin/sh", "-c", "exec \"$0\" \"$@\"", MOZU_CLI_PATH, "video", VideoPath(v, frames), "-o",
          InFolder("vid/v"), "--title", "bench", "--info", "bench"},
         InFolder("vid"));
}
void BM_FfmpegNull(benchmark::State& st) {
    const int v = static_cast<int>(st.range(0));
    if (!test::HasVideoEncoder(kVideos[v].encoder) || !HasFfmpegProgram()) {
        st.SkipWithError("no encoder or no ffmpeg program");
        return;
    }
    Time(st, std::string("ffmpeg ") + kVideos[v].name,
         {"/bin/sh", "-c", "exec \"$0\" \"$@\"", "ffmpeg", "-v", "quiet", "-i", VideoPath(v, 1500),
          "-f", "null", "-"});
}
BENCHMARK(BM_Video)
    ->Args({0, 150})
    ->Args({0, 1500})
    ->Args({1, 150})
    ->Args({1, 1500})
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FfmpegNull)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? 0
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void Ratio(const char* what, const std::string& a, const std::string& b, const char* goal) {
    if (!fastest.count(a) || !fastest.count(b)) return;
    std::printf("%-52s %6.2f   (%s)", what, fastest[a] / fastest[b], goal);
    if (cpu.count(a) && cpu.count(b) && Median(cpu[b]) > 0)
        std::printf("   CPU time, medians: %.2f", Median(cpu[a]) / Median(cpu[b]));
    std::printf("\n");
}

void PrintLoad(const char* when) {
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PrintLoad("before");
    benchmark::RunSpecifiedBenchmarks();
    PrintLoad("after");
    benchmark::Shutdown();
    std::printf("\nRatios of the fastest runs:\n");
    Ratio("(a) mozu-cli convert / djpeg -bmp", "mozu-cli convert", "djpeg -bmp", "goal <= 2.5");
    Ratio("(a) the same, replacing its files / djpeg -bmp", "mozu-cli convert --force (replacing)",
          "djpeg -bmp", "");
    Ratio("(b) 100 pictures: -j 1 / -j 2", "batch -j 1", "batch -j 2", "goal >= 1.8");
    Ratio("(b) 100 pictures: one process each / -j 2", "100 processes", "batch -j 2", "");
    for (const Video& v : kVideos) {
        const std::string name = v.name;
        Ratio(("(c) " + name + ": ffmpeg -f null / mozu-cli video").c_str(), "ffmpeg " + name,
              "video " + name + " 1500", "goal >= 0.9");
        if (peak.count("video " + name + " 150") && peak.count("video " + name + " 1500"))
            std::printf("%-52s %6.2f   (goal <= 1.10; %ld KB / %ld KB)\n",
                        ("(c) " + name + ": peak memory 1500 / 150 frames").c_str(),
                        static_cast<double>(peak["video " + name + " 1500"]) /
                            static_cast<double>(peak["video " + name + " 150"]),
                        peak["video " + name + " 1500"], peak["video " + name + " 150"]);
    }
    return 0;
}
