#pragma once
// Large zeroed tables straight from the system, for memory a process keeps and reuses (the
// colour set of a count, 2 MiB a thread).
//
// A fresh table from malloc is faulted in one 4 KiB page at a time when it is first cleared
// or written, and on a virtual machine each fault costs tens of microseconds: a 2 MiB table
// cost more than decoding a 640 x 480 JPEG. These pages come already zeroed and aligned to
// 2 MiB, and the kernel is asked to back them with huge pages, so that a whole 2 MiB is
// faulted in at once. Where it does not (transparent huge pages off) they are ordinary pages
// faulted in only when touched.

#include <cstddef>
#include <memory>

namespace mozu {

struct ZeroedPagesDeleter {
    std::size_t bytes = 0;
    void operator()(void* pages) const noexcept;
};
using ZeroedPages = std::unique_ptr<void, ZeroedPagesDeleter>;

// `bytes` of zeroed memory aligned to 2 MiB (at least the page size for less); std::bad_alloc
// when the system has no room.
ZeroedPages AllocateZeroedPages(std::size_t bytes);

}  // namespace mozu
