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
#include "media/image_loader.h"
#include "tests/support/pictures.h"
#include "tests/support/scripted_asker.h"

namespace mozu {
namespace {

constexpr Slot kConversionOrder[] = {
    Slot::Mode0,     Slot::Mode1,  Slot::Mode2,      Slot::Overscan0, Slot::Overscan1,
    Slot::Overscan2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsx,    Slot::SgxMsxFree};

// The main window's outer size, which the adjustments of a fresh window use.
constexpr ContrastArea kWindowArea{794, 691};

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
    state.currentSlot = state.sourceSlot = Slot::Source;
    state.sourceColourCount = CountColors(state, state.source);
    state.noPicture = false;
    return state;
}

// The area of a slot that its writer reads: level slots only their thumbnail (the background of
// the mode 1 level picture is overscan 1's).
struct Area {
    int x, y, w, h;
};
std::vector<Area> WriterAreas(const ConversionState& state, Slot slot, bool whole) {
    if (slot == Slot::Level0 && !whole) return {{0, 0, 184, 264}, {184, 0, 48, 96}};
    if (slot == Slot::Level1 && !whole) return {{368, 0, 96, 96}};
    const Picture& p = state.slots[slot];
    return {{0, 0, p.width(), p.height()}};
}

Slot PaletteOfSlot(Slot slot) {
    return slot == Slot::Level0 ? Slot::Overscan0 : slot == Slot::Level1 ? Slot::Overscan1 : slot;
}

// Every pixel of the writer's areas is the colour of one of the slot's pens.
// `whole`: the whole picture, also the part of a level picture that no file holds (white after
// an exact conversion).
::testing::AssertionResult AllPixelsArePens(const ConversionState& state, Slot slot,
                                            bool whole = false) {
    const Slot pal = PaletteOfSlot(slot);
    std::set<Colour> pens;
    for (int k = 0; k < SlotPens(pal); ++k) pens.insert(GetColor(state, k, pal));
    const Picture& p = state.slots[slot];
    for (const Area& a : WriterAreas(state, slot, whole)) {
        if (p.width() < a.x + a.w || p.height() < a.y + a.h)
            return ::testing::AssertionFailure() << "slot " << SlotNumber(slot) << " is too small";
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x)
                if (!pens.contains(p.pixel(x, y)))
                    return ::testing::AssertionFailure()
                           << "slot " << SlotNumber(slot) << " pixel (" << x << ", " << y
                           << ") colour 0x" << std::hex << p.pixel(x, y) << " is no pen";
    }
    return ::testing::AssertionSuccess();
}

void ExpectConvertedSlotsArePens(const ConversionState& state) {
    for (Slot s : {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::Overscan0, Slot::Overscan1,
                   Slot::Overscan2, Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsx, Slot::SgxMsxFree,
                   Slot::Level0, Slot::Level1}) {
        if (state.converted[s] == 1) {
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
    const ConvertOutcome out = ConvertSlotCommand(state, asker, Slot::Mode1, false);
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0],
              "Source picture in supported color depth. Convert without dithering?");
    EXPECT_TRUE(out.converted);
    EXPECT_EQ(out.description, "CPC mode 1\n\r320x200\n\r4 colors");
    EXPECT_EQ(state.slots[Slot::Mode1], state.source);  // same size, same colours
    for (int k = 0; k < 3; ++k)
        EXPECT_LE(Luminance(GetColor(state, k, Slot::Mode1)),
                  Luminance(GetColor(state, k + 1, Slot::Mode1)));
    EXPECT_EQ(state.converted[Slot::Mode1], 1);
    EXPECT_EQ(state.saved[Slot::Mode1], 0);
    EXPECT_EQ(state.currentSlot, Slot::Mode1);
    EXPECT_TRUE(AllPixelsArePens(state, Slot::Mode1));
}

TEST(ConversionCommands, AnsweringNoDithersAsTheDitherPathDoes) {
    const std::vector<Colour> colours = {MakeColour(10, 200, 30), MakeColour(90, 90, 90),
                                         MakeColour(250, 10, 100)};
    ConversionState state = OpenedState(BandPicture(300, 180, colours));
    ConversionState expected = state;
    ScriptedAsker asker(Otherwise::kYes);
    asker.yesNo = {false};
    ConvertSlotCommand(state, asker, Slot::Mode1, false);
    EXPECT_EQ(asker.questions.size(), 1u);

    Picture work = expected.source;
    ResizeBitmap(expected, work, Slot::Mode1);
    DitheringCPCPalette2(expected, work, Slot::Mode1);
    ColourSequence(expected, Slot::Mode1, 3);
    EXPECT_EQ(state.slots[Slot::Mode1], expected.slots[Slot::Mode1]);
    EXPECT_EQ(state.palettes[Slot::Mode1], expected.palettes[Slot::Mode1]);
    EXPECT_TRUE(AllPixelsArePens(state, Slot::Mode1));
}

TEST(ConversionCommands, ManyColoursAreDitheredWithoutAQuestion) {
    ConversionState state = OpenedState(RandomPicture(64, 48, 1));
    ScriptedAsker asker(Otherwise::kYes);
    for (Slot s : kConversionOrder) ConvertSlotCommand(state, asker, s, false);
    EXPECT_TRUE(asker.questions.empty());
    ExpectConvertedSlotsArePens(state);
}

TEST(ConversionCommands, NoPictureMakesBlankPicturesOrNothing) {
    ConversionState state;
    ScriptedAsker asker(Otherwise::kYes);
    for (Slot s : {Slot::SgxCpc, Slot::SgxCpcFree, Slot::SgxMsxFree}) {
        EXPECT_TRUE(ConvertSlotCommand(state, asker, s, false).nothing());
        EXPECT_EQ(state.converted[s], 0);
        EXPECT_TRUE(state.noPicture);
    }
    EXPECT_FALSE(AutobalanceCommand(state));
    EXPECT_FALSE(ContrastCommand(state, 105, kWindowArea));
    EXPECT_FALSE(BrightnessCommand(state, 95));
    EXPECT_FALSE(state.sourceChanged);

    const ConvertOutcome out = ConvertSlotCommand(state, asker, Slot::Mode0, false);
    EXPECT_TRUE(out.blank);
    EXPECT_FALSE(out.description.has_value());  // mode 0 leaves the shown description as it is
    EXPECT_FALSE(state.noPicture);
    EXPECT_EQ(state.slots[Slot::Mode0], Picture(160, 200, MakeColour(255, 255, 255)));
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(state.palettes[Slot::Mode0][static_cast<std::size_t>(k)], k);
    EXPECT_EQ(state.converted[Slot::Mode0], 1);
    EXPECT_EQ(state.currentSlot, Slot::Mode0);

    // The blank picture is kept (the editor draws on it): the command shows it again.
    state.slots[Slot::Mode0].setPixel(3, 3, TableColour(1));
    EXPECT_TRUE(ConvertSlotCommand(state, asker, Slot::Mode0, false).shownOnly);
    EXPECT_EQ(state.slots[Slot::Mode0].pixel(3, 3), TableColour(1));

    // The source stays empty: the other commands still have nothing to work on.
    EXPECT_TRUE(ConvertSlotCommand(state, asker, Slot::SgxCpc, false).nothing());
    const ConvertOutcome mode2 = ConvertSlotCommand(state, asker, Slot::Mode2, false);
    EXPECT_TRUE(mode2.blank);
    EXPECT_EQ(mode2.description, "CPC mode 2\n\r640x200\n\r2 colors");
    EXPECT_EQ(state.palettes[Slot::Mode2][0], 1);
    EXPECT_EQ(state.palettes[Slot::Mode2][1], 8);
    EXPECT_EQ(ConvertSlotCommand(state, asker, Slot::Overscan1, false).description,
              "Overscaned mode 1\n\r368x264\n\r4 colors");
    EXPECT_EQ(state.slots[Slot::Overscan1].width(), 368);
    EXPECT_EQ(state.slots[Slot::SgxMsx].width(), 0);
    EXPECT_EQ(ConvertSlotCommand(state, asker, Slot::SgxMsx, false).description,
              "MSX mode 7\n\r512x212\n\r16 colors");
    EXPECT_EQ(state.slots[Slot::SgxMsx], Picture(512, 212, MakeColour(255, 255, 255)));
    EXPECT_TRUE(asker.questions.empty());
    // Mode 1 overscan's pens (colour indexes 0-3) have no white: its blank picture is pen 0.
    EXPECT_EQ(state.slots[Slot::Overscan1].pixel(0, 0), TableColour(0));
    for (Slot s : {Slot::Mode0, Slot::Mode2, Slot::Overscan1, Slot::SgxMsx})
        EXPECT_TRUE(AllPixelsArePens(state, s));
}

TEST(ConversionCommands, ReconversionIsDecidedPerSlot) {
    ConversionState state = OpenedState(RandomPicture(200, 150, 2));
    ScriptedAsker asker(Otherwise::kYes);
    ASSERT_TRUE(ConvertSlotCommand(state, asker, Slot::Mode0, false).converted);
    const Colour marker = TableColour(3);
    state.slots[Slot::Mode0].setPixel(0, 0, marker);  // an edit the next command must keep
    const ConvertOutcome again = ConvertSlotCommand(state, asker, Slot::Mode0, false);
    EXPECT_TRUE(again.shownOnly);
    EXPECT_EQ(again.description, "CPC mode 0\n\r160x200\n\r16 colors");
    EXPECT_EQ(state.slots[Slot::Mode0].pixel(0, 0), marker);

    ASSERT_TRUE(ConvertSlotCommand(state, asker, Slot::Mode1, false).converted);
    ASSERT_TRUE(BrightnessCommand(state, 105));
    EXPECT_TRUE(state.sourceChanged);
    EXPECT_TRUE(state.stale[Slot::Mode0] && state.stale[Slot::Mode1] && state.stale[Slot::Level0]);

    // Mode 1 converted after the adjustment is kept; mode 0 (stale) is converted anew.
    ASSERT_TRUE(ConvertSlotCommand(state, asker, Slot::Mode1, false).converted);
    state.slots[Slot::Mode1].setPixel(0, 0, marker);
    EXPECT_TRUE(ConvertSlotCommand(state, asker, Slot::Mode1, false).shownOnly);
    EXPECT_EQ(state.slots[Slot::Mode1].pixel(0, 0), marker);
    EXPECT_TRUE(state.sourceChanged);  // kept as the main window's flag
    EXPECT_TRUE(ConvertSlotCommand(state, asker, Slot::Mode0, false).converted);
    EXPECT_FALSE(state.stale[Slot::Mode0]);
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
                ContrastCommand(state, 105, kWindowArea);
                break;
            default:
                ContrastCommand(state, 95, kWindowArea);
                break;
        }
        ASSERT_NE(state.source, BandPicture(320, 200, colours)) << command;
        ConversionState recount = state;
        EXPECT_EQ(state.sourceColourCount, CountColors(recount, state.source));
        EXPECT_EQ(state.foundColours, recount.foundColours);
        // An exact conversion after the adjustment keys the picture by its present colours.
        ScriptedAsker asker(Otherwise::kYes);
        ConvertSlotCommand(state, asker, Slot::Mode1, false);
        ConvertSlotCommand(state, asker, Slot::SgxCpc, false);
        ConvertSlotCommand(state, asker, Slot::SgxCpcFree, false);
        EXPECT_EQ(asker.questions.size(), 3u);
        EXPECT_TRUE(AllPixelsArePens(state, Slot::Mode1)) << command;
        EXPECT_TRUE(AllPixelsArePens(state, Slot::SgxCpc)) << command;
        EXPECT_TRUE(AllPixelsArePens(state, Slot::SgxCpcFree)) << command;
    }
}

TEST(ConversionCommands, AutobalanceRecountsAndMarksSlotsStale) {
    ConversionState state = OpenedState(BandPicture(
        200, 100, {MakeColour(60, 60, 60), MakeColour(100, 100, 100), MakeColour(160, 160, 160)}));
    ScriptedAsker asker(Otherwise::kYes);
    ConvertSlotCommand(state, asker, Slot::SgxCpc, false);
    ASSERT_TRUE(AutobalanceCommand(state));
    ConversionState recount = state;
    EXPECT_EQ(state.sourceColourCount, CountColors(recount, state.source));
    EXPECT_EQ(state.source.pixel(0, 0), MakeColour(0, 0, 0));
    EXPECT_TRUE(state.stale[Slot::SgxCpc]);
    EXPECT_TRUE(ConvertSlotCommand(state, asker, Slot::SgxCpc, false).converted);
}

// The free-size MSX slot's exact path autobalances a copy of a fresh PC picture: its palette ends
// as the colour indexes and its pixels are pens, while the source's count stays what later commands
// see.
TEST(ConversionCommands, Slot11ExactAutobalancesAndKeepsTheSourceCount) {
    const std::vector<Colour> colours = {MakeColour(60, 60, 60), MakeColour(90, 120, 90),
                                         MakeColour(150, 150, 150), MakeColour(180, 100, 40),
                                         MakeColour(200, 200, 200)};
    ConversionState state = OpenedState(BandPicture(250, 120, colours));
    const std::int32_t count = state.sourceColourCount;
    const auto found = state.foundColours;
    ScriptedAsker asker(Otherwise::kYes);
    ASSERT_TRUE(ConvertSlotCommand(state, asker, Slot::SgxMsxFree, false).converted);
    ASSERT_EQ(asker.questions.size(), 1u);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(state.palettes[Slot::SgxMsxFree][static_cast<std::size_t>(k)], k);
    EXPECT_TRUE(AllPixelsArePens(state, Slot::SgxMsxFree));
    EXPECT_EQ(state.sourceColourCount, count);
    EXPECT_EQ(state.foundColours, found);
    EXPECT_EQ(state.slots[Slot::SgxMsxFree].width(), 250);
    EXPECT_EQ(state.slots[Slot::SgxMsxFree].height(), 60);
    EXPECT_EQ(SlotDescription(state, Slot::SgxMsxFree), "MSX mode 7\n\r250x60\n\r16 colors");
    // The balanced copy is darker at its dark end than the source colour's own CPC colour.
    EXPECT_EQ(state.slots[Slot::SgxMsxFree].pixel(0, 0), TableColour(1));
}

TEST(ConversionCommands, ExactPathsOfEverySlotGivePens) {
    const std::vector<Colour> colours = {MakeColour(30, 30, 30), MakeColour(240, 240, 200)};
    ConversionState state = OpenedState(BandPicture(300, 220, colours));
    ScriptedAsker asker(Otherwise::kYes);
    for (Slot s : kConversionOrder) ConvertSlotCommand(state, asker, s, false);
    EXPECT_EQ(asker.questions.size(), 10u);
    ExpectConvertedSlotsArePens(state);
    for (Slot s : {Slot::SgxCpc, Slot::SgxMsx}) EXPECT_EQ(state.palettes[s][0], 0);
    EXPECT_EQ(state.slots[Slot::SgxCpc].pixel(0, 0), TableColour(1));  // darker colour: black
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
    const ConvertOutcome out = ConvertSlotCommand(state, asker, Slot::Overscan0, false);
    ASSERT_EQ(out.levelSlot, Slot::Level0);
    const Picture& level = state.slots[Slot::Level0];
    ASSERT_EQ(level.width(), 232);
    ASSERT_EQ(level.height(), 264);
    for (int y = 0; y < 264; ++y)
        for (int x = 0; x < 184; ++x)
            ASSERT_EQ(level.pixel(x, y), state.slots[Slot::Overscan0].pixel(x, y));
    // Columns 184-231 of lines 0-95: the centre (32, 4)-(128, 196) at half size.
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_EQ(level.pixel(184 + x, y),
                      state.slots[Slot::Overscan0].pixel(32 + 2 * x, 4 + 2 * y));
    for (int y = 96; y < 264; ++y)
        for (int x = 184; x < 232; ++x) ASSERT_EQ(level.pixel(x, y), MakeColour(255, 255, 255));
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(state.palettes[Slot::Level0][static_cast<std::size_t>(k)],
                  state.palettes[Slot::Overscan0][static_cast<std::size_t>(k)]);
    EXPECT_EQ(state.converted[Slot::Level0], 1);
    EXPECT_TRUE(AllPixelsArePens(state, Slot::Level0));
}

TEST(ConversionCommands, LevelPicturesAfterDitheringUseTheOverscanPens) {
    for (unsigned seed : {4u, 5u}) {
        ConversionState state =
            OpenedState(RandomPicture(seed == 4 ? 400 : 90, seed == 4 ? 300 : 250, seed));
        ScriptedAsker asker(Otherwise::kYes);
        ConvertSlotCommand(state, asker, Slot::Overscan0, false);
        ConvertSlotCommand(state, asker, Slot::Overscan1, false);
        EXPECT_EQ(state.slots[Slot::Level0].width(), 232);
        EXPECT_EQ(state.slots[Slot::Level0].height(), 264);
        EXPECT_EQ(state.slots[Slot::Level1].width(), 464);
        EXPECT_EQ(state.slots[Slot::Level1].height(), 264);
        EXPECT_TRUE(AllPixelsArePens(state, Slot::Level0, true));
        EXPECT_TRUE(AllPixelsArePens(state, Slot::Level1, true));
        for (int k = 0; k < 16; ++k) {
            EXPECT_EQ(state.palettes[Slot::Level0][static_cast<std::size_t>(k)],
                      state.palettes[Slot::Overscan0][static_cast<std::size_t>(k)]);
            EXPECT_EQ(state.palettes[Slot::Level1][static_cast<std::size_t>(k)],
                      state.palettes[Slot::Overscan1][static_cast<std::size_t>(k)]);
        }
    }
}

TEST(ConversionCommands, LevelPictureOfAPictureNarrowerThanTheThumbnailArea) {
    // 800 x 100 scales to 184 x 23 for overscan 0: the thumbnail area lies mostly outside it.
    ConversionState state = OpenedState(RandomPicture(800, 100, 6));
    ScriptedAsker asker(Otherwise::kYes);
    ConvertSlotCommand(state, asker, Slot::Overscan0, false);
    EXPECT_EQ(state.slots[Slot::Level0].width(), 232);
    EXPECT_TRUE(AllPixelsArePens(state, Slot::Level0));
}

TEST(DitheringFixedPens, TiesGoToTheLowerPosition) {
    // (128, 128, 0) is 255 away from both red (15) and green (10).
    const Picture olive(4, 1, TableColour(16));
    ConversionState state;
    const std::uint8_t redFirst[] = {15, 10};
    DitheringFixedPens(state, olive, Slot::Level0, redFirst);
    EXPECT_EQ(state.slots[Slot::Level0].pixel(0, 0), TableColour(15));
    const std::uint8_t greenFirst[] = {10, 15};
    DitheringFixedPens(state, olive, Slot::Level0, greenFirst);
    EXPECT_EQ(state.slots[Slot::Level0].pixel(0, 0), TableColour(10));
    EXPECT_EQ(state.palettes[Slot::Level0][0], 10);
    EXPECT_EQ(state.palettes[Slot::Level0][1], 15);
    EXPECT_EQ(state.palettes[Slot::Level0][2], 0);
}

TEST(ConversionCommands, VideoLoadedCountsTheWorkingCopy) {
    ConversionState state = OpenedState(RandomPicture(320, 200, 7));
    state.sourceColourCount = 2;  // stale count from the first frame
    ScriptedAsker asker(Otherwise::kYes);
    ConvertSlotCommand(state, asker, Slot::Mode1, true);
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_GT(state.sourceColourCount, 4);
}

TEST(ConversionCommands, SamplePhotoEverySlotGivesPens) {
    Picture photo;
    LoadJpeg(MOZU_SOURCE_DIR "/samples/sample.jpg", photo);
    ConversionState state = OpenedState(std::move(photo));
    ScriptedAsker asker(Otherwise::kYes);
    for (Slot s : kConversionOrder) ConvertSlotCommand(state, asker, s, false);
    ExpectConvertedSlotsArePens(state);
    EXPECT_EQ(state.slots[Slot::SgxCpcFree].width(), 640);
    EXPECT_EQ(state.slots[Slot::SgxCpcFree].height(), 400);
    EXPECT_EQ(state.slots[Slot::SgxMsxFree].height(), 200);
    ASSERT_TRUE(AutobalanceCommand(state));
    for (Slot s : kConversionOrder)
        EXPECT_TRUE(ConvertSlotCommand(state, asker, s, false).converted);
    ExpectConvertedSlotsArePens(state);
}

TEST(ConversionCommands, InvalidSlotIsRejected) {
    ConversionState state = OpenedState(RandomPicture(8, 8, 8));
    ScriptedAsker asker(Otherwise::kYes);
    EXPECT_THROW(ConvertSlotCommand(state, asker, Slot::Unused3, false), std::invalid_argument);
    EXPECT_THROW(ConvertSlotCommand(state, asker, Slot::Level0, false), std::invalid_argument);
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
        DitheringCPCPalette2(popular, picture, Slot::Level0);
        ConversionState fixed;
        DitheringFixedPens(
            fixed, picture, Slot::Level0,
            std::span<const std::uint8_t>(popular.palettes[Slot::Level0].data(), 16));
        EXPECT_EQ(fixed.slots[Slot::Level0], popular.slots[Slot::Level0]);
        EXPECT_EQ(fixed.palettes[Slot::Level0], popular.palettes[Slot::Level0]);
    }
}

}  // namespace
}  // namespace mozu
