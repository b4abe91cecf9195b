#include "formats/amsdos_header.h"

#include <algorithm>

namespace mozu {

namespace {
void PutWord(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v & 0xFF);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
}  // namespace

std::uint16_t AmsdosChecksum(std::span<const std::uint8_t> header) {
    std::uint16_t sum = 0;
    const std::size_t end = std::min<std::size_t>(header.size(), 66);
    for (std::size_t i = 0; i < end; ++i) sum = static_cast<std::uint16_t>(sum + header[i]);
    return sum;
}

std::array<std::uint8_t, kAmsdosHeaderSize> MakeAmsdosHeader(const std::string& amsName,
                                                             const AmsdosFields& fields) {
    std::array<std::uint8_t, kAmsdosHeaderSize> h{};
    const std::size_t n = std::min<std::size_t>(amsName.size(), 8);
    for (std::size_t i = 0; i < n; ++i) h[1 + i] = static_cast<std::uint8_t>(amsName[i]);
    h[18] = 2;  // binary
    PutWord(&h[21], fields.loadAddress);
    PutWord(&h[24], fields.logicalLength);
    PutWord(&h[26], fields.entryAddress);
    h[64] = static_cast<std::uint8_t>(fields.realLength & 0xFF);
    h[65] = static_cast<std::uint8_t>((fields.realLength >> 8) & 0xFF);
    h[66] = static_cast<std::uint8_t>((fields.realLength >> 16) & 0xFF);
    PutWord(&h[67], AmsdosChecksum(h));
    return h;
}

bool IsScreenLoadHeader(std::span<const std::uint8_t> h) {
    return h.size() > 65 && h[21] == 0x00 && h[22] == 0xC0 && h[25] == 0x40 && h[65] == 0x40;
}

}  // namespace mozu
