// The slot names and their numbers. The numbers are a slot's position in the save selection
// and the file types that name the slot a file is read into, so they never change.
#include "colour/slot.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace mozu {
namespace {

TEST(Slot, NamesKeepTheirNumbers) {
    const std::pair<Slot, int> numbers[] = {
        {Slot::Mode0, 0},      {Slot::Mode1, 1},        {Slot::Mode2, 2},
        {Slot::Unused3, 3},    {Slot::Overscan0, 4},    {Slot::Overscan1, 5},
        {Slot::Overscan2, 6},  {Slot::Unused7, 7},      {Slot::SgxCpc, 8},
        {Slot::SgxCpcFree, 9}, {Slot::SgxMsx, 10},      {Slot::SgxMsxFree, 11},
        {Slot::Unused12, 12},  {Slot::Video4, 13},      {Slot::Video4Wide, 14},
        {Slot::Video16, 15},   {Slot::Video16Wide, 16}, {Slot::Unused17, 17},
        {Slot::Unused18, 18},  {Slot::Unused19, 19},    {Slot::Level0, 20},
        {Slot::Level1, 21},    {Slot::Unused22, 22},    {Slot::Source, 255}};
    for (const auto& [slot, number] : numbers) {
        EXPECT_EQ(SlotNumber(slot), number);
        EXPECT_EQ(SlotFromNumber(number), slot) << number;
        if (slot != Slot::Source) {
            EXPECT_EQ(SlotIndex(slot), static_cast<std::size_t>(number));
        }
    }
    EXPECT_EQ(kSlotCount, 23);
}

TEST(Slot, ScreenAndOverscanSlotsOfEachMode) {
    EXPECT_EQ(ScreenSlot(0), Slot::Mode0);
    EXPECT_EQ(ScreenSlot(1), Slot::Mode1);
    EXPECT_EQ(ScreenSlot(2), Slot::Mode2);
    EXPECT_EQ(OverscanSlot(0), Slot::Overscan0);
    EXPECT_EQ(OverscanSlot(1), Slot::Overscan1);
    EXPECT_EQ(OverscanSlot(2), Slot::Overscan2);
}

TEST(Slot, SlotArrayHoldsOneValuePerSlotByNumber) {
    SlotArray<int> values{};
    values[Slot::Level1] = 7;
    values[Slot::Mode0] = 3;
    EXPECT_EQ(values.at(21), 7);
    EXPECT_EQ(values.at(0), 3);
    int sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) sum += values.at(i);
    EXPECT_EQ(sum, 10);
    EXPECT_THROW(values[Slot::Source], std::out_of_range);  // the source has no entry
}

}  // namespace
}  // namespace mozu
