// Preloaded into the fuzz targets that link FFmpeg when they run under Valgrind's memcheck.
//
// FFmpeg's JPEG XL decoder pulls in libhwy, whose start-up code measures its timer's resolution
// (hwy::platform::TimerResolution) before main(). That uses RDTSCP when CPUID offers it.
// Valgrind 3.19 offers it in the CPUID it shows the program whenever the host has AVX2, but
// translates RDTSCP only when the host itself has it: on a host without (a virtual machine that
// hides it), the program stops with SIGILL before main(). libhwy calls the function through its
// procedure linkage table, so this definition takes its place. The measure only serves libhwy's
// own benchmarking; nothing a decoder computes depends on it.
namespace hwy::platform {

double TimerResolution();

double TimerResolution() {
    return 1.0;
}

}  // namespace hwy::platform
