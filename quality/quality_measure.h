#pragma once
// How close a converted picture comes to its source, as a person sees it on the CPC's screen:
// the picture the screen shows (each pixel at its mode's shape, the screen at 4:3) against the
// source resized to the same display size, both blurred by a Gaussian as large as one pixel as
// displayed (a mode 2 pixel is 1 unit wide and 2.4 tall, a mode 0 pixel 2 wide and 1.2 tall; the
// eye does not resolve single dots at viewing distance, so a fine dither counts as the colour it
// mixes to). Two numbers: the mean colour error (OKLab distance times 100, so that 1 is about
// the smallest difference one can see) and the mean SSIM of the OKLab lightness (1 = same
// structure). Used by tests and benchmarks, never by a conversion.

#include "colour/conversion_state.h"
#include "colour/picture.h"

namespace mozu {

struct QualityScore {
    double colourError = 0;  // mean OKLab distance x 100; 0 = the same colours
    double ssim = 1;         // mean SSIM of lightness, up to 1
};

// The screen stretches a picture's rows so that a full CPC screen (320 x 200 square units)
// fills a 4:3 display: each row is 1.2 units tall.
inline constexpr double kDisplayRowStretch = 1.2;

// `picture` as displayed: every pixel xf display pixels wide and yf tall, then the rows
// stretched by kDisplayRowStretch (by sampling).
Picture DisplayedPicture(const Picture& picture, int xf, int yf);

// Both pictures (the same size, already displayed) blurred by a Gaussian of sigmaX across and
// sigmaY down (display units: the size of one pixel of the picture as displayed) and compared.
// std::invalid_argument for pictures of different sizes or empty ones.
QualityScore ComparePictures(const Picture& shown, const Picture& reference, double sigmaX = 1,
                             double sigmaY = 1);

// A dithered slot against `work`, the source resized for the slot (the picture the slot's
// ditherer was handed): the slot's picture (colour-table colours) cut to where work was drawn
// on the canvas, both displayed at the slot's pixel shape and compared with the blur of one such
// pixel.
QualityScore MeasureSlot(const ConversionState& state, Slot slot, const Picture& work);

}  // namespace mozu
