#include "formats/formats_test_helpers.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <stdexcept>

namespace mozu::test {

TempDir::TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "mozu-formats-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("cannot make a temporary folder");
    dir_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::vector<std::string> TempDir::files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool ScriptedAsker::askYesNo(const std::string& text) {
    questions.push_back(text);
    if (yesNo.empty()) return false;
    const bool a = yesNo.front();
    yesNo.pop_front();
    return a;
}

std::optional<std::string> ScriptedAsker::askName(const std::string& prompt, int maxLength) {
    prompts.push_back(prompt);
    maxLengths.push_back(maxLength);
    if (names.empty()) return std::nullopt;
    auto a = names.front();
    names.pop_front();
    return a;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Picture RandomIndexPicture(std::mt19937& rng, int width, int height, int pens) {
    Picture p(width, height);
    std::uniform_int_distribution<int> pen(0, pens - 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.setPixel(x, y, MakeColour(pen(rng), 0, 0));
    return p;
}

std::vector<std::uint8_t> PensOf(const Picture& index) {
    std::vector<std::uint8_t> pens;
    pens.reserve(static_cast<std::size_t>(index.width()) *
                 static_cast<std::size_t>(index.height()));
    for (int y = 0; y < index.height(); ++y)
        for (int x = 0; x < index.width(); ++x)
            pens.push_back(static_cast<std::uint8_t>(Red(index.pixel(x, y))));
    return pens;
}

void RandomPalette(std::mt19937& rng, PaletteSlot& palette) {
    std::vector<std::uint8_t> indexes(27);
    std::iota(indexes.begin(), indexes.end(), 0);
    std::shuffle(indexes.begin(), indexes.end(), rng);
    std::copy(indexes.begin(), indexes.begin() + 16, palette.begin());
}

bool SameState(const ConversionState& a, const ConversionState& b) {
    return a.source == b.source && a.slots == b.slots && a.palettes == b.palettes &&
           a.converted == b.converted && a.saved == b.saved && a.foundColours == b.foundColours &&
           a.sourceColourCount == b.sourceColourCount && a.currentSlot == b.currentSlot &&
           a.sourceSlot == b.sourceSlot && a.modePalette == b.modePalette;
}

}  // namespace mozu::test
