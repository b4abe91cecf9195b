#pragma once
// Pieces of the file classification shared with the reader, which classifies the file it has
// already opened.

#include <cstdint>
#include <string>

#include "formats/file_type.h"
#include "platform/binary_file.h"

namespace mozu::detail {

enum class CpcKind { None, Video, Sgx, Screen, Overscan, Level };

// The kind of CPC file the extension names: compared whole in lower case (IsSupportedFile) or
// as the three characters after the dot in upper case (CheckCPCFile).
CpcKind CpcKindOf(const std::string& path, bool wholeLowerCase);

// The file type from the first bytes of an open file of that kind. IsSupportedFile and
// CheckCPCFile differ only in their extension rule and the PC file types: a failed screen
// header test, or an overscan mode byte above 2, gives 255 in both.
FileType ClassifyOpenFile(InputFile& in, CpcKind kind);

}  // namespace mozu::detail
