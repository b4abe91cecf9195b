// The document's side of the editor: where an edit may start, what it starts from, and what
// taking an edit back changes (flags, palettes, level pictures, the source's count).

#include <gtest/gtest.h>

#include "colour/colour_ops.h"
#include "document/document.h"
#include "document/document_test_support.h"
#include "document/open_file.h"
#include "editing/drawing.h"
#include "editing/slot_colours.h"

namespace mozu {
namespace {

using Kind = DocumentChange::Kind;

class DocumentEdit : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    }
    void convert(Slot slot) { doc.convert(slot, asker); }

    Document doc;
    test::ScriptedAsker asker{test::Otherwise::kYes};
};

TEST(DocumentEditable, OnlyWithAPictureAndAGeometryAndNoVideoFrame) {
    Document doc(std::make_unique<test::FlatFrameSource>(10));
    EXPECT_FALSE(doc.canEdit());  // nothing loaded
    ConversionState& s = doc.state();
    AdoptPcPicture(s, Picture(64, 40, MakeColour(9, 9, 9)));
    EXPECT_TRUE(doc.canEdit());  // the source
    for (const Slot slot :
         {Slot::Level0, Slot::Level1, Slot::Video4, Slot::Video16, Slot::Unused3}) {
        s.currentSlot = slot;
        s.slots[slot] = Picture(10, 10);
        EXPECT_FALSE(doc.canEdit()) << SlotNumber(slot);
    }
    // A video's own frame is the source while a video is loaded: the next frame would
    // overwrite an edit. A slot converted from a paused frame may be edited.
    doc.video().loaded = true;
    s.currentSlot = Slot::Source;
    EXPECT_FALSE(doc.canEdit());
    s.currentSlot = Slot::Mode1;
    s.slots[Slot::Mode1] = Picture(320, 200);
    EXPECT_TRUE(doc.canEdit());
    s.noPicture = true;
    EXPECT_FALSE(doc.canEdit());
}

TEST_F(DocumentEdit, UnchangedEditKeepsTheFlagsAndNotices) {
    convert(Slot::Mode0);
    doc.state().saved[Slot::Mode0] = 1;  // as after a save
    test::ChangeLog log(doc);
    const EditSnapshot start = doc.beginEdit();
    EXPECT_EQ(start.picture, doc.state().picture(Slot::Mode0));
    EXPECT_EQ(start.palette[5], GetColor(doc.state(), 5, Slot::Mode0));
    EXPECT_FALSE(doc.afterEdit(Slot::Mode0, start));
    EXPECT_EQ(doc.state().saved[Slot::Mode0], 1);
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].kind, Kind::Edited);
    EXPECT_EQ(log.changes[0].slot, Slot::Mode0);
}

TEST_F(DocumentEdit, PaletteChangeOfAScreenSlotReachesItsPens) {
    convert(Slot::Mode1);
    doc.state().saved[Slot::Mode1] = 1;
    EditSnapshot edit = doc.beginEdit();
    const Colour newColour = doc.state().colourTable[20];
    ReplaceColour(edit.picture, edit.palette[2], newColour);
    edit.palette[2] = newColour;
    EXPECT_TRUE(doc.afterEdit(Slot::Mode1, edit));
    EXPECT_EQ(doc.state().palette(Slot::Mode1)[2], 20);
    EXPECT_EQ(doc.state().saved[Slot::Mode1], 0);
    EXPECT_EQ(doc.state().picture(Slot::Mode1), edit.picture);
}

TEST_F(DocumentEdit, SymbosSlotsKeepTheirPensAndFreeSlotsTakeTheSize) {
    convert(Slot::SgxCpcFree);
    const PaletteSlot pens = doc.state().palette(Slot::SgxCpcFree);
    EditSnapshot edit = doc.beginEdit();
    // The colour dialog offers this slot its own four pens.
    const std::vector<Colour> offered = OfferedColours(doc.state(), Slot::SgxCpcFree);
    ASSERT_EQ(offered.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(offered[static_cast<std::size_t>(i)], edit.palette[static_cast<std::size_t>(i)]);
    // Swatch 0 takes swatch 1's colour (pixels recoloured); the pens stay, so the file's pen
    // numbers show the chosen colour.
    ReplaceColour(edit.picture, edit.palette[0], edit.palette[1]);
    edit.palette[0] = edit.palette[1];
    edit.picture = edit.picture.crop(0, 0, 100, 50);  // a crop of a free-size slot shrinks it
    EXPECT_TRUE(doc.afterEdit(Slot::SgxCpcFree, edit));
    EXPECT_EQ(doc.state().palette(Slot::SgxCpcFree), pens);
    EXPECT_EQ(doc.state().picture(Slot::SgxCpcFree).width(), 100);
    EXPECT_EQ(doc.state().picture(Slot::SgxCpcFree).height(), 50);
}

TEST_F(DocumentEdit, OverscanEditRebuildsItsLevelPictureWithItsPens) {
    convert(Slot::Overscan1);
    EditSnapshot edit = doc.beginEdit();
    ASSERT_EQ(edit.picture.width(), 368);  // the slot's own picture, not the level picture
    edit.picture.fill(edit.palette[3]);
    EXPECT_TRUE(doc.afterEdit(Slot::Overscan1, edit));
    const Picture& level = doc.state().picture(Slot::Level1);
    ASSERT_EQ(level.width(), 464);
    EXPECT_EQ(level.crop(0, 0, 368, 264), edit.picture);
    EXPECT_EQ(level.pixel(400, 50), edit.palette[3]);  // the thumbnail of the edited picture
    EXPECT_TRUE(std::equal(doc.state().palette(Slot::Level1).begin(),
                           doc.state().palette(Slot::Level1).begin() + 16,
                           doc.state().palette(Slot::Overscan1).begin()));
}

TEST_F(DocumentEdit, EditedSourceIsCountedAgainAndEverySlotIsStale) {
    convert(Slot::Mode0);
    doc.state().currentSlot = Slot::Source;
    EditSnapshot edit = doc.beginEdit();
    edit.picture = Picture(30, 20, MakeColour(1, 2, 3));
    edit.picture.setPixel(0, 0, MakeColour(4, 5, 6));
    EXPECT_TRUE(doc.afterEdit(Slot::Source, edit));
    EXPECT_EQ(doc.state().sourceColourCount, 2);
    EXPECT_EQ(doc.state().source.width(), 30);
    EXPECT_TRUE(doc.state().stale[Slot::Mode0]);
    EXPECT_EQ(doc.state().currentSlot, Slot::Source);
    const ConvertOutcome again = doc.convert(Slot::Mode0, asker);
    EXPECT_TRUE(again.converted);        // not merely shown again
    EXPECT_FALSE(asker.askedNothing());  // two colours: the exact-colour question
    EXPECT_EQ(doc.editHistory().undoCount(), 0);
}

}  // namespace
}  // namespace mozu
