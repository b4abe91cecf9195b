#pragma once
// The Z80 loader that an overscan file carries in front of its picture: a 16-byte stub at
// &0671 that moves the 200-byte routine up to &7FCF and runs it. The routine moves the picture
// to &0680, sets the mode and inks, lays the picture out over the whole border, reprograms the
// display controller, waits for a key and puts the controller back. Constant data.

#include <array>
#include <cstdint>

namespace mozu {

extern const std::array<std::uint8_t, 16> kOverscanLoaderStub;
extern const std::array<std::uint8_t, 200> kOverscanLoaderRoutine;

}  // namespace mozu
