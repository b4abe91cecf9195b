// The screen, overscan and level decoders on bytes in memory; the first byte picks the format
// (bit 7 overscan, else bit 6 level, else screen) and the mode.
#include <cstdint>
#include <span>

#include "formats/level_reader.h"
#include "formats/picture_decoding.h"
#include "platform/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int mode = data[0] % 3;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    try {
        const auto d = (data[0] & 0x80)   ? mozu::DecodeOverscanFile(file, mode, "fuzz.sca")
                       : (data[0] & 0x40) ? mozu::DecodeLevelFile(file, data[0] % 2, "fuzz.lvl")
                                          : mozu::DecodeScreenFile(file, mode, "fuzz.rim");
        // Every pen was written: reading them all lets Valgrind see one that was not.
        unsigned sum = 0;
        for (auto pen : d.picture.pens) sum += pen;
        if (sum == 0xFFFFFFFFu) return 1;
    } catch (const mozu::IoError&) {
    }
    return 0;
}
