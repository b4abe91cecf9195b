#pragma once
// PNG output through libpng: what mozu-cli export and the thumbnailer write.

#include <cstdint>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu {

// `picture` as an 8-bit RGB PNG in memory. IoError io::kInvalidData for an empty picture.
std::vector<std::uint8_t> EncodePng(const Picture& picture);

// Writes `picture` as an 8-bit RGB PNG. The file is written beside `path` and renamed over it
// only when complete, so a failed write leaves an existing file as it was. Raises IoError.
void WritePng(const std::string& path, const Picture& picture);

}  // namespace mozu
