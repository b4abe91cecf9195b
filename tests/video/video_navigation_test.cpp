// The video source layer, the navigation and the control arithmetic, over a fake source.

#include "video/video_navigation.h"

#include <gtest/gtest.h>

#include "platform/io_error.h"
#include "video_test_support.h"

namespace mozu {
namespace {

VideoInfo Info(int w, int h, int fps, int frames) {
    return VideoInfo{w, h, 10000000, 10000000 / fps, frames};
}

VideoState OpenFake(VideoInfo info, test::FakeFrameSource** fake = nullptr) {
    VideoState v;
    auto source = std::make_unique<test::FakeFrameSource>(info);
    if (fake) *fake = source.get();
    v.source = std::move(source);
    OpenVideo(v, "fake.avi");
    return v;
}

TEST(VideoSource, OpenSetsTheMarksAndDecodesFrameZero) {
    test::FakeFrameSource* fake = nullptr;
    VideoState v = OpenFake(Info(64, 48, 25, 700), &fake);
    EXPECT_TRUE(v.open);
    EXPECT_TRUE(v.loaded);
    EXPECT_FALSE(v.symbosVideo);
    EXPECT_EQ(v.frameCountCopy, 700);
    EXPECT_EQ(v.startMark, 0);
    EXPECT_EQ(v.endMark, 700);
    EXPECT_EQ(v.frame.width(), 64);
    EXPECT_EQ(fake->asked, std::vector<std::int32_t>{0});
}

TEST(VideoSource, FramesAreTurnedTheRightWayUp) {
    VideoState v = OpenFake(Info(64, 48, 25, 300));
    DecodeVideoFrame(v, 201);
    Picture expected(64, 48);
    test::PaintFrameNumber(201, expected);
    EXPECT_EQ(v.frame, expected);
    EXPECT_EQ(test::ReadFrameNumber(v.frame), 201);
}

TEST(VideoSource, CloseForgetsTheVideoAndClosesTheLibraryOnce) {
    test::FakeFrameSource* fake = nullptr;
    VideoState v = OpenFake(Info(64, 48, 25, 10), &fake);
    CloseVideoSource(v);
    CloseVideoSource(v);
    EXPECT_FALSE(v.open);
    EXPECT_TRUE(v.frame.empty());
    EXPECT_EQ(fake->closed, 1);
    EXPECT_THROW(DecodeVideoFrame(v, 0), IoError);
}

TEST(VideoInfoLabel, RunningTimeAndRate) {
    EXPECT_EQ(VideoInfoText(Info(640, 480, 25, 2075), 2075), "00:01:23\n\r25 fps");
    EXPECT_EQ(VideoInfoText(Info(640, 480, 30, 30 * 3725), 30 * 3725), "01:02:05\n\r30 fps");
    // 29.97 fps counts as 29.
    EXPECT_EQ(VideoFrameRate(VideoInfo{1, 1, 10000000, 333667, 1}), 29);
    // Below one frame a second the running time comes from the frame duration.
    EXPECT_EQ(VideoInfoText(VideoInfo{1, 1, 10000000, 20000000, 30}, 30), "00:01:00\n\r0 fps");
    EXPECT_EQ(RunningTimeText(0), "00:00:00");
}

TEST(VideoNavigation, NextPreviousAndTheirLimits) {
    VideoState v = OpenFake(Info(64, 48, 25, 5));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(NextFrame(v));
    EXPECT_EQ(v.currentFrame, 3);
    EXPECT_TRUE(NextFrame(v));  // the last frame, 4, is the upper limit
    EXPECT_EQ(v.currentFrame, 4);
    EXPECT_FALSE(NextFrame(v));  // the frame count would be past the end of the video
    EXPECT_EQ(v.currentFrame, 4);
    v.currentFrame = 0;
    EXPECT_FALSE(PreviousFrame(v));
    EXPECT_EQ(v.currentFrame, 0);
}

TEST(VideoNavigation, BackwardForwardAndMarks) {
    VideoState v = OpenFake(Info(64, 48, 25, 100));
    v.currentFrame = 10;
    SetStartMark(v);
    v.currentFrame = 20;
    SetEndMark(v);
    v.currentFrame = 15;
    BackwardFrame(v);
    EXPECT_EQ(v.currentFrame, 10);
    BackwardFrame(v);
    EXPECT_EQ(v.currentFrame, 0);
    v.currentFrame = 15;
    ForwardFrame(v);
    EXPECT_EQ(v.currentFrame, 20);
    ForwardFrame(v);  // at the end mark: on to the last frame, not the frame count
    EXPECT_EQ(v.currentFrame, 99);
    ForwardFrame(v);
    EXPECT_EQ(v.currentFrame, 99);
    // An end mark on the frame count (as opened): Forward stops on the last frame.
    v.endMark = 100;
    v.currentFrame = 50;
    ForwardFrame(v);
    EXPECT_EQ(v.currentFrame, 99);
}

TEST(VideoNavigation, OpeningAnotherVideoStartsOver) {
    VideoState v = OpenFake(Info(64, 48, 25, 700));
    v.currentFrame = 500;
    v.startMark = 400;
    v.endMark = 600;
    auto source = std::make_unique<test::FakeFrameSource>(Info(64, 48, 25, 50));
    v.source = std::move(source);
    OpenVideo(v, "short.avi");
    EXPECT_EQ(v.currentFrame, 0);
    EXPECT_EQ(v.startMark, 0);
    EXPECT_EQ(v.endMark, 50);
    ResetVideoPosition(v, 7);
    EXPECT_EQ(v.endMark, 7);
}

TEST(VideoNavigation, SymbosVideosUseTheirOwnFrameCount) {
    VideoState v;
    v.symbosVideo = true;
    v.symbosFrameCount = 2;
    v.frameCountCopy = 500;
    v.currentFrame = 1;
    EXPECT_FALSE(NextFrame(v));  // frame 1 is the last of two
    ForwardFrame(v);             // end mark 0 <= current: to the last frame
    EXPECT_EQ(v.currentFrame, 1);
    EXPECT_EQ(LastFrame(v), 1);
}

TEST(VideoSlider, TrackAndThumb) {
    // Pressing the track at x = 175 of a 350-wide track on a 700-frame video.
    const int trackLeft = 224, width = 350;
    const int thumbLeft = trackLeft + 175 - 7;
    const int position = thumbLeft + 7 - trackLeft;
    const int frame = FrameAtTrackPosition(700, width, position);
    EXPECT_EQ(frame, 350);
    EXPECT_EQ(ThumbLeft(frame, 700, width, trackLeft), trackLeft + 168);
    // The right end of the track is the last frame, not the frame count; the left end frame 0.
    EXPECT_EQ(FrameAtTrackPosition(700, width, width), 699);
    EXPECT_EQ(FrameAtTrackPosition(700, width, 0), 0);
    EXPECT_EQ(FrameAtTrackPosition(0, width, 100), 0);
    EXPECT_EQ(ClampThumbLeft(0, width, trackLeft), trackLeft - 7);
    EXPECT_EQ(ClampThumbLeft(9999, width, trackLeft), trackLeft + width - 7);
    EXPECT_EQ(ThumbLeft(0, 0, width, trackLeft), trackLeft - 7);
    // Truncation, not rounding: 1/3 of 350 is 116.67.
    EXPECT_EQ(ThumbLeft(1, 3, width, 0), 116 - 7);
    const MarkBands bands = MarkBandRange(10, 20, 100, 350);
    EXPECT_EQ(bands.from, 35);
    EXPECT_EQ(bands.to, 70);
}

TEST(VideoProgress, AngleAndBall) {
    EXPECT_EQ(ProgressAngle(0, 50), 0);
    EXPECT_EQ(ProgressAngle(1, 3), 60);
    EXPECT_EQ(ProgressAngle(2, 7), 51);  // 51.43 truncated
    EXPECT_EQ(ProgressAngle(50, 50), 180);
    const BallPosition left = ProgressBallPosition(0);
    EXPECT_EQ(left.left, 302);
    EXPECT_EQ(left.top, 576);
    const BallPosition top = ProgressBallPosition(90);
    EXPECT_EQ(top.left, 389);
    EXPECT_EQ(top.top, 489);
    const BallPosition right = ProgressBallPosition(180);
    EXPECT_EQ(right.left, 476);
    EXPECT_EQ(right.top, 576);
}

}  // namespace
}  // namespace mozu

namespace mozu {
namespace {

TEST(VideoPlayback, PlaysUpToTheEndMarkAndStopsThere) {
    VideoState v;
    v.frameCountCopy = 100;
    v.currentFrame = 5;
    v.endMark = 8;
    std::vector<std::int32_t> shown;
    while (const auto f = PlaybackTick(v)) shown.push_back(*f);
    EXPECT_EQ(shown, (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(v.currentFrame, 8);
}

TEST(VideoPlayback, AnEndMarkOnTheFrameCountStopsOnTheLastFrame) {
    VideoState v;
    v.frameCountCopy = 10;
    v.currentFrame = 7;
    v.endMark = 10;
    std::vector<std::int32_t> shown;
    while (const auto f = PlaybackTick(v)) shown.push_back(*f);
    EXPECT_EQ(shown, (std::vector<std::int32_t>{7, 8, 9}));
    EXPECT_EQ(v.currentFrame, 9);
}

}  // namespace
}  // namespace mozu
