// The GIF loader. The picture is the size of the logical screen: files whose screen holds
// more pixels than kMaxFuzzPixels but no more than the loaders' limit are left out (filling
// one takes seconds); above the limit the loader must refuse the file from its header at once.
// A frame's size is not checked here: its lines are decoded only as far as its data goes.
#include <cstdint>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 10) {
        const std::int64_t w = data[6] | data[7] << 8, h = data[8] | data[9] << 8;
        if (w * h > mozu::fuzz::kMaxFuzzPixels &&
            w * h <= static_cast<std::int64_t>(mozu::kMaxPicturePixels))
            return 0;
    }
    const std::string path = mozu::fuzz::Scratch().write("f.gif", data, size);
    mozu::Picture picture;
    try {
        mozu::LoadGif(path, picture, mozu::MakeColour(1, 2, 3));
    } catch (const mozu::IoError&) {
    }
    return 0;
}
