// The TGA loader. Files whose header declares more pixels than kMaxFuzzPixels but no more than
// the loaders' limit are left out (decoding one takes seconds); above the limit the loader must
// refuse the file from its header at once.
#include <cstdint>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 18) {
        const std::int64_t w = data[12] | data[13] << 8, h = data[14] | data[15] << 8;
        if (w * h > mozu::fuzz::kMaxFuzzPixels &&
            w * h <= static_cast<std::int64_t>(mozu::kMaxPicturePixels))
            return 0;
    }
    const std::string path = mozu::fuzz::Scratch().write("f.tga", data, size);
    mozu::Picture picture;
    try {
        mozu::LoadTga(path, picture, mozu::MakeColour(1, 2, 3));
    } catch (const mozu::IoError&) {
    }
    return 0;
}
