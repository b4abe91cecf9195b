// The JPEG loader. Files whose header declares more pixels than kMaxFuzzPixels but no
// more than the loaders' limit are left out: decoding one takes seconds and would stop every run
// at the same place. Above the limit the loader must refuse the file from its header at once
// (crashes/jpeg_loader/ holds a file that once took minutes).
#include <cstdint>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every start-of-frame marker (0xFFC0-0xFFCF but DHT, JPG and DAC): height, then width.
    for (std::size_t i = 0; i + 8 < size; ++i) {
        const int m = data[i + 1];
        if (data[i] != 0xFF || m < 0xC0 || m > 0xCF || m == 0xC4 || m == 0xC8 || m == 0xCC)
            continue;
        const std::int64_t h = data[i + 5] << 8 | data[i + 6];
        const std::int64_t w = data[i + 7] << 8 | data[i + 8];
        // Above the loaders' own limit a file is refused from its header, at once: fuzzed too.
        if (w * h > mozu::fuzz::kMaxFuzzPixels &&
            w * h <= static_cast<std::int64_t>(mozu::kMaxPicturePixels))
            return 0;
    }
    const std::string path = mozu::fuzz::Scratch().write("f.jpg", data, size);
    mozu::Picture picture;
    try {
        mozu::LoadJpeg(path, picture);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
