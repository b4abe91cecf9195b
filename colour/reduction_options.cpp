#include "colour/reduction_options.h"

#include <charconv>
#include <stdexcept>

#include "colour/colour_table.h"

namespace mozu {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string_view ReductionMethodName(ReductionMethod method) {
    switch (method) {
        case ReductionMethod::Classic:
            return "classic";
        case ReductionMethod::FloydSteinberg:
            return "floyd-steinberg";
        case ReductionMethod::JarvisJudiceNinke:
            return "jarvis";
        case ReductionMethod::Stucki:
            return "stucki";
        case ReductionMethod::Atkinson:
            return "atkinson";
        case ReductionMethod::SierraLite:
            return "sierra-lite";
        case ReductionMethod::Bayer2:
            return "bayer2";
        case ReductionMethod::Bayer4:
            return "bayer4";
        case ReductionMethod::Bayer8:
            return "bayer8";
        case ReductionMethod::BlueNoise:
            return "blue-noise";
    }
    return "classic";
}

std::string_view PaletteChoiceName(PaletteChoice choice) {
    return choice == PaletteChoice::Clustering ? "clustering" : "popularity";
}

void ParseReductionMethod(std::string_view text, ReductionOptions& result) {
    ReductionOptions options = result;  // changed only when the whole text is good
    text = Trim(text);
    const std::size_t plus = text.find('+');
    const std::string_view name = text.substr(0, plus);
    bool found = false;
    for (ReductionMethod m : kAllReductionMethods) {
        if (ReductionMethodName(m) == name) {
            options.method = m;
            found = true;
        }
    }
    if (!found) throw std::invalid_argument("unknown method '" + std::string(name) + "'");
    options.serpentine = false;
    options.space = ErrorSpace::OkLab;
    std::string_view rest =
        plus == std::string_view::npos ? std::string_view{} : text.substr(plus + 1);
    while (plus != std::string_view::npos) {
        const std::size_t next = rest.find('+');
        const std::string_view modifier = rest.substr(0, next);
        if (modifier == "serpentine") {
            if (!options.errorDiffusion())
                throw std::invalid_argument("serpentine needs an error diffusion method");
            options.serpentine = true;
        } else if (modifier == "rgb") {
            options.space = ErrorSpace::Rgb;
        } else if (modifier == "oklab") {
            options.space = ErrorSpace::OkLab;
        } else {
            throw std::invalid_argument("unknown method modifier '" + std::string(modifier) +
                                        "' (serpentine, rgb or oklab)");
        }
        if (next == std::string_view::npos) break;
        rest.remove_prefix(next + 1);
    }
    if (options.method == ReductionMethod::Classic && options.space == ErrorSpace::Rgb)
        throw std::invalid_argument("the classic method has no choice of error space");
    result = options;
}

PaletteChoice ParsePaletteChoice(std::string_view text) {
    text = Trim(text);
    if (text == "popularity") return PaletteChoice::Popularity;
    if (text == "clustering") return PaletteChoice::Clustering;
    throw std::invalid_argument("unknown palette '" + std::string(text) +
                                "' (popularity or clustering)");
}

std::vector<std::uint8_t> ParsePens(std::string_view text) {
    std::vector<std::uint8_t> pens;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        int firmware = -1;
        const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), firmware);
        if (item.empty() || ec != std::errc{} || end != item.data() + item.size() || firmware < 0 ||
            firmware >= kColourCount)
            throw std::invalid_argument("pen colour '" + std::string(item) +
                                        "' is no firmware colour number 0-26");
        const std::uint8_t index = FirmwareToColour[static_cast<std::size_t>(firmware)];
        for (std::uint8_t p : pens)
            if (p == index)
                throw std::invalid_argument("colour " + std::to_string(firmware) +
                                            " is given twice");
        pens.push_back(index);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (pens.size() > 16) throw std::invalid_argument("at most 16 pens");
    return pens;
}

std::string DescribeReduction(const ReductionOptions& options) {
    std::string text(ReductionMethodName(options.method));
    if (options.serpentine) text += ", serpentine";
    if (options.method != ReductionMethod::Classic)
        text += options.space == ErrorSpace::Rgb ? ", RGB error" : ", OKLab error";
    if (options.palette != PaletteChoice::Popularity)
        text += ", " + std::string(PaletteChoiceName(options.palette)) + " palette";
    if (!options.pens.empty()) {
        text += ", pens ";
        for (std::size_t i = 0; i < options.pens.size(); ++i) {
            if (i) text += ',';
            text += std::to_string(ColourToFirmware.at(options.pens[i]));
        }
    }
    return text;
}

}  // namespace mozu
