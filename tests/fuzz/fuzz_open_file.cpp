// File recognition and the open service over every file type: the first byte picks the name's
// extension, the rest is the file. Recognition, then OpenFile into a document (CPC screens,
// overscans, SymbOS graphics and videos, BMP and JPEG; a PC video fails without a frame source).
#include <cstdint>
#include <string>

#include "document/open_file.h"
#include "formats/file_type.h"
#include "platform/io_error.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kExtensions[] = {"rim", "scr", "bin", "sca", "sgx", "vid",
                                              "lvl", "bmp", "jpg", "Rim", "x"};
    if (size < 1) return 0;
    const auto& ext = kExtensions[data[0] % std::size(kExtensions)];
    const std::string path =
        mozu::fuzz::Scratch().write(std::string("f.") + ext, data + 1, size - 1);
    try {
        mozu::CheckCPCFile(path);
        mozu::Document document;
        mozu::OpenFile(document, path, mozu::OpenOrigin::Chosen);
    } catch (const mozu::IoError&) {
    }
    return 0;
}
