#pragma once
// How a vector kernel picks its path at run time.
//
// Each kernel has one enum of its paths: the portable C++ path first (value 0), then its
// vector paths in rising order of the instructions they need. Beside the enum, its header
// specialises KernelPathTraits:
//   template <> struct KernelPathTraits<CountPath> {
//       static constexpr std::array kAll = {CountPath::Portable, ...};  // every path, in order
//       static constexpr const char* Name(CountPath path);              // "Avx2", ...
//       static bool Has(CountPath path);  // whether this processor can run it (from Cpu())
//   };
// KernelPath<CountPath> then gives the best path the processor has, found once, and the
// process-wide override by which tests and benchmarks run each path in turn. Every path of a
// kernel gives the same result, bit for bit; all of them are compiled on every x86-64 build.

#include <atomic>
#include <optional>

namespace mozu {

template <typename Path>
struct KernelPathTraits;

template <typename Path>
class KernelPath {
  public:
    using Traits = KernelPathTraits<Path>;

    // The fastest path this processor has: the last of Traits::kAll that it has.
    static Path Best() {
        static const Path best = [] {
            Path found = Traits::kAll.front();
            for (Path path : Traits::kAll)
                if (Traits::Has(path)) found = path;
            return found;
        }();
        return best;
    }

    // The path a call of the kernel takes: the forced one if any, else the best. A kernel
    // reads it once per call and keeps to it for the whole call.
    static Path Current() {
        const int forced = forced_.load(std::memory_order_relaxed);
        return forced < 0 ? Best() : static_cast<Path>(forced);
    }

    static std::optional<Path> Forced() {
        const int forced = forced_.load(std::memory_order_relaxed);
        if (forced < 0) return std::nullopt;
        return static_cast<Path>(forced);
    }

    // Makes the calls that follow, on any thread, take `path` (std::nullopt: the best again).
    // For tests and benchmarks. A path the processor lacks is refused: false, nothing changes.
    static bool Force(std::optional<Path> path) {
        if (path && !Traits::Has(*path)) return false;
        forced_.store(path ? static_cast<int>(*path) : -1, std::memory_order_relaxed);
        return true;
    }

  private:
    static inline std::atomic<int> forced_{-1};
};

// Forces a path for the life of the object, then puts back whatever was forced before.
template <typename Path>
class ScopedKernelPath {
  public:
    explicit ScopedKernelPath(Path path)
        : previous_(KernelPath<Path>::Forced()), forced_(KernelPath<Path>::Force(path)) {}
    ~ScopedKernelPath() {
        if (forced_) KernelPath<Path>::Force(previous_);
    }
    ScopedKernelPath(const ScopedKernelPath&) = delete;
    ScopedKernelPath& operator=(const ScopedKernelPath&) = delete;

    // False when the processor lacks the path: then nothing was forced.
    bool forced() const { return forced_; }

  private:
    std::optional<Path> previous_;
    bool forced_;
};

}  // namespace mozu
