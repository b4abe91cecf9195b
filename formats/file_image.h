#pragma once
// Writers build a whole file in memory and hand it over here: it reaches the disk through a
// temporary file renamed over the target, so the target is either the complete new file or
// the old one untouched.

#include <cstdint>
#include <span>
#include <string>

namespace mozu {

// IoError when the file cannot be created, written or put in place.
void WriteFileImage(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace mozu
