#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/shrink.h"

using namespace harness;

namespace {

struct Member {
    int index;
    ShrinkMember member;
};
const Member kMembers[] = {
    {66, ShrinkMember::EdgesToCenter},          {67, ShrinkMember::SidesToMiddleHorizontal},
    {68, ShrinkMember::SidesToMiddleVertical},  {81, ShrinkMember::TopLeft},
    {82, ShrinkMember::BottomLeft},             {83, ShrinkMember::TopRight},
    {84, ShrinkMember::BottomRight},
};

// The copy's extent in the first frame.
int firstExtent(const Member& m, int W, int H) {
    switch (m.index) {
    case 66: return W - W / 17;
    case 67: return W - W / 16;
    case 68: return H - H / 16;
    default: return 15 * shrinkToCornerUnit(m.member, W, H);
    }
}

} // namespace

TEST(ShrinkSchedule, SidesToMiddleSplitTheLastStep) {
    // A last full step is covered in three frames: 50 -> 37 -> 12 -> 0.
    std::vector<int> expected = then(range(750, 50, -50), {37, 12, 0});
    EXPECT_EQ(shrinkToMiddleSteps(800, 50, true), expected);
    EXPECT_EQ(expected.size(), 18u);
    // A short last step is halved: 10 -> 5 -> 0.
    expected = then(range(385, 10, -25), {5, 0});
    EXPECT_EQ(shrinkToMiddleSteps(410, 25, true), expected);
}

TEST(ShrinkSchedule, EdgesToCenterClampsTheLastStep) {
    std::vector<int> expected = then(range(753, 48, -47), {1, 0});
    EXPECT_EQ(shrinkToMiddleSteps(800, 47, false), expected);
    EXPECT_EQ(expected.size(), 18u);
    EXPECT_EQ(shrinkToMiddleSteps(816, 48, false).size(), 17u);
}

TEST(ShrinkSchedule, DegenerateStepsEndOrRenderNothing) {
    EXPECT_TRUE(shrinkToMiddleSteps(100, 0, true).empty()) << "a zero step would never end";
    EXPECT_TRUE(shrinkToMiddleSteps(100, 0, false).empty());
    EXPECT_TRUE(shrinkToMiddleSteps(100, 101, true).empty());
    EXPECT_EQ(shrinkToMiddleSteps(100, 100, true), std::vector<int>{0});
    EXPECT_EQ(shrinkToMiddleSteps(3, 1, true), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(shrinkToMiddleSteps(2, 1, true), (std::vector<int>{1, 0}));
}

TEST(ShrinkSchedule, CornersTakeFifteenStepsAndTheFinalFrame) {
    std::vector<int> steps = shrinkToCornerSteps(50);
    ASSERT_EQ(steps.size(), 16u);
    EXPECT_EQ(steps.front(), 750);
    EXPECT_EQ(steps[14], 50);
    EXPECT_EQ(steps.back(), 0);
    EXPECT_EQ(shrinkToCornerUnit(ShrinkMember::BottomLeft, 800, 450), 50);
    EXPECT_EQ(shrinkToCornerUnit(ShrinkMember::BottomRight, 800, 450), 28);
    for (int index : {81, 82, 83, 84})
        for (auto [W, H] : {std::pair{256, 256}, {800, 450}, {1080, 1440}, {3840, 256}})
            EXPECT_EQ(countEffectIndex(index, W, H, 7), 16 + 7) << index << " " << W << "x" << H;
}

TEST(ShrinkPlacement, WorkedExamplesAt800x450) {
    const float r = 0.5625f;
    using M = ShrinkMember;
    EXPECT_EQ(shrinkPlacement(M::EdgesToCenter, 800, 450, r, 753),
              (ShrinkPlacement{23, 13, 753, 423}));
    EXPECT_EQ(shrinkPlacement(M::EdgesToCenter, 800, 450, r, 706),
              (ShrinkPlacement{47, 26, 706, 397}));
    EXPECT_EQ(shrinkPlacement(M::EdgesToCenter, 800, 450, r, 1).height, 0);
    EXPECT_EQ(shrinkPlacement(M::BottomLeft, 800, 450, r, 750), (ShrinkPlacement{0, 28, 750, 421}));
    EXPECT_EQ(shrinkPlacement(M::BottomLeft, 800, 450, r, 50), (ShrinkPlacement{0, 421, 50, 28}));
    EXPECT_EQ(shrinkPlacement(M::BottomRight, 800, 450, r, 420),
              (ShrinkPlacement{53, 30, 746, 420}));
    EXPECT_EQ(shrinkPlacement(M::BottomRight, 800, 450, r, 28),
              (ShrinkPlacement{750, 422, 49, 28}));
    EXPECT_EQ(shrinkPlacement(M::TopRight, 800, 450, r, 28), (ShrinkPlacement{750, 0, 49, 28}));
    EXPECT_EQ(shrinkPlacement(M::TopLeft, 800, 450, r, 50), (ShrinkPlacement{0, 0, 50, 28}));
    EXPECT_EQ(shrinkPlacement(M::SidesToMiddleHorizontal, 800, 450, r, 37),
              (ShrinkPlacement{381, 0, 37, 450}));
    EXPECT_EQ(shrinkPlacement(M::SidesToMiddleVertical, 800, 450, r, 101),
              (ShrinkPlacement{0, 174, 800, 101}));
}

TEST(Shrink, EveryMemberRevealsThePictureAsThePreviousFrameShrinks) {
    for (const Member& m : kMembers) expectRevealToRed(m.index, 128, 96);
}

TEST(Shrink, FirstFrameShowsTheShrunkPreviousFrameWhereTheGeometryPutsIt) {
    const int W = 128, H = 96;
    const float r = 0.75f;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    for (const Member& m : kMembers) {
        SCOPED_TRACE(m.index);
        EffectRun shrink =
            runEffectIndex(m.index, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"));
        ASSERT_FALSE(shrink.frames.empty());
        ShrinkPlacement at = shrinkPlacement(m.member, W, H, r, firstExtent(m, W, H));
        EXPECT_EQ(pixelsNear(shrink.frames[0], kBlue), at.width * at.height);
        EXPECT_EQ(shrink.frames[0].at(at.x, at.y), kBlue);
        EXPECT_EQ(shrink.frames[0].at(at.x + at.width - 1, at.y + at.height - 1), kBlue);
    }
}

TEST(Shrink, FirstPictureHasABlackRectangleShrinkAway) {
    const int W = 96, H = 64;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun shrink = runEffectIndex(84, W, H, canvas.get(), nullptr);
    ASSERT_EQ(shrink.frames.size(), 16u);
    EXPECT_EQ(shrink.frames[0].at(W - 8, H - 1), kBlack);
    EXPECT_EQ(shrink.frames[0].at(0, 0), kRed);
}

TEST(Shrink, ASliverTooThinToDrawShowsThePlainPictureAndKeepsTheCount) {
    // 800x450, index 66: the last shrinking frame (d = 1) would be 1 x 0.
    const int W = 800, H = 450;
    EXPECT_EQ(countEffectIndex(66, W, H, 2), 18 + 2);
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun shrink = runEffectIndex(66, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"), 2);
    ASSERT_EQ(shrink.frames.size(), 20u);
    EXPECT_EQ(pixelsNear(shrink.frames[15], kBlue), 48 * 27) << "d = 48";
    EXPECT_EQ(shrink.frames[16], frameOf(canvas.get())) << "d = 1 draws nothing";
}
