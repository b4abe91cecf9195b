#pragma once
// The reduction methods beside the classic ones: error diffusion against the colour a pixel is
// actually shown in (Floyd-Steinberg, Jarvis-Judice-Ninke, Stucki, Atkinson, Sierra Lite, each
// optionally serpentine) and ordered dithering (Bayer 2, 4, 8 and a blue-noise mask), with the
// error in OKLab or RGB, and the pens chosen by popularity, by clustering or by the user.
// Nothing here is used by the default conversion, which stays the classic ditherers.

#include <cstdint>
#include <span>
#include <vector>

#include "colour/conversion_state.h"
#include "colour/reduction_options.h"

namespace mozu {

// One share of an error diffusion matrix: the neighbour (dx, dy) from the pixel, in the scan's
// direction, and its part of the error.
struct DiffusionTap {
    int dx, dy;
    float weight;
};

// The error still to be added to the pixels of the rows being dithered and the two below them
// (three rows unless told), three channels and a spare a pixel (four floats, so that a pixel is
// worked on at once), with two columns of room on either side.
class ErrorRows {
  public:
    explicit ErrorRows(int width, int depth = 3);
    // Column x of the row dy below the first row held.
    float* at(int x, int dy) {
        return rows_[static_cast<std::size_t>(dy)] + static_cast<std::size_t>(x + 2) * 4;
    }
    // The second row becomes the first; the new last row is cleared.
    void advance();

  private:
    std::size_t stride_;
    std::vector<float> data_;
    std::vector<float*> rows_;
};

// Adds e (three channels) times each of the method's weights to the neighbours of column x, as
// the method's diffusion does after each pixel. `leftward`: the row is scanned right to left
// (serpentine), so the matrix is mirrored.
void SpreadError(ReductionMethod method, bool leftward, ErrorRows& rows, int x, const float e[3]);

// The threshold matrix of an ordered method: n x n values, each (rank + 0.5) / (n x n), so in
// (0, 1) and evenly spread. Bayer n for Bayer2/4/8; a 32 x 32 blue-noise mask (void and
// cluster) for BlueNoise.
struct ThresholdMatrix {
    int n;
    std::vector<float> t;  // row by row
};
const ThresholdMatrix& ThresholdMatrixOf(ReductionMethod method);

// Reduces `src` to the pens whose colours are given: the result holds, for every pixel row by
// row, the position of its pen in `penColours` (1-16 colours). Any method but the classic one.
std::vector<std::uint8_t> ReduceToPens(const Picture& src, std::span<const Colour> penColours,
                                       const ReductionOptions& options);

// The pens (colour indexes) the options give for dithering `src` for `slot`, first pen the one
// a border takes: for the four-pen SymbOS slots 8, 9, 13, 14 always colour indexes 0-3, for
// the sixteen-colour MSX slots 10, 11, 15, 16 always 0-15; otherwise the locked pens first,
// then the popularity order or the clustering in OKLab over the 27 colours fills up the slot's
// pens (the two-pen slots' popularity choice is their classic black and white).
std::vector<std::uint8_t> ChoosePens(const ConversionState& state, const Picture& src, Slot slot,
                                     const ReductionOptions& options);

// Dithers `src` for `slot` with non-default options, making the slot's picture and palette in
// the form the slot's classic ditherer makes them: a picture in colour-table colours for the
// 16- and 4-pen slots 0, 1, 4, 5, 10, 11, 15, 16, 20, 21, an index picture (pens) for the two-pen
// slots 2, 6 and the four-colour SymbOS slots 8, 9, 13, 14, centred on the slot's canvas.
// Palette: positions 0-26 := 0, then the pens (0-15 for 10 and 11, 0-3 for 8, 9, 13, 14);
// slots 15 and 16 leave it to their caller.
void DitherWithOptions(ConversionState& state, const Picture& src, Slot slot,
                       const ReductionOptions& options);

}  // namespace mozu
