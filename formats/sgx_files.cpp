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

void PutWord(std::uint8_t* out, int v) {
    out[0] = static_cast<std::uint8_t>(v & 0xFF);
    out[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

std::size_t SgxFileSize(const std::vector<SgxStrip>& strips, int height) {
    std::size_t size = 3;
    for (const SgxStrip& s : strips)
        size += 8 + static_cast<std::size_t>(s.bytes) * static_cast<std::size_t>(height);
    return size;
}

// The strips one after the other, each its header and its rows, then three zero bytes (the
// file starts zeroed). Pixels right of the last whole byte are checked, though not stored.
template <class Rows>
void PackSgx(const Rows& rows, int width, int height, bool sixteen,
             const std::vector<SgxStrip>& strips, std::uint8_t* out) {
    const int ppb = PixelsPerByte(SgxEncoding(sixteen));
    for (const SgxStrip& s : strips) {
        out[0] = 0x40;
        out[1] = sixteen ? 0x05 : 0x00;
        PutWord(out + 2, s.bytes);
        PutWord(out + 4, s.bytes * ppb);
        PutWord(out + 6, height);
        out += 8;
        for (int y = 0; y < height; ++y, out += s.bytes) rows.pack(y, s.firstPixel, s.bytes, out);
    }
    const SgxStrip& last = strips.back();
    const int stored = last.firstPixel + last.bytes * ppb;
    if (stored < width)
        for (int y = 0; y < height; ++y) rows.check(y, stored, width - stored);
}

void MakeSgx(ConversionState& state, Asker& asker, const std::string& baseName, Slot slot,
             bool sixteen, const char* suffix) {
    const Picture& picture = state.picture(slot);
    const int w = picture.width();
    const int h = picture.height();
    const std::string what = "SymbOS graphic of slot " + std::to_string(SlotNumber(slot));
    // A file without a whole byte a row, or taller than its 16-bit height field, would not hold
    // the picture (and reads back as nonsense): refuse it.
    if (w < PixelsPerByte(SgxEncoding(sixteen)) || h < 1 || h > 0xFFFF)
        throw IoError(io::kInvalidData, what + ": a picture of " + std::to_string(w) + "x" +
                                            std::to_string(h) + " cannot be stored");
    // Packed, and so checked, before anything is asked or replaced.
    const SlotPenRows rows(picture, 0, 0, w, h, SgxEncoding(sixteen), what);
    const std::vector<SgxStrip> strips = SgxStripDivision(w, sixteen);
    std::vector<std::uint8_t> file(SgxFileSize(strips, h), 0);
    PackSgx(rows, w, h, sixteen, strips, file.data());
    const std::string path = CheckFileName(asker, baseName + suffix);
    WriteFileImage(path, file);
    state.saved[slot] = 1;
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
    const std::vector<SgxStrip> strips = SgxStripDivision(width, sixteen);
    std::vector<std::uint8_t> file(SgxFileSize(strips, height), 0);
    PackSgx(PenRows(pens, width, SgxEncoding(sixteen)), width, height, sixteen, strips,
            file.data());
    return file;
}

void MakeSGXCPC(ConversionState& state, Asker& asker, const std::string& baseName, Slot slot) {
    if (slot != Slot::SgxCpc && slot != Slot::SgxCpcFree)
        throw std::invalid_argument("MakeSGXCPC writes slot 8 or 9");
    MakeSgx(state, asker, baseName, slot, false, slot == Slot::SgxCpc ? "C.sgx" : "1.sgx");
}

void MakeSGXMSX(ConversionState& state, Asker& asker, const std::string& baseName, Slot slot) {
    if (slot != Slot::SgxMsx && slot != Slot::SgxMsxFree)
        throw std::invalid_argument("MakeSGXMSX writes slot 10 or 11");
    MakeSgx(state, asker, baseName, slot, true, slot == Slot::SgxMsx ? "7.sgx" : "M.sgx");
}

}  // namespace mozu
