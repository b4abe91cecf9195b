#pragma once
// Reading level files ("0.lvl", "1.lvl") back: the mode 0 or 1 overscan background and the
// 96-line block of extra graphics beside it, with the palette. A level file is data for another
// program and ".lvl" is a common name, so a file is taken for one only when its header says so,
// and read only when every length and header field is the one Mozu writes.

#include <cstdint>
#include <span>
#include <string>

#include "formats/picture_decoding.h"

namespace mozu {

// Pixels of the background and of the extra graphics across, in mode 0 or 1.
int LevelBackgroundWidth(int mode);
int LevelExtraWidth(int mode);

// Whether the first bytes of a file (at least 129, else false) are a level file's: an AMSDOS
// binary header loading at &0660 with the level file's real length, and a mode byte of 0 or 1.
// Gives the mode, or -1. The rest of the header is the reader's to check.
int LevelFileMode(std::span<const std::uint8_t> head);

// The level file `file` (from its first byte; `name` names it in errors) as one picture of pens:
// the background (184 or 368 x 264) at the left, the extra graphics (48 or 96 x 96) beside it at
// the top, pen 0 under them; and the palette. A file shorter than a level file raises IoError
// io::kReadPastEnd; a longer one, a header field, mode byte or checksum that is not the one Mozu
// writes, a palette entry that is no firmware colour or a repeated palette that differs from
// the palette raise IoError io::kInvalidData saying which.
DecodedPicture DecodeLevelFile(std::span<const std::uint8_t> file, int mode,
                               const std::string& name);

}  // namespace mozu
