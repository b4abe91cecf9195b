#include <gtest/gtest.h>

#include <vector>

#include "editing/font_choice.h"

namespace mozu {
namespace {

const std::vector<Colour> kFourColours = {MakeColour(0, 0, 0), MakeColour(128, 0, 0),
                                          MakeColour(255, 255, 0), MakeColour(255, 255, 255)};

TEST(FontChoice, SizesRunFrom0To48InStepsOf2) {
    const std::vector<int> sizes = FontSizes();
    ASSERT_EQ(sizes.size(), 25u);
    EXPECT_EQ(sizes.front(), 0);
    EXPECT_EQ(sizes[1], 2);
    EXPECT_EQ(sizes.back(), 48);
}

TEST(FontChoice, AThumbLeftWhereAClickPutItKeepsTheSameEntry) {
    for (int entries : {2, 4, 16, 25, 60}) {
        for (int track : {60, 97, 200}) {
            for (int index = 0; index < entries; ++index) {
                const int offset = ThumbOffsetForIndex(index, entries, track);
                EXPECT_EQ(IndexForThumbOffset(offset, track, entries), index)
                    << entries << " entries, track " << track;
            }
            EXPECT_EQ(IndexForThumbOffset(-30, track, entries), 0);
            EXPECT_EQ(IndexForThumbOffset(track, track, entries), entries - 1);
            EXPECT_EQ(IndexForThumbOffset(track + 50, track, entries), entries - 1);
        }
    }
    // A thumb between two entries' places selects the upper one.
    EXPECT_EQ(ThumbOffsetForIndex(5, 25, 100), 20);
    EXPECT_EQ(ThumbOffsetForIndex(6, 25, 100), 24);
    EXPECT_EQ(IndexForThumbOffset(23, 100, 25), 5);
}

TEST(FontChoice, ListsShowAThumbOnlyWhenTheirEntriesOverflow) {
    EXPECT_FALSE(ListNeedsThumb(2, 13, 100));  // a 2-colour slot's colour list
    EXPECT_TRUE(ListNeedsThumb(16, 13, 100));
    EXPECT_FALSE(ListNeedsThumb(25, 12, 300));
    EXPECT_TRUE(ListNeedsThumb(25, 12, 299));
}

TEST(FontChoice, OpensOnThePenAndFillColoursOfThisSlot) {
    FontChoice choice;
    // Left over from a 16-colour slot: indexes this 4-colour palette does not have.
    choice.textColour = 12;
    choice.shadowColour = 9;
    choice.family = "Fixed";
    choice.size = 16;
    StartFontChoice(choice, kFourColours, kFourColours[2], kFourColours[1]);
    EXPECT_EQ(choice.textColour, 2);
    EXPECT_EQ(choice.shadowColour, 1);
    EXPECT_EQ(choice.family, "Fixed");  // the font stays as last chosen
    EXPECT_EQ(choice.size, 16);
    // A pen colour outside the palette (never made by the editor) falls back to the first.
    StartFontChoice(choice, kFourColours, MakeColour(1, 2, 3), kFourColours[3]);
    EXPECT_EQ(choice.textColour, 0);
    EXPECT_EQ(choice.shadowColour, 3);
}

TEST(FontChoice, AcceptChangesTheFillColourOnlyWithTheShadowOn) {
    FontChoice choice;
    choice.textColour = 3;
    choice.shadowColour = 1;
    const Colour fill = kFourColours[0];
    AcceptedFontColours accepted = AcceptFontColours(choice, kFourColours, fill);
    EXPECT_EQ(accepted.text, kFourColours[3]);
    EXPECT_EQ(accepted.fill, fill);
    choice.shadow = true;
    accepted = AcceptFontColours(choice, kFourColours, fill);
    EXPECT_EQ(accepted.text, kFourColours[3]);
    EXPECT_EQ(accepted.fill, kFourColours[1]);
}

}  // namespace
}  // namespace mozu
