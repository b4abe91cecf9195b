// The document: its notices, the commands it runs for the views, and what it counts as unsaved.

#include "document/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/document_test_support.h"
#include "document/open_file.h"

namespace mozu {
namespace {

using Kind = DocumentChange::Kind;

TEST(Document, ObserversHearEveryChangeInOrderUntilRemoved) {
    Document doc;
    std::vector<std::string> heard;
    const int first = doc.addObserver([&](const DocumentChange&) { heard.push_back("first"); });
    doc.addObserver([&](const DocumentChange&) { heard.push_back("second"); });
    doc.showSource();
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "second"}));
    doc.removeObserver(first);
    heard.clear();
    doc.showSource();
    EXPECT_EQ(heard, (std::vector<std::string>{"second"}));
}

TEST(Document, ConvertingWithoutAPictureMakesABlankOrNothing) {
    Document doc;
    test::ChangeLog log(doc);
    test::ScriptedAsker asker(test::Otherwise::kYes);
    // Mode 0 has a blank picture to draw on; the free-size SymbOS slot has none.
    EXPECT_TRUE(doc.convert(Slot::Mode0, asker).blank);
    EXPECT_TRUE(doc.convert(Slot::SgxCpcFree, asker).nothing());
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].kind, Kind::BlankMade);
    EXPECT_EQ(log.changes[0].slot, Slot::Mode0);
    EXPECT_EQ(doc.state().picture(Slot::Mode0).width(), 160);
}

TEST(Document, ConvertNoticesNameTheLevelSlotAndAReshownSlot) {
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ChangeLog log(doc);
    test::ScriptedAsker asker(test::Otherwise::kYes);
    doc.convert(Slot::Overscan0, asker);
    doc.convert(Slot::Overscan0, asker);  // up to date: shown again, not converted
    ASSERT_EQ(log.changes.size(), 2u);
    EXPECT_EQ(log.changes[0].kind, Kind::Converted);
    EXPECT_EQ(log.changes[0].slot, Slot::Overscan0);
    EXPECT_EQ(log.changes[0].levelSlot, Slot::Level0);
    EXPECT_EQ(log.changes[1].kind, Kind::SlotReshown);
    EXPECT_EQ(log.changes[1].levelSlot, std::nullopt);
    EXPECT_EQ(doc.state().currentSlot, Slot::Overscan0);
    EXPECT_TRUE(asker.askedNothing()) << "a photograph has too many colours to be asked about";
}

TEST(Document, AdjustmentsNeedAPictureAndMakeSlotsStale) {
    Document doc;
    test::ChangeLog log(doc);
    EXPECT_FALSE(doc.adjust(Adjustment::Brighter, kMainWindowArea));
    EXPECT_TRUE(log.changes.empty());

    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    doc.convert(Slot::Mode1, asker);
    const Picture before = doc.state().source;
    log.changes.clear();
    for (Adjustment a : {Adjustment::Autobalance, Adjustment::Brighter, Adjustment::Darker,
                         Adjustment::MoreContrast, Adjustment::LessContrast})
        EXPECT_TRUE(doc.adjust(a, kMainWindowArea));
    EXPECT_EQ(log.changes.size(), 5u);
    EXPECT_EQ(log.changes.back().kind, Kind::SourceAdjusted);
    EXPECT_NE(doc.state().source, before);
    // The mode 1 picture no longer matches the source: its key converts it again.
    EXPECT_TRUE(doc.state().stale[Slot::Mode1]);
    EXPECT_TRUE(doc.convert(Slot::Mode1, asker).converted);
}

TEST(Document, ContrastFollowsTheAreaItIsGiven) {
    // The same picture and step give different sources for a tiny and a large window: the
    // threshold of "seen often enough" follows the area.
    Document small, large;
    ASSERT_TRUE(OpenFile(small, test::SamplePath(), OpenOrigin::Chosen).opened());
    ASSERT_TRUE(OpenFile(large, test::SamplePath(), OpenOrigin::Chosen).opened());
    small.adjust(Adjustment::MoreContrast, ContrastArea{10, 10});
    large.adjust(Adjustment::MoreContrast, ContrastArea{4000, 4000});
    EXPECT_NE(small.state().source, large.state().source);
}

TEST(Document, SavingCountsDownTheUnsavedPictures) {
    test::TempDir dir;
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    doc.convert(Slot::Mode0, asker);
    doc.convert(Slot::SgxMsx, asker);
    EXPECT_EQ(doc.unsavedCount(), 2);
    const Picture converted = doc.state().picture(Slot::Mode0);
    test::ChangeLog log(doc);
    std::string selection(kSlotCount, 'F');
    selection[SlotIndex(Slot::Mode0)] = 'T';
    doc.save(asker, dir / "pic", selection);
    EXPECT_EQ(doc.unsavedCount(), 1);
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].kind, Kind::Saved);
    EXPECT_TRUE(std::filesystem::exists(dir / "pic0.rim"));
    // The slots are colour pictures again after the save.
    EXPECT_EQ(doc.state().picture(Slot::Mode0), converted);
}

TEST(Document, ShowingTheSourceSetsTheCurrentSlotItsOwnWay) {
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    doc.convert(Slot::Mode2, asker);
    doc.state().sourceSlot = Slot::Mode1;  // as after reading a mode 1 file
    doc.showSource();
    EXPECT_EQ(doc.state().currentSlot, Slot::Source);
    EXPECT_TRUE(doc.state().sourceShown);
    doc.convert(Slot::Mode2, asker);
    doc.refreshSource();
    EXPECT_EQ(doc.state().currentSlot, Slot::Mode1);
    doc.closePicture();
    EXPECT_FALSE(doc.hasPicture());
}

}  // namespace
}  // namespace mozu
