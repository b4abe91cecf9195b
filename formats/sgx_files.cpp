#include "formats/sgx_files.h"

#include <stdexcept>

#include "formats/file_image.h"
#include "formats/file_name.h"
#include "formats/pixel_encoding.h"
#include "formats/slot_pens.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

PixelEncoding SgxEncoding(bool sixteen) {
    return sixteen ? PixelEncoding::Nibbles : PixelEncoding::Mode1;
}

void PutWord(std::vector<std::uint8_t>& out, int v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void MakeSgx(ConversionState& state, Asker& asker, const std::string& baseName, int slot,
             bool sixteen, const char* suffix) {
    const Picture& picture = state.picture(slot);
    const int w = picture.width();
    const int h = picture.height();
    const std::string what = "SymbOS graphic of slot " + std::to_string(slot);
    // A file without a whole byte a row, or taller than its 16-bit height field, would not hold
    // the picture (and reads back as nonsense): refuse it.
    if (w < PixelsPerByte(SgxEncoding(sixteen)) || h < 1 || h > 0xFFFF)
        throw IoError(io::kInvalidData, what + ": a picture of " + std::to_string(w) + "x" +
                                            std::to_string(h) + " cannot be stored");
    const std::vector<std::uint8_t> pens =
        ReadSlotPens(picture, 0, 0, w, h, PenCount(SgxEncoding(sixteen)), what);
    const std::string path = CheckFileName(asker, baseName + suffix);
    WriteFileImage(path, BuildSgxFile(pens, w, h, sixteen));
    state.saved[static_cast<std::size_t>(slot)] = 1;
}

}  // namespace

std::vector<SgxStrip> SgxStripDivision(int width, bool sixteen) {
    int n = width / 254;
    if (n > 1) --n;
    const int fullBytes = sixteen ? (width / (n + 1)) / 4 * 2 : (width / (n + 1)) / 4;
    const int ppb = sixteen ? 2 : 4;
    const int fullPixels = fullBytes * ppb;
    std::vector<SgxStrip> strips;
    for (int s = 0; s < n; ++s) strips.push_back({s * fullPixels, fullBytes});
    strips.push_back({n * fullPixels, (width - n * fullPixels) / ppb});
    return strips;
}

std::vector<std::uint8_t> BuildSgxFile(std::span<const std::uint8_t> pens, int width, int height,
                                       bool sixteen) {
    const PixelEncoding encoding = SgxEncoding(sixteen);
    const int ppb = PixelsPerByte(encoding);
    const std::vector<SgxStrip> strips = SgxStripDivision(width, sixteen);
    std::size_t size = 3;
    for (const SgxStrip& s : strips)
        size += 8 + static_cast<std::size_t>(s.bytes) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> file;
    file.reserve(size);
    for (const SgxStrip& s : strips) {
        file.push_back(0x40);
        file.push_back(sixteen ? 0x05 : 0x00);
        PutWord(file, s.bytes);
        PutWord(file, s.bytes * ppb);
        PutWord(file, height);
        const std::size_t at = file.size();
        file.resize(at + static_cast<std::size_t>(s.bytes) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
            EncodePens(encoding,
                       pens.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(s.firstPixel),
                       s.bytes, file.data() + at + static_cast<std::size_t>(y * s.bytes));
    }
    file.insert(file.end(), 3, 0x00);
    return file;
}

void MakeSGXCPC(ConversionState& state, Asker& asker, const std::string& baseName, int slot) {
    if (slot != 8 && slot != 9) throw std::invalid_argument("MakeSGXCPC writes slot 8 or 9");
    MakeSgx(state, asker, baseName, slot, false, slot == 8 ? "C.sgx" : "1.sgx");
}

void MakeSGXMSX(ConversionState& state, Asker& asker, const std::string& baseName, int slot) {
    if (slot != 10 && slot != 11) throw std::invalid_argument("MakeSGXMSX writes slot 10 or 11");
    MakeSgx(state, asker, baseName, slot, true, slot == 10 ? "7.sgx" : "M.sgx");
}

}  // namespace mozu
