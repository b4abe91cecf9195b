// The SymbOS video file's numbers and bytes.

#include "video/vid_format.h"

#include <gtest/gtest.h>

#include "colour/conversion_state.h"
#include "colour/resize.h"

namespace mozu {
namespace {

// W x H of a video kind for a source frame size, through the picture scaler.
std::pair<int, int> FrameSize(int width, int height, Slot kind) {
    ConversionState state;
    state.sourceSlot = Slot::Source;
    Picture p(width, height);
    ResizeBitmap(state, p, kind);
    return {p.width(), p.height()};
}

TEST(VidPlan, FourColoursFrom25FpsVga) {
    EXPECT_EQ(VideoKindFor(640, 480, false), Slot::Video4);
    const auto [w, h] = FrameSize(640, 480, Slot::Video4);
    EXPECT_EQ(w, 192);
    EXPECT_EQ(h, 144);
    const VideoRunPlan plan = PlanVideoRun(25, 0, 100, false, w, h);
    EXPECT_EQ(plan.step, 2);
    EXPECT_EQ(plan.rate, 12);
    EXPECT_EQ(plan.frames, 50);
    EXPECT_EQ(plan.dataSize, 6912);
    EXPECT_EQ(plan.frameSize, 7168);
}

TEST(VidPlan, SixteenColoursFrom25FpsVga) {
    EXPECT_EQ(VideoKindFor(640, 480, true), Slot::Video16);
    const auto [w, h] = FrameSize(640, 480, Slot::Video16);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 90);
    const VideoRunPlan plan = PlanVideoRun(25, 0, 100, true, w, h);
    EXPECT_EQ(plan.dataSize, 10800);
    EXPECT_EQ(plan.frameSize, 11264);
    const auto header = MakeVidHeader(plan, "", "");
    EXPECT_EQ(header[18], 7);
    EXPECT_EQ(header[246], 1);
}

TEST(VidPlan, WidescreenKinds) {
    EXPECT_EQ(VideoKindFor(1280, 720, false), Slot::Video4Wide);
    EXPECT_EQ(VideoKindFor(1280, 720, true), Slot::Video16Wide);
    EXPECT_EQ(FrameSize(1280, 720, Slot::Video4Wide).first, 224);
    EXPECT_EQ(FrameSize(1280, 720, Slot::Video16Wide).first, 240);
    EXPECT_EQ(VideoKindFor(300, 200, false), Slot::Video4Wide);  // exactly 1.5
    EXPECT_EQ(VideoKindFor(299, 200, false), Slot::Video4);
}

TEST(VidPlan, StepsKeepTheWrittenRateAtMost15) {
    const auto check = [](int fps, int step, int rate) {
        const VideoRunPlan plan = PlanVideoRun(fps, 0, 1000, false, 192, 144);
        EXPECT_EQ(plan.step, step) << fps << " fps";
        EXPECT_EQ(plan.rate, rate) << fps << " fps";
    };
    check(10, 1, 10);
    check(15, 1, 15);
    check(16, 2, 8);
    check(30, 2, 15);
    check(31, 3, 10);
    check(40, 3, 13);
    check(45, 3, 15);
    // From 46 up: the smallest step whose rate stays at or below 15.
    check(46, 3, 15);
    check(48, 4, 12);
    check(50, 4, 12);
    check(60, 4, 15);
    check(120, 8, 15);
    for (int fps = 46; fps < 400; ++fps) {
        const int step = FrameStepFor(fps);
        EXPECT_LE(fps / step, 15) << fps;
        EXPECT_GT(fps / (step - 1), 15) << fps;
    }
}

TEST(VidPlan, RefusesWhatTheFileCannotHold) {
    EXPECT_THROW(PlanVideoRun(0, 0, 100, false, 192, 144), VideoRefused);
    EXPECT_THROW(PlanVideoRun(25, 100, 0, false, 192, 144), VideoRefused);  // marks reversed
    EXPECT_THROW(PlanVideoRun(25, 10, 11, false, 192, 144), VideoRefused);  // closer than a step
    EXPECT_EQ(PlanVideoRun(25, 10, 12, false, 192, 144).frames, 1);
    EXPECT_EQ(PlanVideoRun(10, 0, 65535, false, 192, 144).frames, 65535);
    EXPECT_THROW(PlanVideoRun(10, 0, 65536, false, 192, 144), VideoRefused);
    // A very tall source: 64 x 2000 scales to 192 x 6000, 288,000 bytes a frame.
    const auto [w, h] = FrameSize(64, 2000, Slot::Video4);
    EXPECT_EQ(h, 6000);
    EXPECT_THROW(PlanVideoRun(25, 0, 100, false, w, h), VideoRefused);
    // The largest frame that fits: 65,024 bytes.
    EXPECT_EQ(PlanVideoRun(25, 0, 100, false, 192, 1354).frameSize, 65024);
    EXPECT_THROW(PlanVideoRun(25, 0, 100, false, 192, 1355), VideoRefused);
}

TEST(VidFrameSize, RoundsUpToWhole512ByteBlocks) {
    EXPECT_EQ(VidFrameSize(1024), 1024);
    EXPECT_EQ(VidFrameSize(1025), 1536);
    EXPECT_EQ(VidFrameSize(6912), 7168);
    EXPECT_EQ(VidFrameDataSize(192, 144, false), 6912);
    EXPECT_EQ(VidFrameDataSize(240, 90, true), 10800);
}

TEST(VidHeader, Layout) {
    const VideoRunPlan plan = PlanVideoRun(25, 0, 100, false, 192, 144);
    const auto h = MakeVidHeader(plan, "Hello", "Converted with Mozu 08/12/2026");
    EXPECT_EQ(std::string(h.begin(), h.begin() + 8), "SymVid10");
    EXPECT_EQ(h[8], 0);
    EXPECT_EQ(h[9], 0);
    EXPECT_EQ(h[10], 12);
    EXPECT_EQ(h[11], 50);
    EXPECT_EQ(h[12], 0);
    EXPECT_EQ(h[13], 0);
    EXPECT_EQ(h[14] | h[15] << 8, 192);
    EXPECT_EQ(h[16] | h[17] << 8, 144);
    EXPECT_EQ(h[18], 1);
    EXPECT_EQ(h[51] | h[52] << 8, 7168);
    EXPECT_EQ(h[53], 0);
    EXPECT_EQ(std::string(h.begin() + 182, h.begin() + 187), "Hello");
    for (int i = 187; i < 214; ++i) EXPECT_EQ(h[static_cast<std::size_t>(i)], 0) << i;  // 27 zeros
    EXPECT_EQ(std::string(h.begin() + 214, h.begin() + 244), "Converted with Mozu 08/12/2026");
    EXPECT_EQ(h[246], 0);
    // Everything not named above is zero.
    int nonZero = 0;
    for (int i = 19; i < 182; ++i)
        if (i < 51 || i > 53) nonZero += h[static_cast<std::size_t>(i)] != 0;
    for (int i = 246; i < 512; ++i) nonZero += h[static_cast<std::size_t>(i)] != 0;
    EXPECT_EQ(nonZero, 0);
}

TEST(VidHeader, TitlesAreCutAndPadded) {
    const VideoRunPlan plan = PlanVideoRun(25, 0, 100, true, 240, 90);
    const auto empty = MakeVidHeader(plan, "", "");
    for (int i = 182; i < 246; ++i) EXPECT_EQ(empty[static_cast<std::size_t>(i)], 0);
    const std::string longTitle(40, 'x');
    const auto cut = MakeVidHeader(plan, longTitle, "");
    EXPECT_EQ(cut[213], 'x');
    EXPECT_EQ(cut[214], 0);
}

TEST(VidEncoding, PixelBytes) {
    EXPECT_EQ(EncodeFourPens(1, 2, 3, 0), 0xA6);
    EXPECT_EQ(EncodeTwoPens(3, 10), 0x3A);
    EXPECT_EQ(EncodeFourPens(3, 3, 3, 3), 0xFF);
    EXPECT_EQ(EncodeFourPens(0, 0, 0, 1), 0x10);

    VideoRunPlan plan;
    plan.width = 8;
    plan.height = 1;
    plan.frameSize = 4;
    Picture pens(8, 1);
    const int row[8] = {1, 2, 3, 0, 0, 0, 0, 2};
    for (int x = 0; x < 8; ++x) pens.setPixel(x, 0, MakeColour(row[x], 0, 0));
    std::vector<std::uint8_t> out(4, 0x55);
    EncodeVidFrame(pens, plan, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xA6, 0x01, 0, 0}));
}

TEST(VideoDescription, SaveDialogString) {
    const VideoDescription d = ParseVideoDescription(std::string("\x24Rain\x20"));
    EXPECT_EQ(d.title, "Rain");
    EXPECT_EQ(d.information, "");
    EXPECT_EQ(MakeVideoDescription("Rain", ""), std::string("\x24Rain\x20"));
    const VideoDescription both = ParseVideoDescription(MakeVideoDescription("T", "info"));
    EXPECT_EQ(both.title, "T");
    EXPECT_EQ(both.information, "info");
    // A length beyond the string is cut to what is there.
    EXPECT_EQ(ParseVideoDescription(std::string("\x7FTitle")).title, "Title");
    EXPECT_EQ(ParseVideoDescription("").title, "");
}

TEST(VideoLabels, RunTexts) {
    EXPECT_EQ(VideoRunDescription(50, 12), "SymbOS video\n\r00:00:04\n\r12 fps\n\r");
    EXPECT_EQ(VideoRunDescription(54000, 15), "SymbOS video\n\r01:00:00\n\r15 fps\n\r");
    EXPECT_EQ(FrameCounterText(3, 50), "Frame 3 of 50");
}

}  // namespace
}  // namespace mozu
