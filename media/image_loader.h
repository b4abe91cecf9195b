#pragma once
// Loading PC pictures (JPEG and BMP) into a 24-bit picture at their own size.
//
// Every loader either fills `image` completely or raises IoError and leaves `image` as it
// was: a file that cannot be opened carries the code of its errno, a truncated file code 100
// ("Read error:End of file"), bytes that are no such picture code 106.

#include <string>

#include "colour/picture.h"

namespace mozu {

// Decodes a JPEG file with libjpeg's default options. Greyscale pictures come out as grey
// RGB, CMYK and YCCK pictures are turned into RGB.
void LoadJpeg(const std::string& path, Picture& image);

// Reads a BMP file of any common kind (1, 4, 8, 16, 24 or 32 bits, RLE4 and RLE8, bottom-up
// or top-down).
void LoadBmp(const std::string& path, Picture& image);

// Picks the loader by the file's extension, case-insensitive: .jpg and .jpeg are JPEG, .bmp
// is BMP; any other name raises IoError 106.
void LoadPicture(const std::string& path, Picture& image);

}  // namespace mozu
