// The reduction method a document keeps per slot: a new choice converts the slot again on its
// next command, the same choice only shows it, and other slots keep theirs.

#include <gtest/gtest.h>

#include "document/document.h"
#include "document/document_test_support.h"
#include "document/open_file.h"

namespace mozu {
namespace {

using Kind = DocumentChange::Kind;

TEST(DocumentReduction, ANewMethodConvertsTheSlotAgain) {
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    EXPECT_TRUE(doc.reductionOptions(Slot::Mode1).isDefault());
    doc.convert(Slot::Mode1, asker);
    doc.convert(Slot::Mode0, asker);
    const Picture classic = doc.state().slots[Slot::Mode1];
    const Picture mode0 = doc.state().slots[Slot::Mode0];

    ReductionOptions bayer;
    bayer.method = ReductionMethod::Bayer4;
    doc.setReductionOptions(Slot::Mode1, bayer);
    test::ChangeLog log(doc);
    doc.convert(Slot::Mode1, asker);
    doc.convert(Slot::Mode1, asker);  // the same choice: up to date, shown again
    doc.convert(Slot::Mode0, asker);  // its own choice did not change
    ASSERT_EQ(log.changes.size(), 3u);
    EXPECT_EQ(log.changes[0].kind, Kind::Converted);
    EXPECT_EQ(log.changes[1].kind, Kind::SlotReshown);
    EXPECT_EQ(log.changes[2].kind, Kind::SlotReshown);
    EXPECT_NE(doc.state().slots[Slot::Mode1], classic);
    EXPECT_EQ(doc.state().slots[Slot::Mode0], mode0);
    EXPECT_EQ(doc.reductionOptions(Slot::Mode1), bayer);

    // Setting the same options again changes nothing; back to the classic method gives the
    // classic picture again.
    doc.setReductionOptions(Slot::Mode1, bayer);
    EXPECT_EQ(doc.convert(Slot::Mode1, asker).shownOnly, true);
    doc.setReductionOptions(Slot::Mode1, ReductionOptions{});
    EXPECT_TRUE(doc.convert(Slot::Mode1, asker).converted);
    EXPECT_EQ(doc.state().slots[Slot::Mode1], classic);
}

}  // namespace
}  // namespace mozu
