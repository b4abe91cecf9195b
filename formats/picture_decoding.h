#pragma once
// Decoding the picture files back into pens (and the palette where the file has one). Every
// decoder reads only the bytes it is given: a file that ends before the bytes its type needs
// raises IoError io::kReadPastEnd ("Read error:End of file"); a SymbOS graphic whose header is
// nonsense or whose strips leave the 4096 x 4096 canvas raises IoError io::kInvalidData.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace mozu {

namespace detail {
// One pen array's memory is kept per thread once its picture is dropped, and handed to the
// next decode that fits in it: a picture file is decoded, turned into colours and dropped,
// and fresh memory for the next one would be faulted in page by page (or trimmed from the
// heap and grown again) every time. Blocks over 1 MiB are not kept.
void* TakePenBlock(std::size_t bytes);
void GivePenBlock(void* block, std::size_t bytes);
}  // namespace detail

// The pen arrays' allocator: memory from the per-thread block where it fits, and new elements
// left uninitialised, so that a decoder that writes every pen does not clear them first.
template <typename T>
struct PenAllocator {
    using value_type = T;
    PenAllocator() = default;
    template <typename U>
    PenAllocator(const PenAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (void* kept = detail::TakePenBlock(n * sizeof(T))) return static_cast<T*>(kept);
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { detail::GivePenBlock(p, n * sizeof(T)); }
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <typename U>
    bool operator==(const PenAllocator<U>&) const noexcept {
        return true;
    }
};

struct PenPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t, PenAllocator<std::uint8_t>> pens;  // row by row
};

struct DecodedPicture {
    PenPicture picture;
    bool hasPalette = false;
    std::array<std::uint8_t, 16> firmware{};  // firmware colour numbers of pens 0-15
};

// Bytes a screen file (modes 0-2) must hold: the header and the picture bytes of all 8 blocks
// (the last block's gap is not needed).
constexpr std::size_t kScreenFileBytesNeeded = 128 + 7 * 2048 + 2000;
// Bytes an overscan file must hold: everything up to the end of its picture.
constexpr std::size_t kOverscanFileBytesNeeded = 361 + 264 * 92;
// The working canvas of a SymbOS graphic.
constexpr int kSgxCanvasSize = 4096;

// `file` from its first byte; `name` names it in errors.
DecodedPicture DecodeScreenFile(std::span<const std::uint8_t> file, int mode,
                                const std::string& name);
DecodedPicture DecodeOverscanFile(std::span<const std::uint8_t> file, int mode,
                                  const std::string& name);
DecodedPicture DecodeSgxFile(std::span<const std::uint8_t> file, bool sixteenColours,
                             const std::string& name);

}  // namespace mozu
