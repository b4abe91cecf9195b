// The PNG loader. libpng refuses a chunk whose checksum is wrong, and it is not built with the
// fuzzer's coverage, so mutated files would rarely get past the first chunk: every chunk's
// checksum is set right before the file is handed on. Files whose header declares more pixels
// than kMaxFuzzPixels but no more than the loaders' limit are left out (decoding one takes
// seconds); above the limit the loader must refuse the file from its header at once.
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::uint32_t Be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// Chunks follow the 8-byte signature: length, type, data, checksum of type and data.
void FixChecksums(std::vector<std::uint8_t>& png) {
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint64_t length = Be32(png.data() + at);
        if (length > png.size() - at - 12) return;
        const std::size_t end = at + 8 + static_cast<std::size_t>(length);
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, png.data() + at + 4, static_cast<uInt>(length + 4)));
        for (int i = 0; i < 4; ++i) png[end + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at = end + 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 24) {
        // Each side is below 2^32: the product fits.
        const std::uint64_t pixels = std::uint64_t{Be32(data + 16)} * Be32(data + 20);
        if (pixels > static_cast<std::uint64_t>(mozu::fuzz::kMaxFuzzPixels) &&
            pixels <= mozu::kMaxPicturePixels)
            return 0;
    }
    std::vector<std::uint8_t> png(data, data + size);
    FixChecksums(png);
    const std::string path = mozu::fuzz::Scratch().write("f.png", png.data(), png.size());
    mozu::Picture picture;
    try {
        mozu::LoadPng(path, picture, mozu::MakeColour(1, 2, 3));
    } catch (const mozu::IoError&) {
    }
    return 0;
}
