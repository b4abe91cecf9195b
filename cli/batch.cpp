#include "cli/batch.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "cli/options.h"

namespace mozu::cli {

namespace {

std::mutex outputLock;

void DrawBar(int finished, int total, int failed) {
    constexpr int kWidth = 40;
    const int filled = total > 0 ? finished * kWidth / total : 0;
    std::fprintf(
        stderr, "\r[%s%s] %d/%d", std::string(static_cast<std::size_t>(filled), '#').c_str(),
        std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), finished, total);
    if (failed > 0) std::fprintf(stderr, " (%d failed)", failed);
    std::fflush(stderr);
}

}  // namespace

void PrintOut(const std::string& text) {
    const std::lock_guard<std::mutex> lock(outputLock);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

BatchReport RunBatch(const std::vector<std::string>& names, int jobs, bool progress,
                     const std::string& verb, const std::function<void(std::size_t)>& task) {
    const int total = static_cast<int>(names.size());
    const bool bar = progress && ::isatty(STDERR_FILENO) != 0;
    std::atomic<std::size_t> next{0};
    BatchReport report;
    auto worker = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= names.size()) return;
            std::string failure;
            try {
                task(i);
            } catch (...) {
                failure = CurrentFailure().first;
            }
            const std::lock_guard<std::mutex> lock(outputLock);
            ++report.done;
            if (!failure.empty()) {
                ++report.failed;
                if (bar) std::fputs("\r\033[K", stderr);
                ReportFailure(failure, 1);
            } else if (progress && !bar) {
                std::fprintf(stderr, "[%d/%d] %s %s\n", report.done, total, verb.c_str(),
                             names[i].c_str());
            }
            if (bar) DrawBar(report.done, total, report.failed);
        }
    };
    const int threads = std::max(1, std::min(jobs, total));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    if (bar) std::fputc('\n', stderr);
    return report;
}

}  // namespace mozu::cli
