// The PNM loader. The loader refuses a file shorter than its header's width x height samples,
// so the largest picture a fuzzed input can make is bounded by the input's own size.
#include <cstdint>

#include "media/image_loader.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = mozu::fuzz::Scratch().write("f.ppm", data, size);
    mozu::Picture picture;
    try {
        mozu::LoadPnm(path, picture);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
