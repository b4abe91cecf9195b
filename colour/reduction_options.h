#pragma once
// The choice of colour reduction for a conversion: how pixels are turned into pens (the classic
// popularity and grey-level dithering, error diffusion with one of the usual matrices, or
// ordered dithering), in which space the error is measured, and how the pens are chosen. The
// default is the classic method, which every file written so far was made with; the others are
// beside it and never change its result.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mozu {

enum class ReductionMethod {
    Classic,  // popularity dithering (16 and 4 pens) and grey-level dithering (2 and 4 levels)
    FloydSteinberg,
    JarvisJudiceNinke,
    Stucki,
    Atkinson,
    SierraLite,
    Bayer2,
    Bayer4,
    Bayer8,
    BlueNoise,
};

// Where the error of a pixel is measured and the nearest pen looked for.
enum class ErrorSpace { OkLab, Rgb };

// How the pens of a slot whose palette is free are chosen.
enum class PaletteChoice {
    Popularity,  // the classic order: pixels per colour cube bin
    Clustering,  // the hardware colours that serve the picture's colours best, in OKLab
};

struct ReductionOptions {
    ReductionMethod method = ReductionMethod::Classic;
    bool serpentine = false;  // error diffusion: every other row right to left
    ErrorSpace space = ErrorSpace::OkLab;
    PaletteChoice palette = PaletteChoice::Popularity;
    // Pens the user fixed, as colour indexes (0-26), first pen first. Fewer than the slot's pens
    // lock those and let the palette choice pick the rest; of more, the slot takes its number
    // from the front. Slots whose pens the file format fixes (8-11, 13-16) ignore them.
    std::vector<std::uint8_t> pens;

    // The classic method with the classic pens: what a conversion does unless told otherwise.
    bool isDefault() const {
        return method == ReductionMethod::Classic && palette == PaletteChoice::Popularity &&
               pens.empty();
    }
    bool errorDiffusion() const {
        return method >= ReductionMethod::FloydSteinberg && method <= ReductionMethod::SierraLite;
    }
    bool ordered() const { return method >= ReductionMethod::Bayer2; }
    bool operator==(const ReductionOptions&) const = default;
};

// Every method, in the order menus and help list them.
inline constexpr ReductionMethod kAllReductionMethods[] = {
    ReductionMethod::Classic,   ReductionMethod::FloydSteinberg, ReductionMethod::JarvisJudiceNinke,
    ReductionMethod::Stucki,    ReductionMethod::Atkinson,       ReductionMethod::SierraLite,
    ReductionMethod::Bayer2,    ReductionMethod::Bayer4,         ReductionMethod::Bayer8,
    ReductionMethod::BlueNoise,
};

// The method's name on the command line: "classic", "floyd-steinberg", "jarvis", "stucki",
// "atkinson", "sierra-lite", "bayer2", "bayer4", "bayer8", "blue-noise".
std::string_view ReductionMethodName(ReductionMethod method);
std::string_view PaletteChoiceName(PaletteChoice choice);  // "popularity", "clustering"

// Reads a method name with optional modifiers joined by '+': "serpentine" (error diffusion
// only) and "rgb" or "oklab" (the error space), e.g. "floyd-steinberg+serpentine+rgb". Sets the
// method, serpentine and space of `options`. std::invalid_argument naming what is wrong.
void ParseReductionMethod(std::string_view text, ReductionOptions& options);
// "popularity" or "clustering"; std::invalid_argument otherwise.
PaletteChoice ParsePaletteChoice(std::string_view text);
// A comma list of 1-16 CPC firmware colour numbers (0-26, as the CPC's own INK numbers), first
// pen first, given as colour indexes. std::invalid_argument for anything else or a repeated
// colour.
std::vector<std::uint8_t> ParsePens(std::string_view text);

// One line saying what the options are, e.g. "floyd-steinberg, serpentine, OKLab error,
// clustering palette, pens 0,26": for tooltips and messages. "classic" for the default.
std::string DescribeReduction(const ReductionOptions& options);

}  // namespace mozu
