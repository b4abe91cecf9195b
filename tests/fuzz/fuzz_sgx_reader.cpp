// The SymbOS graphics reader on bytes in memory; the first byte picks 4 or 16 colours.
#include <cstdint>
#include <span>

#include "formats/picture_decoding.h"
#include "platform/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    try {
        const auto d = mozu::DecodeSgxFile(std::span(data + 1, size - 1), data[0] & 1, "fuzz.sgx");
        // Every pen was written: reading them all lets Valgrind see one that was not.
        unsigned sum = 0;
        for (auto pen : d.picture.pens) sum += pen;
        if (sum == 0xFFFFFFFFu) return 1;
    } catch (const mozu::IoError&) {
    }
    return 0;
}
