#include "platform/zeroed_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace mozu {

namespace {

// The size of the huge pages the kernel can put behind anonymous memory on x86-64 (and on
// arm64 with 4 KiB pages).
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

}  // namespace

void ZeroedPagesDeleter::operator()(void* pages) const noexcept {
    if (pages != nullptr) ::munmap(pages, bytes);
}

ZeroedPages AllocateZeroedPages(std::size_t bytes) {
    // Far beyond any address space; the sums below must not wrap.
    if (bytes > SIZE_MAX / 4) throw std::bad_alloc();
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t size = RoundUp(bytes == 0 ? 1 : bytes, page);
    if (size < kHugePage) {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        return ZeroedPages(p, ZeroedPagesDeleter{size});
    }
    // Reserve enough to find a 2 MiB boundary inside, then give back what lies before and after.
    const std::size_t reserve = size + kHugePage;
    void* p = ::mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = RoundUp(start, kHugePage);
    const std::size_t head = aligned - start;
    const std::size_t tail = reserve - head - size;
    if (head > 0) ::munmap(p, head);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* pages = reinterpret_cast<void*>(aligned);
    // Only a hint: without huge pages the table works the same, one small page at a time.
    ::madvise(pages, size / kHugePage * kHugePage, MADV_HUGEPAGE);
    return ZeroedPages(pages, ZeroedPagesDeleter{size});
}

}  // namespace mozu
