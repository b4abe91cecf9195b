#pragma once
// CPC screen files of modes 0, 1 and 2 ("0.rim", "1.rim", "2.rim"): a 128-byte AMSDOS header and
// the 16 KB screen image, with a start-up routine and the palette in the gaps of the image so
// that the file shows itself in its own colours when run on a CPC. 16512 bytes.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "platform/asker.h"

namespace mozu {

constexpr std::size_t kScreenFileSize = 16512;
constexpr std::size_t kStartupRoutineSize = 48;
constexpr std::size_t kStartupRoutineOffset = 2128;  // file offset; &C7D0 on the CPC
constexpr std::size_t kStartupInkTable = 32;         // ink table inside the routine

// Each writes slot 0, 1 or 2 (an index picture of 160, 320 or 640 x 200) with the palette of
// the same slot as baseName + "0.rim" / "1.rim" / "2.rim", after CheckFileName, and sets the
// slot's saved flag. IoError (nothing replaced, flag untouched) when a pixel is no pen or the
// file cannot be written.
void MakeMode0(ConversionState& state, Asker& asker, const std::string& baseName);
void MakeMode1(ConversionState& state, Asker& asker, const std::string& baseName);
void MakeMode2(ConversionState& state, Asker& asker, const std::string& baseName);

// The 48-byte start-up routine of a mode 0-2 file with this mode palette (firmware numbers of
// pens 0-15).
std::array<std::uint8_t, kStartupRoutineSize> StartupRoutine(
    int mode, const std::array<std::uint8_t, 16>& modePalette);

// The whole file: pens of the 200 lines (160, 320 or 640 a line, top to bottom).
std::vector<std::uint8_t> BuildScreenFile(int mode, std::span<const std::uint8_t> pens,
                                          const std::array<std::uint8_t, 16>& modePalette,
                                          const std::string& amsName);

}  // namespace mozu
