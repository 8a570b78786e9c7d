#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/zoom_fade.h"
#include "render/effects/zoom_fade.h"

using namespace harness;

namespace {

constexpr int kShrink = 0, kEnlarge = 1, kFade = 31;

// Red under blue at the blue's opacity a.
Rgb blueOverRed(double a) {
    return {static_cast<int>(255 * (1 - a) + 0.5), 0, static_cast<int>(255 * a + 0.5)};
}

} // namespace

TEST(ZoomSchedule, StepsGrowByAnEvenWidthAndThePreviousFrameFadesOverFiveFrames) {
    auto shrink = zoomSchedule(20, 8, true);
    ASSERT_EQ(shrink.size(), 21u);
    EXPECT_EQ(shrink.front().delta, 160);
    EXPECT_EQ(shrink.back().delta, 0);
    auto enlarge = zoomSchedule(20, 8, false);
    EXPECT_EQ(enlarge.front().delta, 0);
    EXPECT_EQ(enlarge.back().delta, 160);
    const double opacities[] = {0.85, 0.70, 0.55, 0.40, 0.25, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(shrink[i].previousOpacity, opacities[i], 1e-6) << i;
    for (std::size_t i = 6; i < shrink.size(); ++i) EXPECT_EQ(shrink[i].previousOpacity, 0);
    EXPECT_EQ(zoomSchedule(20, 21, true).front().delta, 20 * 22) << "odd steps are made even";
    EXPECT_TRUE(zoomSchedule(-1, 8, true).empty());
}

TEST(ZoomSchedule, NegativeStepCountStillCountsTheHoldFrames) {
    int frames = -1;
    EffectContext ctx;
    ctx.W = ctx.H = 256;
    ctx.holdFrames = 5;
    ctx.outFrames = &frames;
    EXPECT_EQ(effect_zoom(ctx, variantOf(ZoomMember::Shrink), {-3, 8}), nullptr);
    EXPECT_EQ(frames, 5);
    frames = -1;
    EXPECT_EQ(effect_zoom(ctx, variantOf(ZoomMember::Enlarge), {-3, 8}), nullptr);
    EXPECT_EQ(frames, 5);
}

TEST(FadeLevels, StepsOfTheLevelAndTheirCounts) {
    auto six = fadeLevels(6);
    ASSERT_EQ(six.size(), 17u);
    EXPECT_EQ(six.front(), 94);
    EXPECT_EQ(six[15], 4);
    EXPECT_EQ(six.back(), 0);
    EXPECT_EQ(fadeLevels(5).size(), 20u);
    EXPECT_EQ(fadeLevels(7).size(), 15u);
    EXPECT_EQ(fadeLevels(0), six);
    EXPECT_EQ(fadeLevels(25), six);
    auto three = fadeLevels(3);
    ASSERT_GE(three.size(), 3u);
    EXPECT_EQ(three[three.size() - 2], 1);
    EXPECT_EQ(three.back(), 0);
}

TEST(Fade, BlendsThePreviousFrameOutOverThePicture) {
    WandPtr canvas = solidCanvas(256, 256, "#ff0000");
    EffectRun fade =
        runEffectIndex(kFade, 256, 256, canvas.get(), solidCanvas(256, 256, "#0000ff"));
    ASSERT_EQ(fade.frames.size(), 17u);
    EXPECT_TRUE(near(fade.frames[0].at(10, 10), blueOverRed(0.94))) << fade.frames[0].at(10, 10);
    EXPECT_TRUE(near(fade.frames[15].at(10, 10), blueOverRed(0.04)));
    EXPECT_EQ(fade.frames[16], frameOf(canvas.get()));
    EXPECT_EQ(frameOf(fade.result.get()), frameOf(canvas.get()));
}

TEST(Fade, FirstPictureFadesInFromBlack) {
    WandPtr canvas = solidCanvas(256, 256, "#ff0000");
    EffectRun fade = runEffectIndex(kFade, 256, 256, canvas.get(), nullptr);
    EXPECT_TRUE(near(fade.frames[0].at(10, 10), {15, 0, 0})) << fade.frames[0].at(10, 10);
}

TEST(Fade, OnePercentLevelShowsNoPreviousFrame) {
    WandPtr canvas = solidCanvas(256, 256, "#ff0000");
    RawFrames raw;
    RecordingSink sink;
    EffectContext ctx;
    ctx.W = ctx.H = 256;
    ctx.canvas = canvas.get();
    sink.attach(ctx);
    ctx.previous = solidCanvas(256, 256, "#0000ff");
    WandPtr result = effect_fade(ctx, 0, {3});
    ASSERT_EQ(sink.blobs().size(), 34u);
    EXPECT_TRUE(near(sink.frame(31).at(5, 5), blueOverRed(0.04)));
    EXPECT_EQ(sink.frame(32).at(5, 5), kRed) << "level 1 is not above 0.01";
}

TEST(Zoom, ShrinkStartsEnlargedAndCentredAndEndsOnThePicture) {
    const int W = 256;  // d = (int)(256 * 0.02) = 5, made even: 6; first delta 120
    WandPtr canvas = positionCodedCanvas(W, W);
    EffectRun shrink = runEffectIndex(kShrink, 256, 256, canvas.get(), nullptr);
    ASSERT_EQ(shrink.frames.size(), 21u);
    // The picture is 376 wide, centred: the frame's corner shows source x = 60 * 256 / 376.
    Point corner = positionOf(shrink.frames[0].at(0, 0));
    EXPECT_NEAR(corner.x, 41, 1);
    EXPECT_NEAR(corner.y, 41, 1);
    Point centre = positionOf(shrink.frames[0].at(W / 2, W / 2));
    EXPECT_NEAR(centre.x, W / 2, 1);
    EXPECT_NEAR(centre.y, W / 2, 1);
    Point last = positionOf(shrink.frames[20].at(0, 0));
    EXPECT_EQ(last, (Point{0, 0}));
    Point lastFar = positionOf(shrink.frames[20].at(200, 100));
    EXPECT_EQ(lastFar, (Point{200, 100}));
}

TEST(Zoom, EnlargeEndsOnTheEnlargedPictureAndReturnsIt) {
    WandPtr canvas = positionCodedCanvas(256, 256);
    EffectRun enlarge = runEffectIndex(kEnlarge, 256, 256, canvas.get(), nullptr);
    ASSERT_EQ(enlarge.frames.size(), 21u);
    EXPECT_EQ(positionOf(enlarge.frames[0].at(30, 40)), (Point{30, 40}));
    Point corner = positionOf(enlarge.frames[20].at(0, 0));
    EXPECT_NEAR(corner.x, 41, 1);
    EXPECT_EQ(frameOf(enlarge.result.get()), enlarge.frames[20]);
}

TEST(Zoom, PreviousFrameFadesOutOverTheFirstFiveFrames) {
    WandPtr canvas = solidCanvas(256, 256, "#ff0000");
    EffectRun shrink =
        runEffectIndex(kShrink, 256, 256, canvas.get(), solidCanvas(256, 256, "#0000ff"));
    const double opacities[] = {0.85, 0.70, 0.55, 0.40, 0.25};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(near(shrink.frames[i].at(128, 128), blueOverRed(opacities[i])))
            << i << " " << shrink.frames[i].at(128, 128);
    EXPECT_EQ(shrink.frames[5].at(128, 128), kRed);
}
