#include "formats/screen_files.h"

#include <algorithm>

#include "colour/colour_ops.h"
#include "formats/amsdos_header.h"
#include "formats/file_image.h"
#include "formats/file_name.h"
#include "formats/pixel_encoding.h"
#include "formats/screen_layout.h"
#include "formats/slot_pens.h"

namespace mozu {

namespace {

// The start-up routine, run at &C7D0: set the mode, set inks 15 down to 0 from its own table at
// &C7F0, set the border. Bytes 1 (mode), 25-26 (border) and 32-47 (inks) are filled in.
constexpr std::array<std::uint8_t, 32> kStartupCode = {
    0x3E, 0x00,        // LD A,mode
    0xCD, 0x1C, 0xBD,  // CALL &BD1C (set mode)
    0x21, 0xF0, 0xC7,  // LD HL,&C7F0 (ink table)
    0x3E, 0x0F,        // LD A,15
    0x46, 0x4E,        // LD B,(HL) : LD C,(HL)
    0xF5, 0xE5,        // PUSH AF : PUSH HL
    0xCD, 0x32, 0xBC,  // CALL &BC32 (set ink A to B, C)
    0xE1, 0xF1,        // POP HL : POP AF
    0x23, 0x3D,        // INC HL : DEC A
    0xF2, 0xDA, 0xC7,  // JP P,&C7DA
    0x01, 0x00, 0x00,  // LD BC,border
    0xCD, 0x38, 0xBC,  // CALL &BC38 (set border)
    0xC9,              // RET
    0x00,
};

struct ModeFile {
    Slot slot;
    int width;
    const char* suffix;
    int borderPen;
};
constexpr ModeFile kModes[3] = {{Slot::Mode0, 160, "0.rim", 15},
                                {Slot::Mode1, 320, "1.rim", 3},
                                {Slot::Mode2, 640, "2.rim", 0}};

// Lines into their places in the 16 KB image; the gaps are left alone.
template <class Rows>
void PackScreen(const Rows& rows, std::uint8_t* image) {
    for (int y = 0; y < screen::kLines; ++y)
        rows.pack(y, 0, screen::kLineBytes, image + screen::LineOffset(y));
}

// Everything but the picture: the header, the start-up routine and the palette copy.
void FinishScreenFile(int mode, const std::array<std::uint8_t, 16>& modePalette,
                      const std::string& amsName, std::uint8_t* file) {
    const auto header = MakeAmsdosHeader(amsName, kScreenFileHeader);
    std::copy(header.begin(), header.end(), file);
    std::uint8_t* image = file + kAmsdosHeaderSize;
    const auto routine = StartupRoutine(mode, modePalette);
    std::copy(routine.begin(), routine.end(), image + screen::GapOffset(0));
    // Modes 0 and 1 keep a copy of the palette, pen 0 first, in the second gap.
    if (mode != 2) std::copy(modePalette.begin(), modePalette.end(), image + screen::GapOffset(1));
}

void MakeModeFile(ConversionState& state, Asker& asker, const std::string& baseName, int mode) {
    const ModeFile& m = kModes[mode];
    // The picture is packed, and so every pixel checked, before anything is asked or replaced.
    const SlotPenRows rows(state.picture(m.slot), 0, 0, m.width, screen::kLines, ModeEncoding(mode),
                           "mode " + std::to_string(mode) + " picture");
    std::vector<std::uint8_t> file(kScreenFileSize, 0);
    PackScreen(rows, file.data() + kAmsdosHeaderSize);
    const std::string path = CheckFileName(asker, baseName + m.suffix);
    MakeModePalette(state, m.slot);
    FinishScreenFile(mode, state.modePalette, AMSname(path), file.data());
    WriteFileImage(path, file);
    state.saved[m.slot] = 1;
}

}  // namespace

std::array<std::uint8_t, kStartupRoutineSize> StartupRoutine(
    int mode, const std::array<std::uint8_t, 16>& modePalette) {
    std::array<std::uint8_t, kStartupRoutineSize> r{};
    std::copy(kStartupCode.begin(), kStartupCode.end(), r.begin());
    r[1] = static_cast<std::uint8_t>(mode);
    const std::uint8_t border = modePalette[static_cast<std::size_t>(kModes[mode].borderPen)];
    r[25] = border;
    r[26] = border;
    for (std::size_t i = 0; i < 16; ++i) r[kStartupInkTable + i] = modePalette[15 - i];
    return r;
}

std::vector<std::uint8_t> BuildScreenFile(int mode, std::span<const std::uint8_t> pens,
                                          const std::array<std::uint8_t, 16>& modePalette,
                                          const std::string& amsName) {
    std::vector<std::uint8_t> file(kScreenFileSize, 0);
    PackScreen(PenRows(pens, kModes[mode].width, ModeEncoding(mode)),
               file.data() + kAmsdosHeaderSize);
    FinishScreenFile(mode, modePalette, amsName, file.data());
    return file;
}

void MakeMode0(ConversionState& state, Asker& asker, const std::string& baseName) {
    MakeModeFile(state, asker, baseName, 0);
}
void MakeMode1(ConversionState& state, Asker& asker, const std::string& baseName) {
    MakeModeFile(state, asker, baseName, 1);
}
void MakeMode2(ConversionState& state, Asker& asker, const std::string& baseName) {
    MakeModeFile(state, asker, baseName, 2);
}

}  // namespace mozu
