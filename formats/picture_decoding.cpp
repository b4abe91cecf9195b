#include "formats/picture_decoding.h"

#include <utility>

// Memcheck is told that a reused block holds no defined bytes (below); without Valgrind's
// header, or outside Valgrind, the request costs nothing.
#if __has_include(<valgrind/memcheck.h>)
#include <valgrind/memcheck.h>
#else
#define VALGRIND_MAKE_MEM_UNDEFINED(address, bytes) ((void)(address), (void)(bytes))
#endif

#include "formats/amsdos_header.h"
#include "formats/overscan_files.h"
#include "formats/pixel_encoding.h"
#include "formats/screen_files.h"
#include "formats/screen_layout.h"
#include "platform/binary_file.h"

namespace mozu {

namespace detail {

namespace {

class PenBlock {
  public:
    ~PenBlock() { ::operator delete(block_); }
    void* take(std::size_t bytes) {
        if (!block_ || bytes > size_) return nullptr;
        // The pens of the last picture are still in it. To Memcheck they are defined, so a
        // decoder that left a pen unwritten would pass unseen: they are declared undefined, as
        // fresh memory is.
        VALGRIND_MAKE_MEM_UNDEFINED(block_, size_);
        return std::exchange(block_, nullptr);
    }
    // Keeps the larger of `block` and the block kept, unless too large; frees the other.
    void give(void* block, std::size_t bytes) {
        if (bytes > kLargest || (block_ && bytes <= size_)) {
            ::operator delete(block);
            return;
        }
        ::operator delete(block_);
        block_ = block;
        size_ = bytes;
    }

  private:
    static constexpr std::size_t kLargest = std::size_t{1} << 20;
    void* block_ = nullptr;
    std::size_t size_ = 0;
};

thread_local PenBlock penBlock;

}  // namespace

void* TakePenBlock(std::size_t bytes) {
    return penBlock.take(bytes);
}

void GivePenBlock(void* block, std::size_t bytes) {
    penBlock.give(block, bytes);
}

}  // namespace detail

namespace {

// Every line of a screen or overscan picture is decoded whole: the pens are left
// uninitialised until then.
PenPicture MakePenPicture(int width, int height) {
    PenPicture p;
    p.width = width;
    p.height = height;
    p.pens.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return p;
}

// Firmware numbers stored pen 15 first.
std::array<std::uint8_t, 16> ReversedPalette(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, 16> firmware{};
    for (std::size_t i = 0; i < 16; ++i) firmware[15 - i] = bytes[i];
    return firmware;
}

}  // namespace

DecodedPicture DecodeScreenFile(std::span<const std::uint8_t> file, int mode,
                                const std::string& name) {
    ByteReader r(file, name);
    if (file.size() < kScreenFileBytesNeeded) r.seek(kScreenFileBytesNeeded + 1);  // raises
    const PixelEncoding encoding = ModeEncoding(mode);
    DecodedPicture d;
    d.picture = MakePenPicture(screen::kLineBytes * PixelsPerByte(encoding), screen::kLines);
    const std::uint8_t* image = file.data() + kAmsdosHeaderSize;
    for (int y = 0; y < screen::kLines; ++y)
        DecodeBytes(encoding, image + screen::LineOffset(y), screen::kLineBytes,
                    d.picture.pens.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(d.picture.width));
    // The palette is the start-up routine's ink table, which every mode has.
    d.firmware = ReversedPalette(file.subspan(kStartupRoutineOffset + kStartupInkTable, 16));
    d.hasPalette = true;
    return d;
}

DecodedPicture DecodeOverscanFile(std::span<const std::uint8_t> file, int mode,
                                  const std::string& name) {
    ByteReader r(file, name);
    if (file.size() < kOverscanFileBytesNeeded) r.seek(kOverscanFileBytesNeeded + 1);  // raises
    const PixelEncoding encoding = ModeEncoding(mode);
    DecodedPicture d;
    d.picture = MakePenPicture(kOverscanLineBytes * PixelsPerByte(encoding), kOverscanLines);
    d.firmware = ReversedPalette(file.subspan(kAmsdosHeaderSize + 1, 16));
    d.hasPalette = true;
    // The mode byte, the palette and the 216 bytes of the loader come before the picture.
    const std::uint8_t* in = file.data() + kOverscanPictureOffset;
    for (int y = 0; y < kOverscanLines; ++y, in += kOverscanLineBytes)
        DecodeBytes(encoding, in, kOverscanLineBytes,
                    d.picture.pens.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(d.picture.width));
    return d;
}

}  // namespace mozu
