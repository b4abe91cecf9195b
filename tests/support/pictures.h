#pragma once
// Small pictures made in code from fixed seeds, the same on every run and every machine.

#include <cstdint>
#include <random>
#include <vector>

#include "colour/picture.h"

namespace mozu::test {

// `colours` random colours spread over the picture at random; 0: every pixel a random colour.
Picture RandomPicture(int w, int h, unsigned seed, int colours = 0);
// A smooth, photograph-like picture (sine and cosine waves and a diagonal ramp) with noise.
Picture SmoothPicture(int w, int h, unsigned seed);

// An index picture (pen k stored as red = k) of random pens below `pens`.
Picture RandomIndexPicture(std::mt19937& rng, int w, int h, int pens);
// The pens of an index picture, row by row.
std::vector<std::uint8_t> PensOf(const Picture& index);

}  // namespace mozu::test
