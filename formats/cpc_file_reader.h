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
// the palette slot the file's palette (PaletteFromFirmware; SymbOS graphics have none and keep
// palette slots 9 and 11 at the identity), the converted flag is set, and the current and source
// slot become the type; for modes 0 and 1 the found colours are recounted (CountColors; the count
// itself is the caller's). Returns the file's description, e.g. "CPC image\n\r160x200".
//
// The file is read and checked completely before the state changes: a file that ends early
// (IoError io::kReadPastEnd), a SymbOS graphic that is nonsense or larger than 4096 x 4096, a
// headed screen file without our routine (type 3) or a file of no known type (255) raise
// IoError (io::kInvalidData for the last three; "Not supported file format" is the caller's
// text) and leave every slot, palette and flag as it was.
//
// A level file (40, 41) is read into its level slot (20, 21: the background with the extra
// graphics beside it, pen 0 under them), which is the one converted; its palette goes into the
// overscan slot's palette (4, 5), which the level writers use, and the level slot's, and the
// background alone into the overscan slot's picture, which the mode 1 writer reads.
//
// SymbOS videos (13, 14) are read by the video layer: here they only set the current and
// source slot and reset palette slots 9 and 11; the text returned is empty.
std::string OpenCPCFile(ConversionState& state, const std::string& path);

// The part of OpenCPCFile after the file was decoded: `slot` gets the pens in colours and, when
// the file has one, its palette; palette slots 9 and 11 go back to the identity; the converted
// flag is set and the current and source slot become `slot`.
void StoreReadPicture(ConversionState& state, Slot slot, const DecodedPicture& decoded);

// The description of a picture file of this type and size: "Undefined" for 255, empty for the
// types that have no text of their own (3, 13, 14 and the PC types).
std::string CpcFileDescription(FileType fileType, int width, int height);

// The file's pens and palette as OpenCPCFile reads them, without touching any state; the type
// must be 0-2, 4-6, 9, 11, 40 or 41.
DecodedPicture ReadCpcPicture(const std::string& path, FileType fileType);

struct PictureSize {
    int width = 0, height = 0;
};

// The size of the source made from a picture read from `slot`'s file: the picture as the window
// holds it, at its pixel shape. 320 x 200 (modes 0 and 1: mode 0 pixels twice as wide),
// 640 x 200 (mode 2), 368 x 264 (overscan 0 and 1, and the background of levels 20 and 21),
// 736 x 264 (overscan 2), the picture's own size (SymbOS graphics); 0 x 0 for other slots.
PictureSize OpenedSourceSize(Slot slot, int pictureWidth, int pictureHeight);

// After OpenCPCFile read a picture file of type `fileType` (0-2, 4-6, 9, 11, 40, 41) into its
// slot: the source becomes the picture as the main window holds it (at its OpenedSourceSize:
// mode 0 pixels doubled in width, mode 2 lines doubled, SymbOS graphics at their own size, a
// level file's background without the extra graphics), its colours are
// counted, the current slot is the file type and the no-picture flag is cleared. The caller
// clears the converted flags before OpenCPCFile.
void AdoptOpenedPicture(ConversionState& state, FileType fileType);

}  // namespace mozu
