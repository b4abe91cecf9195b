#pragma once
// The pens the writers store, taken from a slot while it holds an index picture (pen number in
// the red channel, green and blue zero).

#include <cstdint>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace mozu {

// Pens of the w x h area whose top left corner is (x, y), row by row. A pixel that is no pen
// below `pens` (a colour, or a pen the palette does not have), or an area the picture does not
// cover, raises IoError io::kInvalidData naming `what`: the file is never written with a byte
// that does not hold the picture.
std::vector<std::uint8_t> ReadSlotPens(const Picture& picture, int x, int y, int w, int h, int pens,
                                       const std::string& what);

}  // namespace mozu
