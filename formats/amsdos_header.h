#pragma once
// The 128-byte AMSDOS header in front of the CPC files this program writes. Multi-byte values
// are little-endian; every byte not named here is zero.
//   0 user 0 | 1-8 name | 9-11 extension (zero) | 18 file type 2 (binary) | 21 load address
//   24 logical length | 26 entry address | 64-66 real length (24 bits) | 67 checksum

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace mozu {

constexpr std::size_t kAmsdosHeaderSize = 128;

struct AmsdosFields {
    std::uint16_t loadAddress;
    std::uint16_t logicalLength;
    std::uint16_t entryAddress;
    std::uint32_t realLength;  // 24 bits
};

// A screen file: loaded at &C000, 16 KB, entered at the start-up routine &C7D0.
inline constexpr AmsdosFields kScreenFileHeader = {0xC000, 0x4000, 0xC7D0, 0x004000};

// The header with `amsName` (at most 8 bytes are used) in the name field.
std::array<std::uint8_t, kAmsdosHeaderSize> MakeAmsdosHeader(const std::string& amsName,
                                                             const AmsdosFields& fields);

// A screen's header, ours or another tool's: loaded at &C000, 16 KB long (bytes 21-22, 25 and
// 65). False for fewer than 66 bytes.
bool IsScreenLoadHeader(std::span<const std::uint8_t> header);

// The 16-bit wrapping sum of header bytes 0-65, as stored at offsets 67-68.
std::uint16_t AmsdosChecksum(std::span<const std::uint8_t> header);

}  // namespace mozu
