// The screen and overscan decoders on bytes in memory; the first byte picks the format and mode.
#include <cstdint>
#include <span>

#include "formats/picture_decoding.h"
#include "platform/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int mode = data[0] % 3;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    try {
        const auto d = (data[0] & 0x80) ? mozu::DecodeOverscanFile(file, mode, "fuzz.sca")
                                        : mozu::DecodeScreenFile(file, mode, "fuzz.rim");
        // Every pen was written: reading them all lets Valgrind see one that was not.
        unsigned sum = 0;
        for (auto pen : d.picture.pens) sum += pen;
        if (sum == 0xFFFFFFFFu) return 1;
    } catch (const mozu::IoError&) {
    }
    return 0;
}
