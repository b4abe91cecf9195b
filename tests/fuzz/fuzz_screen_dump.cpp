// Other tools' CPC screens on bytes in memory: the first byte picks the reader. Bit 7 set: the
// palette file reader on the rest; clear: the dump test and decoder on the rest, in mode
// (first byte mod 3).
#include <cstdint>
#include <span>

#include "formats/screen_dump.h"
#include "platform/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    try {
        if (data[0] & 0x80) {
            const mozu::DumpPalette p = mozu::ParseDumpPalette(file, "fuzz.pal");
            // A palette that passed holds a mode and firmware colours only.
            if (p.mode < 0 || p.mode > 2) return 1;
            for (std::uint8_t c : p.firmware)
                if (c > 26) return 1;
            return 0;
        }
        const bool dump = mozu::LooksLikeScreenDump(file, file.size(), false);
        const auto d =
            mozu::DecodeScreenDump(file, data[0] % 3, mozu::kFirmwareDefaultInks, "fuzz.scr");
        // Every pen was written: reading them all lets Valgrind see one that was not.
        unsigned sum = dump ? 1 : 0;
        for (auto pen : d.picture.pens) sum += pen;
        if (sum == 0xFFFFFFFFu) return 1;
    } catch (const mozu::IoError&) {
    }
    return 0;
}
