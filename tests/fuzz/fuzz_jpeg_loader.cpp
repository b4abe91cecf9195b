// The JPEG loader. Files whose frame header declares more than kMaxFuzzPixels pixels are left
// out: decoding one takes seconds (the known fault kept in pending/jpeg_loader/, which the
// loader's pixel limit mends) and would stop every run at the same place.
#include <cstdint>

#include "media/image_loader.h"
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
        if (w * h > mozu::fuzz::kMaxFuzzPixels) return 0;
    }
    const std::string path = mozu::fuzz::Scratch().write("f.jpg", data, size);
    mozu::Picture picture;
    try {
        mozu::LoadJpeg(path, picture);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
