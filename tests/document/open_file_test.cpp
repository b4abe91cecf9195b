// The open service: every kind of file into a document, the descriptions the window shows, and
// the rule that a file that cannot be read changes nothing.

#include "document/open_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/document_test_support.h"
#include "platform/io_error.h"
#include "video/vid_reader.h"
#include "video/vid_writer.h"

namespace mozu {
namespace {

using Kind = DocumentChange::Kind;

TEST(OpenFile, PcPictureDescriptionDependsOnHowItCame) {
    test::TempDir dir;
    const std::string jpeg = dir / "photo.jpeg";
    std::filesystem::copy_file(test::SamplePath(), jpeg);

    Document chosen;
    test::ChangeLog log(chosen);
    const OpenResult a = OpenFile(chosen, jpeg, OpenOrigin::Chosen);
    ASSERT_TRUE(a.opened());
    EXPECT_EQ(a.type, FileType::Jpeg);
    const std::string count = std::to_string(chosen.state().sourceColourCount);
    EXPECT_EQ(a.description, "JPEG image\n\r640x400\n\r" + count + " colors");
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].kind, Kind::Opened);
    EXPECT_EQ(log.changes[0].slot, Slot::Source);

    Document dropped;
    const OpenResult b = OpenFile(dropped, jpeg, OpenOrigin::Dropped);
    EXPECT_EQ(b.description, "Bitmap image\n\r640x400\n\r" + count + " colors");

    const ConversionState& s = chosen.state();
    EXPECT_EQ(s.sourceSlot, Slot::Source);
    EXPECT_EQ(s.currentSlot, Slot::Source);
    EXPECT_EQ(s.currentFileName, jpeg);
    EXPECT_TRUE(chosen.hasPicture());
    EXPECT_GT(s.sourceColourCount, 16);
}

TEST(OpenFile, UnsupportedFilesChangeNothing) {
    test::TempDir dir;
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    doc.convert(Slot::Mode0, asker);
    const ConversionState before = doc.state();
    test::ChangeLog log(doc);

    dir.write("notes.txt", {'h', 'e', 'l', 'l', 'o'});
    // A .rim whose header is not a screen file's, and a headed screen file without our routine.
    dir.write("junk.rim", std::vector<std::uint8_t>(300, 'x'));
    std::vector<std::uint8_t> headed(200, 0);
    headed[22] = 0xC0;
    headed[25] = 0x40;
    headed[65] = 0x40;
    dir.write("other.scr", headed);
    for (const char* name : {"notes.txt", "junk.rim", "other.scr"}) {
        const OpenResult r = OpenFile(doc, dir / name, OpenOrigin::Dropped);
        EXPECT_FALSE(r.opened()) << name;
    }
    EXPECT_EQ(OpenFile(doc, dir / "other.scr", OpenOrigin::Dropped).type, FileType::HeadedScreen);
    EXPECT_TRUE(log.changes.empty());
    EXPECT_EQ(doc.state().source, before.source);
    EXPECT_EQ(doc.state().converted, before.converted);
    EXPECT_EQ(doc.state().saved, before.saved);
    EXPECT_EQ(doc.state().currentFileName, before.currentFileName);
}

TEST(OpenFile, UnreadableFilesRaiseAndKeepTheDocument) {
    test::TempDir dir;
    Document doc;
    ASSERT_TRUE(OpenFile(doc, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    doc.convert(Slot::Mode1, asker);
    const ConversionState before = doc.state();

    // A JPEG that ends inside its header, and a screen file cut after its header.
    const std::vector<std::uint8_t> jpeg = test::ReadBytes(test::SamplePath());
    dir.write("cut.jpg", {jpeg.begin(), jpeg.begin() + 40});
    std::string selection(kSlotCount, 'F');
    selection[SlotIndex(Slot::Mode1)] = 'T';
    doc.save(asker, dir / "pic", selection);
    const std::vector<std::uint8_t> screen = test::ReadBytes(dir / "pic1.rim");
    dir.write("cut1.rim", {screen.begin(), screen.begin() + 4000});

    EXPECT_THROW(OpenFile(doc, dir / "cut.jpg", OpenOrigin::Chosen), IoError);
    EXPECT_THROW(OpenFile(doc, dir / "missing.jpg", OpenOrigin::Chosen), IoError);
    EXPECT_THROW(OpenFile(doc, dir / "cut1.rim", OpenOrigin::Chosen), IoError);
    EXPECT_EQ(doc.state().source, before.source);
    EXPECT_EQ(doc.state().converted, before.converted);
    EXPECT_EQ(doc.state().picture(Slot::Mode1), before.picture(Slot::Mode1));
    EXPECT_EQ(doc.unsavedCount(), 0);  // the save above wrote the one converted picture
}

TEST(OpenFile, CpcFileComesBackIntoItsSlotAsTheSource) {
    test::TempDir dir;
    Document writer;
    ASSERT_TRUE(OpenFile(writer, test::SamplePath(), OpenOrigin::Chosen).opened());
    test::ScriptedAsker asker(test::Otherwise::kYes);
    writer.convert(Slot::Mode0, asker);
    writer.convert(Slot::SgxCpcFree, asker);
    std::string selection(kSlotCount, 'F');
    selection[SlotIndex(Slot::Mode0)] = 'T';
    selection[SlotIndex(Slot::SgxCpcFree)] = 'T';
    writer.save(asker, dir / "pic", selection);

    Document doc;
    doc.convert(Slot::Mode2, asker);  // a blank picture: the flag must go with the new file
    const OpenResult r = OpenFile(doc, dir / "pic0.rim", OpenOrigin::Dropped);
    ASSERT_TRUE(r.opened());
    EXPECT_EQ(r.type, FileType::ScreenMode0);
    EXPECT_EQ(r.description, "CPC image\n\r160x200");
    const ConversionState& s = doc.state();
    EXPECT_EQ(s.sourceSlot, Slot::Mode0);
    EXPECT_EQ(s.currentSlot, Slot::Mode0);
    EXPECT_FALSE(s.sourceShown);
    EXPECT_EQ(s.converted[Slot::Mode0], 1);
    EXPECT_EQ(s.converted[Slot::Mode2], 0);
    EXPECT_EQ(s.picture(Slot::Mode0), writer.state().picture(Slot::Mode0));
    // Mode 0 pixels are twice as wide: the source is the picture as the window holds it.
    EXPECT_EQ(s.source.width(), 320);
    EXPECT_EQ(s.source.height(), 200);

    const OpenResult g = OpenFile(doc, dir / "pic1.sgx", OpenOrigin::Chosen);
    ASSERT_TRUE(g.opened());
    EXPECT_EQ(g.type, FileType::Sgx4);
    EXPECT_EQ(doc.state().picture(Slot::SgxCpcFree), writer.state().picture(Slot::SgxCpcFree));
    EXPECT_EQ(doc.state().converted[Slot::Mode0], 0);
}

TEST(OpenFile, PcVideoShowsItsFirstFrameAsTheSource) {
    auto source = std::make_unique<test::FlatFrameSource>(30);
    test::FlatFrameSource* frames = source.get();
    Document doc(std::move(source));
    const OpenResult r = OpenFileAs(doc, "clip.avi", FileType::PcVideo, OpenOrigin::Chosen);
    ASSERT_TRUE(r.opened());
    EXPECT_EQ(r.description, ".AVI video\n\r" + VideoInfoText(doc.video().info, 30));
    EXPECT_EQ(doc.video().endMark, 30);
    EXPECT_TRUE(doc.video().loaded);
    EXPECT_FALSE(doc.video().symbosVideo);
    EXPECT_EQ(doc.state().sourceSlot, Slot::Source);
    EXPECT_EQ(doc.state().source.pixel(0, 0), MakeColour(0, 80, 40));

    test::ChangeLog log(doc);
    doc.showVideoFrame(12);
    EXPECT_EQ(doc.video().frame.pixel(5, 5), MakeColour(120, 80, 40));
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].kind, Kind::VideoFrame);

    // A video that cannot be opened leaves no video loaded and the old pictures in place.
    const Picture kept = doc.state().source;
    EXPECT_THROW(OpenFileAs(doc, "broken.avi", FileType::PcVideo, OpenOrigin::Dropped), IoError);
    EXPECT_FALSE(doc.video().loaded);
    EXPECT_EQ(doc.state().source, kept);
    EXPECT_EQ(frames->opened, 1);
}

TEST(OpenFile, SymbosVideoReplacesAPcVideo) {
    test::TempDir dir;
    // A four-colour SymbOS video of a few flat frames, written as the video key writes one.
    {
        Document maker(std::make_unique<test::FlatFrameSource>(12));
        ASSERT_TRUE(OpenFileAs(maker, "clip.avi", FileType::PcVideo, OpenOrigin::Chosen).opened());
        VideoRunSettings settings;
        settings.baseName = dir / "clip";
        settings.title = "Title";
        settings.information = "Info";
        test::ScriptedAsker asker(test::Otherwise::kYes);
        VideoWriterRun run;
        run.start(maker.state(), maker.video(), asker, settings);
        while (run.tick(maker.state(), maker.video(), asker) == VideoWriterRun::Tick::Frame) {
        }
    }
    auto source = std::make_unique<test::FlatFrameSource>(30);
    test::FlatFrameSource* frames = source.get();
    Document doc(std::move(source));
    ASSERT_TRUE(OpenFileAs(doc, "clip.avi", FileType::PcVideo, OpenOrigin::Chosen).opened());
    const OpenResult r = OpenFile(doc, dir / "clip.vid", OpenOrigin::Chosen);
    ASSERT_TRUE(r.opened());
    EXPECT_EQ(r.type, FileType::Video4);
    EXPECT_EQ(r.description, VidDescription(doc.vidReader()));
    EXPECT_EQ(r.title, "Title\n\rInfo");
    EXPECT_EQ(frames->closed, 1) << "the PC video is closed";
    EXPECT_TRUE(doc.video().loaded);
    EXPECT_TRUE(doc.video().symbosVideo);
    EXPECT_EQ(doc.state().sourceSlot, Slot::Video4);
    EXPECT_FALSE(doc.state().source.empty());
}

}  // namespace
}  // namespace mozu
