// The BMP loader. Files whose header declares more pixels than kMaxFuzzPixels but no
// more than the loaders' limit are left out: loading one takes seconds and would stop every run
// at the same place. Above the limit the loader must refuse the file from its header at once
// (crashes/bmp_loader/ holds a file that once took minutes).
#include <cstdint>
#include <cstdlib>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 26) {
        const auto u16 = [&](std::size_t at) { return data[at] | data[at + 1] << 8; };
        const auto i32 = [&](std::size_t at) {
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(u16(at)) |
                                             static_cast<std::uint32_t>(u16(at + 2)) << 16);
        };
        const bool core = i32(14) == 12;
        const std::int64_t w = core ? u16(18) : std::llabs(i32(18));
        const std::int64_t h = core ? u16(20) : std::llabs(i32(22));
        // Above the loaders' own limit a file is refused from its header, at once: fuzzed too.
        if (w * h > mozu::fuzz::kMaxFuzzPixels &&
            w * h <= static_cast<std::int64_t>(mozu::kMaxPicturePixels))
            return 0;
    }
    const std::string path = mozu::fuzz::Scratch().write("f.bmp", data, size);
    mozu::Picture picture;
    try {
        mozu::LoadBmp(path, picture);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
