// The frame of a loaded video on show: decoded into a picture of its own shape, made the source
// (what the conversion keys convert), or only decoded for a full preview.

#include <gtest/gtest.h>

#include "document/open_file.h"
#include "document_test_support.h"
#include "platform/io_error.h"
#include "video/vid_reader.h"
#include "video/vid_writer.h"

namespace mozu {
namespace {

using Kind = DocumentChange::Kind;

// A SymbOS video of `frames` flat frames, written as the video keys write one.
std::string WriteVid(const test::TempDir& dir, bool sixteen, int frames) {
    Document maker(std::make_unique<test::FlatFrameSource>(frames));
    EXPECT_TRUE(OpenFileAs(maker, "clip.avi", FileType::PcVideo, OpenOrigin::Chosen).opened());
    VideoRunSettings settings;
    settings.sixteen = sixteen;
    settings.baseName = dir / (sixteen ? "c16" : "c4");
    test::ScriptedAsker asker(test::Otherwise::kYes);
    VideoWriterRun run;
    run.start(maker.state(), maker.video(), asker, settings);
    while (run.tick(maker.state(), maker.video(), asker) == VideoWriterRun::Tick::Frame) {
    }
    return run.outputPath();
}

TEST(VideoFrame, ShownFrameBecomesTheSourceAndDecodingAloneChangesNothing) {
    Document doc(std::make_unique<test::FlatFrameSource>(30));
    ASSERT_TRUE(OpenFileAs(doc, "clip.avi", FileType::PcVideo, OpenOrigin::Dropped).opened());
    // A converted picture on show first: the frame replaces it as what is shown.
    test::ScriptedAsker asker;
    doc.convert(Slot::Mode1, asker);
    ASSERT_EQ(doc.state().currentSlot, Slot::Mode1);

    test::ChangeLog log(doc);
    doc.showVideoFrame(12);
    EXPECT_EQ(doc.state().source.pixel(5, 5), MakeColour(120, 80, 40));
    EXPECT_EQ(doc.state().currentSlot, Slot::Source);
    EXPECT_TRUE(doc.state().sourceShown);
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].kind, Kind::VideoFrame);

    // Decoding for a full preview leaves the source and tells nobody.
    EXPECT_EQ(doc.decodeVideoFrame(20).pixel(5, 5), MakeColour(200, 80, 40));
    EXPECT_EQ(doc.state().source.pixel(5, 5), MakeColour(120, 80, 40));
    EXPECT_EQ(log.changes.size(), 1u);
    // Leaving the preview makes the frame reached the source.
    doc.adoptVideoFrame();
    EXPECT_EQ(doc.state().source.pixel(5, 5), MakeColour(200, 80, 40));
    EXPECT_EQ(log.changes.size(), 2u);
}

TEST(VideoFrame, SymbosFramesHaveTheirOwnSizeWhateverWasOnShow) {
    test::TempDir dir;
    for (const bool sixteen : {false, true}) {
        const std::string vid = WriteVid(dir, sixteen, 8);
        Document doc;
        ASSERT_TRUE(OpenFile(doc, vid, OpenOrigin::Dropped).opened());
        const int w = doc.vidReader().width(), h = doc.vidReader().height();
        // A mode 2 conversion of the first frame is on show: 640 x 200.
        test::ScriptedAsker asker;
        doc.convert(Slot::Mode2, asker);
        ASSERT_EQ(doc.state().picture(Slot::Mode2).width(), 640);

        doc.showVideoFrame(3);
        const Picture& source = doc.state().source;
        ASSERT_EQ(source.width(), w);
        // Sixteen-colour pixels are wide: every line twice.
        ASSERT_EQ(source.height(), sixteen ? 2 * h : h);
        const Picture& frame = doc.vidReader().decodeFrame(3);
        for (int y = 0; y < h; ++y) {
            EXPECT_EQ(source.pixel(w / 2, sixteen ? 2 * y : y), frame.pixel(w / 2, y));
            if (sixteen) {
                EXPECT_EQ(source.pixel(w / 2, 2 * y + 1), frame.pixel(w / 2, y));
            }
        }

        // One past the last frame is an error, and the source stays as it was.
        const Picture kept = source;
        EXPECT_THROW(doc.showVideoFrame(8), IoError);
        EXPECT_EQ(doc.state().source, kept);
    }
}

}  // namespace
}  // namespace mozu
