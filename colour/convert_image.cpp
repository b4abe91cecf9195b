#include "colour/convert_image.h"

#include <algorithm>
#include <array>

#include "colour/colour_ops.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

constexpr int kNoColour = -1;
constexpr std::int32_t kNoDistance = 16777215;  // larger than any real distance

struct Candidate {
    int index = kNoColour;
    std::int32_t first = kNoDistance;   // to the approximation of the found colour
    std::int32_t second = kNoDistance;  // to the found colour itself
};
using CandidateList = std::array<Candidate, kColourCount>;

int AllowedColours(Slot slot) {
    if (slot == Slot::SgxCpc || slot == Slot::SgxCpcFree) return 4;
    if (slot == Slot::SgxMsx || slot == Slot::SgxMsxFree) return 16;
    return kColourCount;
}

// Coarse CPC approximation of a colour: channels to multiples of 3, a channel strictly above
// both others raised by half, then each channel to the level 0, 128 or 255.
Colour Approximate(Colour c) {
    int r = Red(c) / 3 * 3, g = Green(c) / 3 * 3, b = Blue(c) / 3 * 3;
    if (r > g && r > b) r = ClampToByte(r * 3 / 2);
    if (g > r && g > b) g = ClampToByte(g * 3 / 2);
    if (b > g && b > r) b = ClampToByte(b * 3 / 2);
    return MakeColour(ClampToByte(r / 85 * 128), ClampToByte(g / 85 * 128),
                      ClampToByte(b / 85 * 128));
}

CandidateList MakeCandidates(const ConversionState& state, Colour found, int allowed) {
    CandidateList list{};
    const Colour approx = Approximate(found);
    for (int j = 0; j < allowed; ++j) {
        const Colour c = state.colourTable[static_cast<std::size_t>(j)];
        list[static_cast<std::size_t>(j)] = {j, ColorDifferent(approx, c),
                                             ColorDifferent(found, c)};
    }
    // Equal first distances keep colour-index order.
    std::stable_sort(list.begin(), list.begin() + allowed,
                     [](const Candidate& a, const Candidate& b) { return a.first < b.first; });
    return list;
}

void DropFirst(CandidateList& list) {
    std::move(list.begin() + 1, list.end(), list.begin());
    list.back() = Candidate{};
}

// Lists that share a first candidate compete for it: the one with the smallest distance from
// its own found colour (the lowest on ties) keeps it, the others drop it; then start over.
void ResolveConflicts(std::array<CandidateList, 16>& lists, int n) {
    for (int k = 0; k < n;) {
        const int c = lists[static_cast<std::size_t>(k)][0].index;
        int winner = k;
        bool conflict = false;
        // An exhausted list (only when there are more colours than allowed ones) competes for
        // nothing.
        if (c != kNoColour) {
            for (int i = 0; i < n; ++i) {
                const Candidate& first = lists[static_cast<std::size_t>(i)][0];
                if (i == k || first.index != c) continue;
                conflict = true;
                if (first.second < lists[static_cast<std::size_t>(winner)][0].second ||
                    (first.second == lists[static_cast<std::size_t>(winner)][0].second &&
                     i < winner))
                    winner = i;
            }
        }
        if (!conflict) {
            ++k;
            continue;
        }
        for (int i = 0; i < n; ++i)
            if (i != winner && lists[static_cast<std::size_t>(i)][0].index == c)
                DropFirst(lists[static_cast<std::size_t>(i)]);
        k = 0;
    }
}

}  // namespace

void ConvertImage(ConversionState& state, const Picture& src, Picture& dst, Slot slot) {
    PaletteSlot& palette = state.palette(slot);
    for (int i = 0; i < kColourCount; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    // Only 16 found colours are kept; callers pass at most the slot's pens.
    const int n = std::clamp(state.sourceColourCount, 0, 16);
    const int allowed = AllowedColours(slot);

    bool exact = true;
    for (int k = 0; k < n && exact; ++k) {
        exact = false;
        for (int j = 0; j < allowed; ++j) {
            if (state.colourTable[static_cast<std::size_t>(j)] ==
                state.foundColours[static_cast<std::size_t>(k)]) {
                palette[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(j);
                exact = true;
                break;
            }
        }
    }

    if (!exact && (slot == Slot::SgxCpc || slot == Slot::SgxCpcFree)) {
        // Darkest found colour to black (1), brightest to (255, 255, 128) (0), and (128, 0, 0)
        // (3) and (255, 128, 0) (2) between them.
        std::stable_sort(state.foundColours.begin(), state.foundColours.begin() + n,
                         [](Colour a, Colour b) { return Luminance(a) < Luminance(b); });
        static constexpr std::uint8_t kByCount[5][4] = {
            {0, 1, 2, 3}, {0, 1, 2, 3}, {1, 0, 2, 3}, {1, 2, 0, 3}, {1, 3, 2, 0}};
        const auto& order = kByCount[std::min(n, 4)];
        std::copy(order, order + 4, palette.begin());
    } else if (!exact) {
        std::array<CandidateList, 16> lists;
        for (int k = 0; k < n; ++k)
            lists[static_cast<std::size_t>(k)] =
                MakeCandidates(state, state.foundColours[static_cast<std::size_t>(k)], allowed);
        ResolveConflicts(lists, n);
        for (int k = 0; k < n; ++k) {
            const int index = lists[static_cast<std::size_t>(k)][0].index;
            // More colours than allowed ones leave a list empty: that colour keeps position k's
            // identity entry rather than an invalid index.
            if (index != kNoColour)
                palette[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(index);
        }
    }

    if (slot == Slot::SgxCpcFree || slot == Slot::SgxMsxFree)
        return;  // the caller maps the pixels itself
    const CanvasSize canvas = SlotCanvas(slot, src.width(), src.height());
    Picture out(canvas.width, canvas.height, GetColor(state, 0, slot));
    out.draw(src, (canvas.width - src.width()) / 2, (canvas.height - src.height()) / 2);
    dst = std::move(out);
}

}  // namespace mozu
