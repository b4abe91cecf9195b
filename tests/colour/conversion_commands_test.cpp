// The conversion commands: the exact path and its question, dithering, blank pictures, per-slot
// reconversion, the level pictures, the adjustments, and that every pixel of every converted
// slot is a pen of its palette.

#include "colour/conversion_commands.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "colour/colour_ops.h"
#include "colour/count_colors.h"
#include "colour/dithering.h"
#include "colour/dithering_fixed_pens.h"
#include "colour/level_picture.h"
#include "colour/resize.h"
#include "colour/slot_descriptions.h"
#include "colour/slot_geometry.h"
#include "platform/media/image_loader.h"
#include "tests/support/pictures.h"
#include "tests/support/scripted_asker.h"

namespace mozu {
namespace {

constexpr int kConversionOrder[] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 11};

using test::Otherwise;
using test::RandomPicture;
using test::ScriptedAsker;

Colour TableColour(int index) {
    return kDefaultColourTable[static_cast<std::size_t>(index)];
}

// Vertical bands of the given colours.
Picture BandPicture(int w, int h, const std::vector<Colour>& colours) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y,
                       colours[static_cast<std::size_t>(x * static_cast<int>(colours.size()) / w)]);
    return p;
}

// A state as opening a PC picture leaves it.
ConversionState OpenedState(Picture picture) {
    ConversionState state;
    state.source = std::move(picture);
    state.currentSlot = state.sourceSlot = kSourceSlot;
    state.sourceColourCount = CountColors(state, state.source);
    state.noPicture = false;
    return state;
}

// The area of a slot that its writer reads: level slots only their thumbnail (the background of
// slot 21 is slot 5's).
struct Area {
    int x, y, w, h;
};
std::vector<Area> WriterAreas(const ConversionState& state, int slot, bool whole) {
    if (slot == 20 && !whole) return {{0, 0, 184, 264}, {184, 0, 48, 96}};
    if (slot == 21 && !whole) return {{368, 0, 96, 96}};
    const Picture& p = state.slots[static_cast<std::size_t>(slot)];
    return {{0, 0, p.width(), p.height()}};
}

int PaletteOfSlot(int slot) {
    return slot == 20 ? 4 : slot == 21 ? 5 : slot;
}

// Every pixel of the writer's areas is the colour of one of the slot's pens.
// `whole`: the whole picture, also the part of a level picture that no file holds (white after
// an exact conversion).
::testing::AssertionResult AllPixelsArePens(const ConversionState& state, int slot,
                                            bool whole = false) {
    const int pal = PaletteOfSlot(slot);
    std::set<Colour> pens;
    for (int k = 0; k < SlotPens(pal); ++k) pens.insert(GetColor(state, k, pal));
    const Picture& p = state.slots[static_cast<std::size_t>(slot)];
    for (const Area& a : WriterAreas(state, slot, whole)) {
        if (p.width() < a.x + a.w || p.height() < a.y + a.h)
            return ::testing::AssertionFailure() << "slot " << slot << " is too small";
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x)
                if (!pens.contains(p.pixel(x, y)))
                    return ::testing::AssertionFailure()
                           << "slot " << slot << " pixel (" << x << ", " << y << ") colour 0x"
                           << std::hex << p.pixel(x, y) << " is no pen";
    }
    return ::testing::AssertionSuccess();
}

void ExpectConvertedSlotsArePens(const ConversionState& state) {
    for (int s : {0, 1, 2, 4, 5, 6, 8, 9, 10, 11, 20, 21}) {
        if (state.converted[static_cast<std::size_t>(s)] == 1) {
            EXPECT_TRUE(AllPixelsArePens(state, s));
        }
    }
}

TEST(ConversionCommands, ExactColoursKeepTheirColoursAndSortPens) {
    const std::vector<Colour> colours = {TableColour(8), TableColour(15), TableColour(1),
                                         TableColour(9)};
    ConversionState state = OpenedState(BandPicture(320, 200, colours));
    ScriptedAsker asker(Otherwise::kYes);
    asker.yesNo = {true};
    const ConvertOutcome out = ConvertSlotCommand(state, asker, 1, false);
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0],
              "Source picture in supported color depth. Convert without dithering?");
    EXPECT_TRUE(out.converted);
    EXPECT_EQ(out.label3, "CPC mode 1\n\r320x200\n\r4 colors");
    EXPECT_EQ(state.slots[1], state.source);  // same size, same colours
    for (int k = 0; k < 3; ++k)
        EXPECT_LE(Luminance(GetColor(state, k, 1)), Luminance(GetColor(state, k + 1, 1)));
    EXPECT_EQ(state.converted[1], 1);
    EXPECT_EQ(state.saved[1], 0);
    EXPECT_EQ(state.currentSlot, 1);
    EXPECT_TRUE(AllPixelsArePens(state, 1));
}

TEST(ConversionCommands, AnsweringNoDithersAsTheDitherPathDoes) {
    const std::vector<Colour> colours = {MakeColour(10, 200, 30), MakeColour(90, 90, 90),
                                         MakeColour(250, 10, 100)};
    ConversionState state = OpenedState(BandPicture(300, 180, colours));
    ConversionState expected = state;
    ScriptedAsker asker(Otherwise::kYes);
    asker.yesNo = {false};
    ConvertSlotCommand(state, asker, 1, false);
    EXPECT_EQ(asker.questions.size(), 1u);

    Picture work = expected.source;
    ResizeBitmap(expected, work, 1);
    DitheringCPCPalette2(expected, work, 1);
    ColourSequence(expected, 1, 3);
    EXPECT_EQ(state.slots[1], expected.slots[1]);
    EXPECT_EQ(state.palettes[1], expected.palettes[1]);
    EXPECT_TRUE(AllPixelsArePens(state, 1));
}

TEST(ConversionCommands, ManyColoursAreDitheredWithoutAQuestion) {
    ConversionState state = OpenedState(RandomPicture(64, 48, 1));
    ScriptedAsker asker(Otherwise::kYes);
    for (int s : kConversionOrder) ConvertSlotCommand(state, asker, s, false);
    EXPECT_TRUE(asker.questions.empty());
    ExpectConvertedSlotsArePens(state);
}

TEST(ConversionCommands, NoPictureMakesBlankPicturesOrNothing) {
    ConversionState state;
    ScriptedAsker asker(Otherwise::kYes);
    for (int s : {8, 9, 11}) {
        EXPECT_TRUE(ConvertSlotCommand(state, asker, s, false).nothing());
        EXPECT_EQ(state.converted[static_cast<std::size_t>(s)], 0);
        EXPECT_TRUE(state.noPicture);
    }
    EXPECT_FALSE(AutobalanceCommand(state));
    EXPECT_FALSE(ContrastCommand(state, 105));
    EXPECT_FALSE(BrightnessCommand(state, 95));
    EXPECT_FALSE(state.sourceChanged);

    const ConvertOutcome out = ConvertSlotCommand(state, asker, 0, false);
    EXPECT_TRUE(out.blank);
    EXPECT_FALSE(out.label3.has_value());  // mode 0 leaves Label3 as it is
    EXPECT_FALSE(state.noPicture);
    EXPECT_EQ(state.slots[0], Picture(160, 200, MakeColour(255, 255, 255)));
    for (int k = 0; k < 16; ++k) EXPECT_EQ(state.palettes[0][static_cast<std::size_t>(k)], k);
    EXPECT_EQ(state.converted[0], 1);
    EXPECT_EQ(state.currentSlot, 0);

    // The blank picture is kept (the editor draws on it): the command shows it again.
    state.slots[0].setPixel(3, 3, TableColour(1));
    EXPECT_TRUE(ConvertSlotCommand(state, asker, 0, false).shownOnly);
    EXPECT_EQ(state.slots[0].pixel(3, 3), TableColour(1));

    // The source stays empty: the other commands still have nothing to work on.
    EXPECT_TRUE(ConvertSlotCommand(state, asker, 8, false).nothing());
    const ConvertOutcome mode2 = ConvertSlotCommand(state, asker, 2, false);
    EXPECT_TRUE(mode2.blank);
    EXPECT_EQ(mode2.label3, "CPC mode 2\n\r640x200\n\r2 colors");
    EXPECT_EQ(state.palettes[2][0], 1);
    EXPECT_EQ(state.palettes[2][1], 8);
    EXPECT_EQ(ConvertSlotCommand(state, asker, 5, false).label3,
              "Overscaned mode 1\n\r368x264\n\r4 colors");
    EXPECT_EQ(state.slots[5].width(), 368);
    EXPECT_EQ(state.slots[10].width(), 0);
    EXPECT_EQ(ConvertSlotCommand(state, asker, 10, false).label3,
              "MSX mode 7\n\r512x212\n\r16 colors");
    EXPECT_EQ(state.slots[10], Picture(512, 212, MakeColour(255, 255, 255)));
    EXPECT_TRUE(asker.questions.empty());
    // Mode 1 overscan's pens (colour indexes 0-3) have no white: its blank picture is pen 0.
    EXPECT_EQ(state.slots[5].pixel(0, 0), TableColour(0));
    for (int s : {0, 2, 5, 10}) EXPECT_TRUE(AllPixelsArePens(state, s));
}

TEST(ConversionCommands, ReconversionIsDecidedPerSlot) {
    ConversionState state = OpenedState(RandomPicture(200, 150, 2));
    ScriptedAsker asker(Otherwise::kYes);
    ASSERT_TRUE(ConvertSlotCommand(state, asker, 0, false).converted);
    const Colour marker = TableColour(3);
    state.slots[0].setPixel(0, 0, marker);  // an edit the next command must keep
    const ConvertOutcome again = ConvertSlotCommand(state, asker, 0, false);
    EXPECT_TRUE(again.shownOnly);
    EXPECT_EQ(again.label3, "CPC mode 0\n\r160x200\n\r16 colors");
    EXPECT_EQ(state.slots[0].pixel(0, 0), marker);

    ASSERT_TRUE(ConvertSlotCommand(state, asker, 1, false).converted);
    ASSERT_TRUE(BrightnessCommand(state, 105));
    EXPECT_TRUE(state.sourceChanged);
    EXPECT_TRUE(state.stale[0] && state.stale[1] && state.stale[20]);

    // Slot 1 converted after the adjustment is kept; slot 0 (stale) is converted anew.
    ASSERT_TRUE(ConvertSlotCommand(state, asker, 1, false).converted);
    state.slots[1].setPixel(0, 0, marker);
    EXPECT_TRUE(ConvertSlotCommand(state, asker, 1, false).shownOnly);
    EXPECT_EQ(state.slots[1].pixel(0, 0), marker);
    EXPECT_TRUE(state.sourceChanged);  // kept as the main window's flag
    EXPECT_TRUE(ConvertSlotCommand(state, asker, 0, false).converted);
    EXPECT_FALSE(state.stale[0]);
}

TEST(ConversionCommands, AdjustmentsRecountTheSourceColours) {
    const std::vector<Colour> colours = {MakeColour(40, 40, 40), MakeColour(100, 150, 200),
                                         MakeColour(200, 60, 60), MakeColour(120, 120, 0)};
    for (int command = 0; command < 4; ++command) {
        ConversionState state = OpenedState(BandPicture(320, 200, colours));
        switch (command) {
            case 0:
                BrightnessCommand(state, 105);
                break;
            case 1:
                BrightnessCommand(state, 95);
                break;
            case 2:
                ContrastCommand(state, 105);
                break;
            default:
                ContrastCommand(state, 95);
                break;
        }
        ASSERT_NE(state.source, BandPicture(320, 200, colours)) << command;
        ConversionState recount = state;
        EXPECT_EQ(state.sourceColourCount, CountColors(recount, state.source));
        EXPECT_EQ(state.foundColours, recount.foundColours);
        // An exact conversion after the adjustment keys the picture by its present colours.
        ScriptedAsker asker(Otherwise::kYes);
        ConvertSlotCommand(state, asker, 1, false);
        ConvertSlotCommand(state, asker, 8, false);
        ConvertSlotCommand(state, asker, 9, false);
        EXPECT_EQ(asker.questions.size(), 3u);
        EXPECT_TRUE(AllPixelsArePens(state, 1)) << command;
        EXPECT_TRUE(AllPixelsArePens(state, 8)) << command;
        EXPECT_TRUE(AllPixelsArePens(state, 9)) << command;
    }
}

TEST(ConversionCommands, AutobalanceRecountsAndMarksSlotsStale) {
    ConversionState state = OpenedState(BandPicture(
        200, 100, {MakeColour(60, 60, 60), MakeColour(100, 100, 100), MakeColour(160, 160, 160)}));
    ScriptedAsker asker(Otherwise::kYes);
    ConvertSlotCommand(state, asker, 8, false);
    ASSERT_TRUE(AutobalanceCommand(state));
    ConversionState recount = state;
    EXPECT_EQ(state.sourceColourCount, CountColors(recount, state.source));
    EXPECT_EQ(state.source.pixel(0, 0), MakeColour(0, 0, 0));
    EXPECT_TRUE(state.stale[8]);
    EXPECT_TRUE(ConvertSlotCommand(state, asker, 8, false).converted);
}

// Slot 11's exact path autobalances a copy of a fresh PC picture: its palette ends as the
// colour indexes and its pixels are pens, while the source's count stays what later commands see.
TEST(ConversionCommands, Slot11ExactAutobalancesAndKeepsTheSourceCount) {
    const std::vector<Colour> colours = {MakeColour(60, 60, 60), MakeColour(90, 120, 90),
                                         MakeColour(150, 150, 150), MakeColour(180, 100, 40),
                                         MakeColour(200, 200, 200)};
    ConversionState state = OpenedState(BandPicture(250, 120, colours));
    const std::int32_t count = state.sourceColourCount;
    const auto found = state.foundColours;
    ScriptedAsker asker(Otherwise::kYes);
    ASSERT_TRUE(ConvertSlotCommand(state, asker, 11, false).converted);
    ASSERT_EQ(asker.questions.size(), 1u);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(state.palettes[11][static_cast<std::size_t>(k)], k);
    EXPECT_TRUE(AllPixelsArePens(state, 11));
    EXPECT_EQ(state.sourceColourCount, count);
    EXPECT_EQ(state.foundColours, found);
    EXPECT_EQ(state.slots[11].width(), 250);
    EXPECT_EQ(state.slots[11].height(), 60);
    EXPECT_EQ(SlotDescription(state, 11), "MSX mode 7\n\r250x60\n\r16 colors");
    // The balanced copy is darker at its dark end than the source colour's own CPC colour.
    EXPECT_EQ(state.slots[11].pixel(0, 0), TableColour(1));
}

TEST(ConversionCommands, ExactPathsOfEverySlotGivePens) {
    const std::vector<Colour> colours = {MakeColour(30, 30, 30), MakeColour(240, 240, 200)};
    ConversionState state = OpenedState(BandPicture(300, 220, colours));
    ScriptedAsker asker(Otherwise::kYes);
    for (int s : kConversionOrder) ConvertSlotCommand(state, asker, s, false);
    EXPECT_EQ(asker.questions.size(), 10u);
    ExpectConvertedSlotsArePens(state);
    for (int s : {8, 10}) EXPECT_EQ(state.palettes[static_cast<std::size_t>(s)][0], 0);
    EXPECT_EQ(state.slots[8].pixel(0, 0), TableColour(1));  // darker colour: black
}

TEST(ConversionCommands, LevelPictureAfterExactConversion) {
    ConversionState state = OpenedState(RandomPicture(184, 264, 3));
    // Few colours: use a 16-colour version of the random picture.
    for (int y = 0; y < 264; ++y)
        for (int x = 0; x < 184; ++x)
            state.source.setPixel(x, y,
                                  TableColour(static_cast<int>(state.source.pixel(x, y) % 16)));
    state.sourceColourCount = CountColors(state, state.source);
    ScriptedAsker asker(Otherwise::kYes);
    const ConvertOutcome out = ConvertSlotCommand(state, asker, 4, false);
    ASSERT_EQ(out.levelSlot, 20);
    const Picture& level = state.slots[20];
    ASSERT_EQ(level.width(), 232);
    ASSERT_EQ(level.height(), 264);
    for (int y = 0; y < 264; ++y)
        for (int x = 0; x < 184; ++x) ASSERT_EQ(level.pixel(x, y), state.slots[4].pixel(x, y));
    // Columns 184-231 of lines 0-95: the centre (32, 4)-(128, 196) at half size.
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_EQ(level.pixel(184 + x, y), state.slots[4].pixel(32 + 2 * x, 4 + 2 * y));
    for (int y = 96; y < 264; ++y)
        for (int x = 184; x < 232; ++x) ASSERT_EQ(level.pixel(x, y), MakeColour(255, 255, 255));
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(state.palettes[20][static_cast<std::size_t>(k)],
                  state.palettes[4][static_cast<std::size_t>(k)]);
    EXPECT_EQ(state.converted[20], 1);
    EXPECT_TRUE(AllPixelsArePens(state, 20));
}

TEST(ConversionCommands, LevelPicturesAfterDitheringUseTheOverscanPens) {
    for (unsigned seed : {4u, 5u}) {
        ConversionState state =
            OpenedState(RandomPicture(seed == 4 ? 400 : 90, seed == 4 ? 300 : 250, seed));
        ScriptedAsker asker(Otherwise::kYes);
        ConvertSlotCommand(state, asker, 4, false);
        ConvertSlotCommand(state, asker, 5, false);
        EXPECT_EQ(state.slots[20].width(), 232);
        EXPECT_EQ(state.slots[20].height(), 264);
        EXPECT_EQ(state.slots[21].width(), 464);
        EXPECT_EQ(state.slots[21].height(), 264);
        EXPECT_TRUE(AllPixelsArePens(state, 20, true));
        EXPECT_TRUE(AllPixelsArePens(state, 21, true));
        for (int k = 0; k < 16; ++k) {
            EXPECT_EQ(state.palettes[20][static_cast<std::size_t>(k)],
                      state.palettes[4][static_cast<std::size_t>(k)]);
            EXPECT_EQ(state.palettes[21][static_cast<std::size_t>(k)],
                      state.palettes[5][static_cast<std::size_t>(k)]);
        }
    }
}

TEST(ConversionCommands, LevelPictureOfAPictureNarrowerThanTheThumbnailArea) {
    // 800 x 100 scales to 184 x 23 for slot 4: the thumbnail area lies mostly outside it.
    ConversionState state = OpenedState(RandomPicture(800, 100, 6));
    ScriptedAsker asker(Otherwise::kYes);
    ConvertSlotCommand(state, asker, 4, false);
    EXPECT_EQ(state.slots[20].width(), 232);
    EXPECT_TRUE(AllPixelsArePens(state, 20));
}

TEST(DitheringFixedPens, TiesGoToTheLowerPosition) {
    // (128, 128, 0) is 255 away from both red (15) and green (10).
    const Picture olive(4, 1, TableColour(16));
    ConversionState state;
    const std::uint8_t redFirst[] = {15, 10};
    DitheringFixedPens(state, olive, 20, redFirst);
    EXPECT_EQ(state.slots[20].pixel(0, 0), TableColour(15));
    const std::uint8_t greenFirst[] = {10, 15};
    DitheringFixedPens(state, olive, 20, greenFirst);
    EXPECT_EQ(state.slots[20].pixel(0, 0), TableColour(10));
    EXPECT_EQ(state.palettes[20][0], 10);
    EXPECT_EQ(state.palettes[20][1], 15);
    EXPECT_EQ(state.palettes[20][2], 0);
}

TEST(ConversionCommands, VideoLoadedCountsTheWorkingCopy) {
    ConversionState state = OpenedState(RandomPicture(320, 200, 7));
    state.sourceColourCount = 2;  // stale count from the first frame
    ScriptedAsker asker(Otherwise::kYes);
    ConvertSlotCommand(state, asker, 1, true);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_GT(state.sourceColourCount, 4);
}

TEST(ConversionCommands, SamplePhotoEverySlotGivesPens) {
    Picture photo;
    JPEGtoBMP(MOZU_SOURCE_DIR "/samples/sample.jpg", photo);
    ConversionState state = OpenedState(std::move(photo));
    ScriptedAsker asker(Otherwise::kYes);
    for (int s : kConversionOrder) ConvertSlotCommand(state, asker, s, false);
    ExpectConvertedSlotsArePens(state);
    EXPECT_EQ(state.slots[9].width(), 640);
    EXPECT_EQ(state.slots[9].height(), 400);
    EXPECT_EQ(state.slots[11].height(), 200);
    ASSERT_TRUE(AutobalanceCommand(state));
    for (int s : kConversionOrder)
        EXPECT_TRUE(ConvertSlotCommand(state, asker, s, false).converted);
    ExpectConvertedSlotsArePens(state);
}

TEST(ConversionCommands, InvalidSlotIsRejected) {
    ConversionState state = OpenedState(RandomPicture(8, 8, 8));
    ScriptedAsker asker(Otherwise::kYes);
    EXPECT_THROW(ConvertSlotCommand(state, asker, 3, false), std::invalid_argument);
    EXPECT_THROW(ConvertSlotCommand(state, asker, 20, false), std::invalid_argument);
}

}  // namespace
}  // namespace mozu

namespace mozu {
namespace {

// Given the popularity order as pens, the fixed-pen ditherer is the popularity ditherer.
TEST(DitheringFixedPens, MatchesPopularityDitheringWithItsOwnOrder) {
    for (unsigned seed : {11u, 12u}) {
        const Picture picture = RandomPicture(seed == 11 ? 232 : 97, seed == 11 ? 264 : 61, seed);
        ConversionState popular;
        DitheringCPCPalette2(popular, picture, 20);
        ConversionState fixed;
        DitheringFixedPens(fixed, picture, 20,
                           std::span<const std::uint8_t>(popular.palettes[20].data(), 16));
        EXPECT_EQ(fixed.slots[20], popular.slots[20]);
        EXPECT_EQ(fixed.palettes[20], popular.palettes[20]);
    }
}

}  // namespace
}  // namespace mozu
