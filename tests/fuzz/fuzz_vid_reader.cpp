// The SymbOS video reader: the header, then the first, a middle and the last frame.
#include <cstdint>

#include "colour/colour_table.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"
#include "video/vid_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = mozu::fuzz::Scratch().write("f.vid", data, size);
    mozu::VidReader reader;
    try {
        reader.open(mozu::kDefaultColourTable, path);
        const std::int32_t n = reader.frameCount();
        for (std::int32_t index : {0, n / 2, n - 1, n}) reader.decodeFrame(index);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
