#pragma once
// Overscan files ("0.sca", "1.sca", "2.sca", 24834 bytes): a full-border picture of 264 lines
// of 92 bytes, lines one after the other, behind its mode byte, palette and loader.
// Level files ("0.lvl", "1.lvl", 26752 bytes): a mode 0 or 1 overscan background followed by a
// 96-line block of extra graphics, data for another program.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "formats/amsdos_header.h"
#include "platform/asker.h"

namespace mozu {

constexpr int kOverscanLines = 264;
constexpr int kOverscanLineBytes = 92;
constexpr int kLevelExtraLines = 96;
constexpr int kLevelExtraLineBytes = 24;
constexpr std::size_t kOverscanFileSize = 24834;
constexpr std::size_t kOverscanPictureOffset = 361;
constexpr std::size_t kLevelFileSize = 26752;
constexpr std::size_t kLevelPictureOffset = 160;
constexpr std::size_t kLevelExtraOffset = 24448;
// The loader stub: the header's entry address (the mode byte is at &0660, the palette at
// &0661-&0670).
constexpr std::uint16_t kOverscanEntryAddress = 0x0671;
// A level file's header keeps the entry address &0670: it is data for another program, never
// run. Its real length covers both blocks.
inline constexpr AmsdosFields kLevelFileHeader = {0x0660, 0x6080, 0x0670, 0x006800};

// Slots 4, 5, 6 (184, 368, 736 x 264) with palette slots 4, 5, 6, after CheckFileName; set the
// slot's saved flag.
void MakeOverscanedMode0(ConversionState& state, Asker& asker, const std::string& baseName);
void MakeOverscanedMode1(ConversionState& state, Asker& asker, const std::string& baseName);
void MakeOverscanedMode2(ConversionState& state, Asker& asker, const std::string& baseName);

// Mode 0: slot 20 (background x 0-183, extra graphics x 184-231 of lines 0-95), palette 4.
// Mode 1: slot 5 (background) and slot 21 (extra graphics x 368-463 of lines 0-95), palette 5.
// An existing file is replaced without a question. Set the saved flag of slot 4 or 5.
void MakeLevelMode0(ConversionState& state, Asker& asker, const std::string& baseName);
void MakeLevelMode1(ConversionState& state, Asker& asker, const std::string& baseName);

// The whole files. Pens row by row: 264 lines of 92 bytes' worth of pixels; the extra graphics
// 96 lines of 24 bytes' worth.
std::vector<std::uint8_t> BuildOverscanFile(int mode, std::span<const std::uint8_t> pens,
                                            const std::array<std::uint8_t, 16>& modePalette,
                                            const std::string& amsName);
std::vector<std::uint8_t> BuildLevelFile(int mode, std::span<const std::uint8_t> background,
                                         std::span<const std::uint8_t> extra,
                                         const std::array<std::uint8_t, 16>& modePalette,
                                         const std::string& amsName);

}  // namespace mozu
