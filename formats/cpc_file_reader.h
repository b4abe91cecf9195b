#pragma once
// Reading the CPC and SymbOS picture files back into their slots.

#include <cstdint>
#include <string>

#include "colour/conversion_state.h"
#include "formats/file_type.h"
#include "formats/picture_decoding.h"

namespace mozu {

// Reads a screen file (types 0-2), an overscan file (4-6) or a SymbOS graphic (9, 11) into the
// slot of its type: the slot gets the picture in colours (Indexed2BMP with the slot's palette),
// the palette slot the file's palette (Paleta2; SymbOS graphics have none and keep palette
// slots 9 and 11 at the identity), the converted flag is set, and the current and source slot
// become the type; for modes 0 and 1 the found colours are recounted (CountColors; the count
// itself is the caller's). Returns the description for Label1, e.g. "CPC image\n\r160x200".
//
// The file is read and checked completely before the state changes: a file that ends early
// (IoError io::kReadPastEnd), a SymbOS graphic that is nonsense or larger than 4096 x 4096, a
// headed screen file without our routine (type 3) or a file of no known type (255) raise
// IoError (io::kInvalidData for the last three; "Not supported file format" is the caller's
// text) and leave every slot, palette and flag as it was.
//
// SymbOS videos (13, 14) are read by the video layer: here they only set the current and
// source slot and reset palette slots 9 and 11; the text returned is empty.
std::string OpenCPCFile(ConversionState& state, const std::string& path);

// The Label1 text of a picture file of this type and size: "Undefined" for 255, empty for the
// types that have no text of their own (3, 13, 14 and the PC types).
std::string CpcFileDescription(std::uint8_t fileType, int width, int height);

// The file's pens and palette as OpenCPCFile reads them, without touching any state; the type
// must be 0-2, 4-6, 9 or 11.
DecodedPicture ReadCpcPicture(const std::string& path, std::uint8_t fileType);

// After OpenCPCFile read a picture file of type `fileType` (0-2, 4-6, 9, 11) into its slot: the
// source becomes the picture as the main window holds it (at its Image5Size: mode 0 pixels
// doubled in width, mode 2 lines doubled, SymbOS graphics at their own size), its colours are
// counted, the current slot is the file type and the no-picture flag is cleared. The caller
// clears the converted flags before OpenCPCFile.
void AdoptOpenedPicture(ConversionState& state, int fileType);

}  // namespace mozu
