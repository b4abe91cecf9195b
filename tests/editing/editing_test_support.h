#pragma once
// Stand-ins for the editor's model and the window's font, for the editing tests.

#include <string_view>
#include <utility>
#include <vector>

#include "colour/colour_table.h"
#include "editing/selection_tools.h"
#include "editing/text_box.h"

namespace mozu::test {

// The editor's model as the selection tools see it: a picture, an undo history, the view.
class FakeEditor : public SelectionHost {
  public:
    FakeEditor(Slot slot, Picture picture, int scaleX = 1, int scaleY = 1)
        : slot_(slot), picture_(std::move(picture)) {
        view_.scaleX = scaleX;
        view_.scaleY = scaleY;
    }
    Picture& workingPicture() override { return picture_; }
    void saveUndoPoint() override { history_.push_back(picture_); }
    ViewMapping view() const override { return view_; }
    Slot slot() const override { return slot_; }
    std::vector<Colour> paletteColours() const override { return palette_; }
    Colour fillColour() const override { return fill_; }
    void afterCrop(bool keptSize) override { fillOn_ = keptSize; }
    // False with an empty history.
    bool undo() {
        if (history_.empty()) return false;
        picture_ = history_.back();
        history_.pop_back();
        return true;
    }

    Slot slot_;
    Picture picture_;
    ViewMapping view_;
    std::vector<Colour> palette_ = {kDefaultColourTable.at(1), kDefaultColourTable.at(3),
                                    kDefaultColourTable.at(13), kDefaultColourTable.at(8)};
    Colour fill_ = kDefaultColourTable.at(1);
    std::vector<Picture> history_;
    bool fillOn_ = false;
};

// A fixed-width font: every character 6 pixels wide and lines 8 high; a character other than
// the space is drawn as a solid 4 x 6 block one pixel in from its cell's left.
class FixedFont : public TextPainter {
  public:
    int textWidth(std::string_view text) const override {
        return static_cast<int>(text.size()) * 6;
    }
    int lineHeight() const override { return 8; }
    void drawText(Picture& box, int x, int y, std::string_view text, Colour colour) const override {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ') continue;
            for (int dy = 0; dy < 6; ++dy)
                for (int dx = 1; dx < 5; ++dx) {
                    const int px = x + static_cast<int>(i) * 6 + dx, py = y + dy;
                    if (px >= 0 && py >= 0 && px < box.width() && py < box.height())
                        box.setPixel(px, py, colour);
                }
        }
    }
};

}  // namespace mozu::test
