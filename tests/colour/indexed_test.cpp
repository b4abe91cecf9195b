#include <gtest/gtest.h>

#include "colour/colour_ops.h"
#include "colour/indexed.h"
#include "colour/reference.h"
#include "tests/support/pictures.h"

namespace mozu {
namespace {

TEST(Indexed, EqualKeysGiveTheLowerPen) {
    ConversionState state;
    state.palettes[Slot::Mode1] = {};
    state.palettes[Slot::Mode1][0] = 8;
    state.palettes[Slot::Mode1][1] = 15;
    state.palettes[Slot::Mode1][2] = 15;  // the same colour as pen 1
    state.palettes[Slot::Mode1][3] = 1;
    Picture p(3, 1);
    p.setPixel(0, 0, MakeColour(255, 0, 0));
    p.setPixel(1, 0, MakeColour(255, 255, 255));
    p.setPixel(2, 0, MakeColour(0, 0, 0));
    Picture s;
    BMP2Indexed(state, p, s, Slot::Mode1);
    EXPECT_EQ(s.pixel(0, 0), MakeColour(1, 0, 0));
    EXPECT_EQ(s.pixel(1, 0), MakeColour(0, 0, 0));
    EXPECT_EQ(s.pixel(2, 0), MakeColour(3, 0, 0));
}

TEST(Indexed, RoundTripReproducesAPictureInThePalette) {
    ConversionState state;
    for (Slot slot : {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::SgxCpc, Slot::SgxMsx}) {
        const int pens =
            slot == Slot::Mode2 ? 2 : (slot == Slot::Mode1 || slot == Slot::SgxCpc ? 4 : 16);
        for (int k = 0; k < pens; ++k)
            state.palettes[slot][static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>((k * 7 + SlotNumber(slot)) % 27);
        Picture p(37, 11);
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y, GetColor(state, (x * 3 + y) % pens, slot));
        Picture s;
        BMP2Indexed(state, p, s, slot);
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                ASSERT_EQ(s.pixel(x, y), MakeColour((x * 3 + y) % pens, 0, 0));
        Indexed2BMP(state, s, s, slot);  // in place
        EXPECT_EQ(s, p) << SlotNumber(slot);
    }
}

TEST(Indexed, FoundColoursMapToPensAndCountsBeyondSixteenStopAtPen15) {
    ConversionState state;
    state.sourceColourCount = 40;
    for (int k = 0; k < 16; ++k)
        state.foundColours[static_cast<std::size_t>(k)] = MakeColour(k * 10, 1, 2);
    Picture p(16, 1);
    for (int k = 0; k < 16; ++k) p.setPixel(k, 0, MakeColour(k * 10, 1, 2));
    BMP2Indexed(state, p, p, Slot::Source);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(p.pixel(k, 0), MakeColour(k, 0, 0));

    // A count of 1 still maps two keys.
    state.sourceColourCount = 1;
    Picture q(2, 1);
    q.setPixel(0, 0, MakeColour(0, 1, 2));
    q.setPixel(1, 0, MakeColour(10, 1, 2));
    BMP2Indexed(state, q, q, Slot::Source);
    EXPECT_EQ(q.pixel(1, 0), MakeColour(1, 0, 0));
}

TEST(Indexed, MatchesTheLiteralPassesIncludingTheDetourValues) {
    ConversionState state;
    // Found colours that collide with the detour values 32 + k and with pen numbers.
    state.sourceColourCount = 6;
    const Colour keys[6] = {MakeColour(33, 0, 0),    MakeColour(32, 0, 0), MakeColour(1, 0, 0),
                            MakeColour(200, 10, 10), MakeColour(33, 0, 0), MakeColour(37, 0, 0)};
    for (int k = 0; k < 6; ++k) state.foundColours[static_cast<std::size_t>(k)] = keys[k];
    Picture p = test::RandomPicture(40, 30, 3, 4);
    const Colour extra[] = {MakeColour(33, 0, 0), MakeColour(32, 0, 0), MakeColour(1, 0, 0),
                            MakeColour(34, 0, 0), MakeColour(37, 0, 0), MakeColour(200, 10, 10),
                            MakeColour(5, 0, 0)};
    for (int i = 0; i < 7; ++i)
        for (int x = 0; x < 40; ++x) p.setPixel(x, i, extra[i]);
    Picture s;
    BMP2Indexed(state, p, s, Slot::Source);
    EXPECT_EQ(s, reference::BMP2Indexed(p, keys, 5));

    for (Slot slot : {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::SgxCpc}) {
        for (int k = 0; k < 16; ++k)
            state.palettes[slot][static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>((k * 5 + 3) % 27);
        Picture indexPicture = test::RandomPicture(30, 20, 4, 20);
        for (int x = 0; x < 30; ++x) {
            indexPicture.setPixel(x, 0, MakeColour(x % 18, 0, 0));
            indexPicture.setPixel(x, 1, MakeColour(30 + x % 20, 0, 0));
        }
        Picture t;
        Indexed2BMP(state, indexPicture, t, slot);
        const int n = slot == Slot::Mode2 ? 1 : (slot == Slot::Mode0 ? 15 : 3);
        EXPECT_EQ(t, reference::Indexed2BMP(indexPicture, state, slot, n)) << SlotNumber(slot);
    }
}

}  // namespace
}  // namespace mozu
