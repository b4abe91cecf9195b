#pragma once
// Fixtures of the formats tests: a temporary folder, a scripted asker, index pictures from
// fixed seeds and whole-file helpers.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "colour/picture.h"
#include "platform/asker.h"

namespace mozu::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string base(const std::string& name) const { return path(name); }
    std::vector<std::string> files() const;  // names in the folder, sorted

  private:
    std::filesystem::path dir_;
};

// Answers from a script; records every question. An exhausted script answers no / nothing.
class ScriptedAsker : public Asker {
  public:
    std::deque<bool> yesNo;
    std::deque<std::optional<std::string>> names;
    std::vector<std::string> questions;
    std::vector<std::string> prompts;
    std::vector<int> maxLengths;
    std::vector<std::string> notices;

    bool askYesNo(const std::string& text) override;
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override;
    void notify(const std::string& text) override { notices.push_back(text); }
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// An index picture (pen k as red = k) of random pens below `pens`.
Picture RandomIndexPicture(std::mt19937& rng, int width, int height, int pens);
// Pens of an index picture, row by row.
std::vector<std::uint8_t> PensOf(const Picture& index);
// Positions 0-15 of a palette slot: 16 different colour indexes in random order.
void RandomPalette(std::mt19937& rng, PaletteSlot& palette);

// Everything OpenCPCFile may touch.
bool SameState(const ConversionState& a, const ConversionState& b);

}  // namespace mozu::test
