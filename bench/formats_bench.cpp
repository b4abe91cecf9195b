// Every writer and the reader on full-size pictures, each timed side by side with plain
// buffered I/O of the same number of bytes in the same iteration. Counters:
//   ratio         a writer making a new file (or the reader) over fopen + fwrite + fclose
//                 (or fopen + fread + fclose) of the same bytes
//   ratio_replace writers only, replacing an existing file: over a plain write that is also
//                 flushed to disk (fsync) and renamed into place, as OutputFile does then
//   us_new, us_plain_new  the microseconds behind `ratio`
// A writer and its plain write take turns at going first.
// Goal: ratio at most 2.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "formats/cpc_file_reader.h"
#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "tests/support/pictures.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"

namespace mozu {
namespace {

using test::Otherwise;
using test::ScriptedAsker;

// The folder every file of the run goes to, removed at the end.
const test::TempDir& Folder() {
    static const test::TempDir dir;
    return dir;
}

ConversionState& State() {
    static ConversionState s = [] {
        std::mt19937 rng(1);
        ConversionState st;
        struct Size {
            Slot slot;
            int width, height, pens;
        };
        const Size sizes[] = {{Slot::Mode0, 160, 200, 16},    {Slot::Mode1, 320, 200, 4},
                              {Slot::Mode2, 640, 200, 2},     {Slot::Overscan0, 184, 264, 16},
                              {Slot::Overscan1, 368, 264, 4}, {Slot::Overscan2, 736, 264, 2},
                              {Slot::SgxCpc, 320, 200, 4},    {Slot::SgxMsx, 512, 212, 16},
                              {Slot::Level0, 232, 264, 16},   {Slot::Level1, 464, 264, 4}};
        for (const Size& z : sizes) {
            st.slots[z.slot] = test::RandomIndexPicture(rng, z.width, z.height, z.pens);
            for (std::size_t i = 0; i < 16; ++i)
                st.palettes[z.slot][i] = static_cast<std::uint8_t>(i);
        }
        return st;
    }();
    return s;
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void PlainWrite(const std::string& path, const std::vector<std::uint8_t>& bytes, bool durable) {
    const std::string target = durable ? path + ".tmp" : path;
    std::FILE* f = std::fopen(target.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    if (durable) {
        std::fflush(f);
        ::fsync(::fileno(f));
    }
    std::fclose(f);
    if (durable) std::rename(target.c_str(), path.c_str());
}

void PlainRead(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    benchmark::DoNotOptimize(n);
}

void Writer(benchmark::State& bs,
            std::function<void(ConversionState&, Asker&, const std::string&)> write,
            const std::string& file) {
    ScriptedAsker asker(Otherwise::kYes);
    const std::string base = Folder() / "w";
    write(State(), asker, base);
    const std::vector<std::uint8_t> bytes(std::filesystem::file_size(base + file), 0x55);
    const std::string plain = Folder() / ("plain" + file);
    double tNew = 0, tPlainNew = 0, tReplace = 0, tPlainReplace = 0;
    // Whichever write comes first after the two files are removed pays for the removal (the
    // same plain write measures 1.7-3.6 times slower first than second), so the writer and
    // the plain write take turns at going first.
    bool writerFirst = true;
    const auto timed = [](const auto& f) {
        const auto t0 = Clock::now();
        f();
        return Seconds(t0, Clock::now());
    };
    const auto both = [&](const auto& writer, const auto& plainWrite, double& tWriter,
                          double& tPlain) {
        if (writerFirst) {
            tWriter += timed(writer);
            tPlain += timed(plainWrite);
        } else {
            tPlain += timed(plainWrite);
            tWriter += timed(writer);
        }
    };
    for (auto _ : bs) {
        // A first save: neither file exists yet.
        bs.PauseTiming();
        std::filesystem::remove(base + file);
        std::filesystem::remove(plain);
        bs.ResumeTiming();
        both([&] { write(State(), asker, base); }, [&] { PlainWrite(plain, bytes, false); }, tNew,
             tPlainNew);
        // Saving again over the files just written: the writer flushes the new contents to
        // disk before it renames them over the old ones, so it is set against a plain write
        // that does the same.
        both([&] { write(State(), asker, base); }, [&] { PlainWrite(plain, bytes, true); },
             tReplace, tPlainReplace);
        writerFirst = !writerFirst;
    }
    bs.counters["ratio"] = tNew / tPlainNew;
    bs.counters["ratio_replace"] = tReplace / tPlainReplace;
    // Mean microseconds of a first save by the writer and by plain stdio.
    const double n = static_cast<double>(bs.iterations());
    bs.counters["us_new"] = tNew / n * 1e6;
    bs.counters["us_plain_new"] = tPlainNew / n * 1e6;
    bs.counters["bytes"] = static_cast<double>(bytes.size());
}

// Every file the readers read, written once by the writers.
void WriteAll(const std::string& base) {
    ScriptedAsker asker(Otherwise::kYes);
    ConversionState& s = State();
    MakeMode0(s, asker, base);
    MakeMode1(s, asker, base);
    MakeMode2(s, asker, base);
    MakeOverscanedMode0(s, asker, base);
    MakeOverscanedMode1(s, asker, base);
    MakeOverscanedMode2(s, asker, base);
    MakeSGXCPC(s, asker, base, Slot::SgxCpc);
    MakeSGXMSX(s, asker, base, Slot::SgxMsx);
}

// what: 0 the whole OpenCPCFile (with the colour engine's Indexed2BMP and CountColors),
// 1 the file's pens and palette alone (ReadCpcPicture).
void Reader(benchmark::State& bs, const std::string& file, int what) {
    const std::string path = Folder() / ("r" + file);
    if (!std::filesystem::exists(path)) WriteAll(Folder() / "r");
    std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
    const FileType type = CheckCPCFile(path);
    ConversionState state;
    double tr = 0, tp = 0;
    for (auto _ : bs) {
        auto t0 = Clock::now();
        if (what == 0) {
            benchmark::DoNotOptimize(OpenCPCFile(state, path));
        } else {
            benchmark::DoNotOptimize(ReadCpcPicture(path, type));
        }
        auto t1 = Clock::now();
        PlainRead(path, bytes);
        auto t2 = Clock::now();
        tr += Seconds(t0, t1);
        tp += Seconds(t1, t2);
    }
    bs.counters["ratio"] = tr / tp;
    bs.counters["bytes"] = static_cast<double>(bytes.size());
}

void Register() {
    using W = std::function<void(ConversionState&, Asker&, const std::string&)>;
    const std::pair<const char*, std::pair<W, const char*>> writers[] = {
        {"MakeMode0", {MakeMode0, "0.rim"}},
        {"MakeMode1", {MakeMode1, "1.rim"}},
        {"MakeMode2", {MakeMode2, "2.rim"}},
        {"MakeOverscanedMode0", {MakeOverscanedMode0, "0.sca"}},
        {"MakeOverscanedMode1", {MakeOverscanedMode1, "1.sca"}},
        {"MakeOverscanedMode2", {MakeOverscanedMode2, "2.sca"}},
        {"MakeLevelMode0", {MakeLevelMode0, "0.lvl"}},
        {"MakeLevelMode1", {MakeLevelMode1, "1.lvl"}},
        {"MakeSGXCPC_320x200",
         {[](ConversionState& s, Asker& a, const std::string& b) {
              MakeSGXCPC(s, a, b, Slot::SgxCpc);
          },
          "C.sgx"}},
        {"MakeSGXMSX_512x212",
         {[](ConversionState& s, Asker& a, const std::string& b) {
              MakeSGXMSX(s, a, b, Slot::SgxMsx);
          },
          "7.sgx"}},
    };
    for (const auto& [name, w] : writers) {
        const W fn = w.first;
        const std::string file = w.second;
        benchmark::RegisterBenchmark((std::string("Writer/") + name).c_str(),
                                     [fn, file](benchmark::State& s) { Writer(s, fn, file); })
            ->Unit(benchmark::kMicrosecond);
    }
    for (const char* file :
         {"0.rim", "1.rim", "2.rim", "0.sca", "1.sca", "2.sca", "C.sgx", "7.sgx"}) {
        const std::string f = file;
        benchmark::RegisterBenchmark((std::string("ReadCpcPicture/") + file).c_str(),
                                     [f](benchmark::State& s) { Reader(s, f, 1); })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("OpenCPCFile/") + file).c_str(),
                                     [f](benchmark::State& s) { Reader(s, f, 0); })
            ->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace
}  // namespace mozu

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    mozu::Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
