#pragma once
// Loading PC pictures (JPEG, BMP, PNG, GIF, TGA, PNM, WebP, TIFF) into a 24-bit picture at their
// own size.
//
// Every loader either fills `image` completely or raises IoError and leaves `image` as it
// was: a file that cannot be opened carries the code of its errno, a truncated file code 100
// ("Read error:End of file"), bytes that are no such picture code 106. A header that claims
// more pixels than media/picture_limits.h allows is refused (code 106) before anything of that
// size is allocated.

#include <string>

#include "colour/picture.h"

namespace mozu {

// Decodes a JPEG file with libjpeg's default options. Greyscale pictures come out as grey
// RGB, CMYK and YCCK pictures are turned into RGB.
void LoadJpeg(const std::string& path, Picture& image);

// Reads a BMP file of any common kind (1, 4, 8, 16, 24 or 32 bits, RLE4 and RLE8, bottom-up
// or top-down).
void LoadBmp(const std::string& path, Picture& image);

// PNG through libpng: every PNG kind; transparent pixels are laid over `background`.
void LoadPng(const std::string& path, Picture& image, Colour background = 0);

// GIF through giflib: the first frame on the logical screen; pixels it leaves uncovered and
// transparent ones show `background`.
void LoadGif(const std::string& path, Picture& image, Colour background = 0);

// TGA (palette, grey, true colour, RLE) through stb_image; alpha over `background`.
void LoadTga(const std::string& path, Picture& image, Colour background = 0);

// Binary PNM (PPM "P6", PGM "P5") through stb_image.
void LoadPnm(const std::string& path, Picture& image);

// WebP through libwebp: a still picture, or the first frame of an animation on its canvas;
// alpha over `background`.
void LoadWebp(const std::string& path, Picture& image, Colour background = 0);

// TIFF through libtiff: the first page; alpha over `background`.
void LoadTiff(const std::string& path, Picture& image, Colour background = 0);

// The PC picture kinds the loaders above read, by extension.
enum class PictureKind { None, Jpeg, Bmp, Png, Gif, Tga, Pnm, Webp, Tiff };

// By the file's extension, case-insensitive: .jpg .jpeg, .bmp, .png, .gif, .tga, .ppm .pgm .pnm,
// .webp, .tif .tiff.
PictureKind PictureKindOf(const std::string& path);

// Loads a picture of `kind`; None raises IoError 106.
void LoadPictureOf(PictureKind kind, const std::string& path, Picture& image,
                   Colour background = 0);

// Picks the loader by the file's extension (PictureKindOf); any other name raises IoError 106.
void LoadPicture(const std::string& path, Picture& image);

}  // namespace mozu
