// The grow family: the schedule, the copy's size and anchor, and the frames.
#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/grow.h"

using namespace harness;

namespace {

struct Member {
    int index;
    GrowAnchor anchor;
};
const Member kMembers[] = {
    {5, GrowAnchor::TopLeft},       {7, GrowAnchor::BottomLeft},
    {9, GrowAnchor::TopRight},      {11, GrowAnchor::BottomRight},
    {13, GrowAnchor::LeftMiddle},   {14, GrowAnchor::TopMiddle},
    {15, GrowAnchor::RightMiddle},  {16, GrowAnchor::BottomMiddle},
    {17, GrowAnchor::Center},
};

} // namespace

TEST(GrowSchedule, StepsUpToTheExtentWithTheLastStepClamped) {
    std::vector<int> w800 = growSchedule(800, 50);
    ASSERT_EQ(w800.size(), 16u);
    EXPECT_EQ(w800.front(), 50);
    EXPECT_EQ(w800[14], 750);
    EXPECT_EQ(w800.back(), 800);

    std::vector<int> w1000 = growSchedule(1000, 62);
    ASSERT_EQ(w1000.size(), 17u);
    EXPECT_EQ(w1000[15], 992);
    EXPECT_EQ(w1000.back(), 1000);

    std::vector<int> centre = growSchedule(800, 47);
    ASSERT_EQ(centre.size(), 18u);
    EXPECT_EQ(centre[16], 799);
}

TEST(GrowSchedule, AStepThatCannotGrowGivesTheFinalFrameAlone) {
    EXPECT_EQ(growSchedule(800, 800), std::vector<int>{800});
    EXPECT_EQ(growSchedule(800, 900), std::vector<int>{800});
    EXPECT_EQ(growSchedule(800, 0), std::vector<int>{800}) << "a zero step must not loop";
    EXPECT_EQ(growSchedule(800, -5), std::vector<int>{800});

    // Count mode still stores a count, and rendering writes what it counted.
    int frames = -1;
    EffectContext ctx;
    ctx.W = 64;
    ctx.H = 48;
    ctx.holdFrames = 3;
    ctx.outFrames = &frames;
    EXPECT_EQ(effect_grow(ctx, variantOf(GrowAnchor::Center), {0}), nullptr);
    EXPECT_EQ(frames, 4);
    WandPtr canvas = solidCanvas(64, 48, "#ff0000");
    RawFrames raw;
    RecordingSink sink;
    EffectContext render;
    render.W = 64;
    render.H = 48;
    render.canvas = canvas.get();
    sink.attach(render);
    render.previous = solidCanvas(64, 48, "#0000ff");
    WandPtr result = effect_grow(render, variantOf(GrowAnchor::TopLeft), {100});
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(sink.calls(), 1);
    EXPECT_EQ(sink.frame(0), frameOf(canvas.get()));
}

TEST(GrowSchedule, CountModeStoresTheScheduleAndTheHoldFrames) {
    EXPECT_EQ(countEffectIndex(5, 800, 800, 25), 16 + 25);
    EXPECT_EQ(countEffectIndex(13, 1000, 600, 2), 17 + 2);
    EXPECT_EQ(countEffectIndex(17, 800, 450, 0), 18);
    EXPECT_EQ(countEffectIndex(14, 400, 992, 1), 16 + 1) << "steps along the height";
    EXPECT_EQ(countEffectIndex(16, 1080, 1448, 0), 17);
}

TEST(GrowPlacement, WorkedExamples) {
    // 800 x 450, ratio 0.5625.
    EXPECT_EQ(growPlacement(GrowAnchor::BottomLeft, 800, 450, 50), (GrowPlacement{50, 28, 0, 421}));
    EXPECT_EQ(growPlacement(GrowAnchor::BottomLeft, 800, 450, 750),
              (GrowPlacement{750, 421, 0, 28}));
    // 750 x 1000: the ratio rounds to 1.3333334 in single precision.
    EXPECT_EQ(growPlacement(GrowAnchor::TopMiddle, 750, 1000, 62), (GrowPlacement{46, 62, 351, 0}));
    EXPECT_EQ(growPlacement(GrowAnchor::TopMiddle, 750, 1000, 124),
              (GrowPlacement{92, 124, 328, 0}));
    EXPECT_EQ(growPlacement(GrowAnchor::BottomMiddle, 750, 1000, 124),
              (GrowPlacement{92, 124, 328, 876}));
    // The other anchors at 800 x 450, w = 350 (height 196.875).
    EXPECT_EQ(growPlacement(GrowAnchor::TopLeft, 800, 450, 350), (GrowPlacement{350, 196, 0, 0}));
    EXPECT_EQ(growPlacement(GrowAnchor::TopRight, 800, 450, 350),
              (GrowPlacement{350, 196, 450, 0}));
    EXPECT_EQ(growPlacement(GrowAnchor::BottomRight, 800, 450, 350),
              (GrowPlacement{350, 196, 450, 253}));
    EXPECT_EQ(growPlacement(GrowAnchor::LeftMiddle, 800, 450, 350),
              (GrowPlacement{350, 196, 0, 126}));
    EXPECT_EQ(growPlacement(GrowAnchor::RightMiddle, 800, 450, 350),
              (GrowPlacement{350, 196, 450, 126}));
    EXPECT_EQ(growPlacement(GrowAnchor::Center, 800, 450, 350),
              (GrowPlacement{350, 196, 225, 126}));
}

TEST(Grow, EveryMemberRevealsTheNewPicture) {
    for (const Member& member : kMembers) expectRevealToRed(member.index, 96, 64);
}

TEST(Grow, TheCopyShowsTheWholePictureScaledAtItsAnchor) {
    const int W = 160, H = 90;  // ratio 0.5625, steps 10, 5 and 9
    WandPtr canvas = positionCodedCanvas(W, H);
    for (const Member& member : kMembers) {
        SCOPED_TRACE(member.index);
        EffectRun grow =
            runEffectIndex(member.index, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"));
        const int k = 7;
        int step = member.index == 17 ? W / 17 : growsAlongHeight(member.anchor) ? H / 16 : W / 16;
        GrowPlacement p = growPlacement(member.anchor, W, H, (k + 1) * step);
        ASSERT_GT(grow.frames.size(), static_cast<std::size_t>(k));
        const Frame& frame = grow.frames[k];
        // The copy's middle shows the picture's middle, a point a quarter in
        // shows the point a quarter into the picture.
        Point middle = positionOf(frame.at(p.x + p.width / 2, p.y + p.height / 2));
        EXPECT_NEAR(middle.x, W / 2, 2);
        EXPECT_NEAR(middle.y, H / 2, 2);
        Point quarter = positionOf(frame.at(p.x + p.width / 4, p.y + p.height / 4));
        EXPECT_NEAR(quarter.x, W / 4, 3);
        EXPECT_NEAR(quarter.y, H / 4, 3);
        // Beside the copy the previous frame still shows.
        int outsideX = p.x > 0 ? p.x - 1 : p.x + p.width;
        EXPECT_EQ(frame.at(outsideX, p.y + p.height / 2), kBlue);
        EXPECT_EQ(grow.frames.back(), frameOf(canvas.get()));
    }
}

TEST(Grow, DrawsOnThePreviousFrameItselfAndReturnsIt) {
    // 320 x 180 from the bottom left: the last copy (300 x 168 at y 11) leaves
    // the bottom row to what earlier copies drew there: only those of a whole
    // height (up to 240 wide) reached it, so beyond them it is still blue.
    const int W = 320, H = 180;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    WandPtr previous = solidCanvas(W, H, "#0000ff");
    MagickWand* previousWand = previous.get();
    EffectRun grow = runEffectIndex(7, W, H, canvas.get(), std::move(previous));
    ASSERT_EQ(grow.frames.size(), 16u);
    EXPECT_EQ(grow.frames[14].at(250, H - 1), kBlue);
    EXPECT_EQ(grow.frames[14].at(250, H - 2), kRed);
    EXPECT_EQ(grow.frames[14].at(10, H - 1), kRed);
    EXPECT_EQ(grow.frames[14].at(10, 0), kBlue);
    EXPECT_EQ(grow.result.get(), previousWand);
    EXPECT_EQ(frameOf(grow.result.get()), frameOf(canvas.get()));
}

TEST(Grow, FirstPictureGrowsOverBlack) {
    WandPtr canvas = solidCanvas(96, 64, "#ff0000");
    EffectRun grow = runEffectIndex(11, 96, 64, canvas.get(), nullptr);
    ASSERT_FALSE(grow.frames.empty());
    EXPECT_EQ(grow.frames[0].at(0, 0), kBlack);
    EXPECT_EQ(grow.frames[0].at(93, 62), kRed);
}
