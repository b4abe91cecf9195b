#include "colour/indexed.h"

#include <algorithm>
#include <array>
#include <vector>

#include "colour/colour_ops.h"
#include "colour/slot_geometry.h"

namespace mozu {

namespace {

// A run of "every pixel of colour from gets colour to" passes, applied in order. The passes
// act on each pixel alone, so their combined effect is a map from colour to colour; only a
// pixel whose colour is one of the `from` colours can change. The map is worked out once for
// those colours by running the passes literally, then applied in one sweep over the picture.
class PassChain {
  public:
    void add(Colour from, Colour to) { passes_.push_back({from, to}); }

    void apply(const Picture& p, Picture& s) const {
        if (&p != &s) s = p;
        std::vector<Pass> changes;  // colour -> its final colour, for the colours that change
        for (const Pass& pass : passes_) {
            const Colour result = run(pass.from);
            if (result != pass.from &&
                std::none_of(changes.begin(), changes.end(),
                             [&](const Pass& c) { return c.from == pass.from; }))
                changes.push_back({pass.from, result});
        }
        if (changes.empty()) return;
        const ColourLookup lookup(changes);
        for (int y = 0; y < s.height(); ++y) {
            std::uint8_t* q = s.row(y);
            std::uint8_t* const end = q + s.stride();
            for (; q != end; q += 3) {
                const Colour c = MakeColour(q[2], q[1], q[0]);
                const Colour* to = lookup.find(c);
                if (!to) continue;
                q[0] = static_cast<std::uint8_t>(Blue(*to));
                q[1] = static_cast<std::uint8_t>(Green(*to));
                q[2] = static_cast<std::uint8_t>(Red(*to));
            }
        }
    }

  private:
    struct Pass {
        Colour from, to;
    };

    // The colours that change and what they become. Pens (red below 256, green and blue 0)
    // are looked up directly; other colours in a small open-addressed table, so that a pixel
    // costs one or two probes however many colours change.
    class ColourLookup {
      public:
        explicit ColourLookup(const std::vector<Pass>& changes) {
            direct_.fill(kNone);
            slots_.fill({kNone, 0});
            for (const Pass& change : changes) {
                if (change.from < direct_.size()) {
                    direct_[change.from] = change.to;
                    continue;
                }
                std::size_t i = Hash(change.from);
                while (slots_[i].from != kNone) i = (i + 1) % slots_.size();
                slots_[i] = change;
            }
        }
        // What colour c becomes, or null if it stays.
        const Colour* find(Colour c) const {
            if (c < direct_.size()) return direct_[c] == kNone ? nullptr : &direct_[c];
            for (std::size_t i = Hash(c);; i = (i + 1) % slots_.size()) {
                if (slots_[i].from == c) return &slots_[i].to;
                if (slots_[i].from == kNone) return nullptr;
            }
        }

      private:
        static constexpr Colour kNone = 0xFFFFFFFF;  // no colour has the top byte set
        // 128 places for at most 64 changing colours (two passes of at most 32 keys): the
        // table is never more than half full, so a probe always ends.
        static std::size_t Hash(Colour c) { return (c * 0x9E3779B1u) >> 25; }
        std::array<Colour, 256> direct_;
        std::array<Pass, 128> slots_;
    };
    Colour run(Colour c) const {
        for (const Pass& pass : passes_)
            if (c == pass.from) c = pass.to;
        return c;
    }
    std::vector<Pass> passes_;
};

Colour PenValue(int k) {
    return MakeColour(k, 0, 0);
}

}  // namespace

void BMP2Indexed(const ConversionState& state, const Picture& p, Picture& s, Slot m) {
    int n;
    if (m == Slot::Source) {
        // Only 16 found colours are kept, so at most pens 0-15 have a key.
        n = std::clamp(state.sourceColourCount - 1, 1, 15);
    } else {
        n = SlotPens(m) - 1;
    }
    PassChain chain;
    // The detour over 32 + k keeps a pen number written for one key from being taken for a
    // later key.
    for (int k = 0; k <= n; ++k) {
        const Colour key = m == Slot::Source ? state.foundColours[static_cast<std::size_t>(k)]
                                             : GetColor(state, k, m);
        chain.add(key, PenValue(32 + k));
    }
    for (int k = 0; k <= n; ++k) chain.add(PenValue(32 + k), PenValue(k));
    chain.apply(p, s);
}

void Indexed2BMP(const ConversionState& state, const Picture& p, Picture& s, Slot m) {
    const int n = SlotPens(m) - 1;
    PassChain chain;
    for (int k = 0; k <= n; ++k) chain.add(PenValue(k), PenValue(32 + k));
    for (int k = 0; k <= n; ++k) chain.add(PenValue(32 + k), GetColor(state, k, m));
    chain.apply(p, s);
}

}  // namespace mozu
