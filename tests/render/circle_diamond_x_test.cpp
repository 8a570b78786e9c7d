// Circle, diamond and X: the shapes of each frame, the frame counts, and
// which picture shows inside and outside the shapes.
#include <gtest/gtest.h>

#include <cmath>

#include "effect_harness.h"
#include "render/effects/circle_diamond_x.h"

using namespace harness;

namespace {

constexpr int kCircleOut = 25, kCircleIn = 26, kDiamondOut = 55, kDiamondIn = 56, kXOut = 58,
              kXIn = 59;

const CircleShape& circleOf(const Shape& shape) { return std::get<CircleShape>(shape.at(0)); }

} // namespace

TEST(CircleShapes, BandWidthsStepAcrossTheFrame) {
    std::vector<Shape> out = circleShapes(800, 800, 50, true);
    ASSERT_EQ(out.size(), 15u);
    EXPECT_EQ(circleOf(out.front()).rim, (ShapePoint{425, 425}));
    EXPECT_NEAR(circleOf(out.front()).radius(), 35.36, 0.01);
    EXPECT_NEAR(circleOf(out.back()).radius(), 530.33, 0.01);
    std::vector<Shape> in = circleShapes(800, 800, 50, false);
    ASSERT_EQ(in.size(), 15u);
    EXPECT_EQ(circleOf(in.front()).rim, (ShapePoint{775, 775}));
    EXPECT_EQ(circleOf(in.back()).rim, (ShapePoint{425, 425}));
    // The rim's y keeps its fraction: 800 x 450, w = 50 gives 225 + 14.0625.
    EXPECT_EQ(circleOf(circleShapes(800, 450, 50, true)[0]).rim, (ShapePoint{425, 239.0625}));
    EXPECT_EQ(circleShapes(1000, 600, 62, true).size(), 16u);
    EXPECT_EQ(circleShapes(1000, 600, 62, false).size(), 16u);
    EXPECT_TRUE(circleShapes(800, 800, 0, true).empty()) << "a zero step draws no circle";
}

TEST(DiamondShapes, VerticesFollowTheFrameProportions) {
    // Tall frame 720 x 1280: t = 80, m = 16; d / r with r = 1.7777778 falls
    // a hair short of d * 0.5625 and truncates.
    std::vector<Shape> tall = diamondShapes(720, 1280, true);
    ASSERT_EQ(tall.size(), 15u);
    EXPECT_EQ(ringsOf(tall[0])[0],
              (std::vector<ShapePoint>{{360, 560}, {315, 640}, {360, 720}, {404, 640}}));
    // Wide frame 800 x 450: t = 50; d = 100 gives d * r = 56.25.
    std::vector<Shape> wide = diamondShapes(800, 450, true);
    ASSERT_EQ(wide.size(), 15u);
    EXPECT_EQ(ringsOf(wide[1])[0],
              (std::vector<ShapePoint>{{400, 168}, {300, 225}, {400, 281}, {500, 225}}));
    std::vector<Shape> closing = diamondShapes(800, 450, false);
    EXPECT_EQ(ringsOf(closing.back())[0], ringsOf(wide.front())[0]);
    EXPECT_EQ(ringsOf(closing.front())[0][3], (ShapePoint{400 + 750, 225}));
    // Not a multiple: 1000 x 256 has t = 62, m = 17.
    EXPECT_EQ(diamondShapes(1000, 256, true).size(), 16u);
}

TEST(XShapes, WedgesAndTrianglesOfTheFirstFrame) {
    std::vector<Shape> opening = xShapes(800, 800, 25, true);
    ASSERT_EQ(opening.size(), 15u);
    auto wedges = ringsOf(opening[0]);
    ASSERT_EQ(wedges.size(), 4u);
    using Ring = std::vector<ShapePoint>;
    EXPECT_EQ(wedges[0], (Ring{{400, 375}, {25, 0}, {775, 0}})) << "tip 25 px above the centre";
    EXPECT_EQ(wedges[1], (Ring{{375, 400}, {0, 25}, {0, 775}}));
    EXPECT_EQ(wedges[2], (Ring{{400, 425}, {25, 800}, {775, 800}}));
    EXPECT_EQ(wedges[3], (Ring{{425, 400}, {800, 25}, {800, 775}}));

    auto triangles = ringsOf(xShapes(800, 450, 25, false)[1]);  // a = 50, q = 28.125
    EXPECT_EQ(triangles[0], (Ring{{400, 28}, {350, 0}, {450, 0}}));
    EXPECT_EQ(triangles[1], (Ring{{50, 225}, {0, 196}, {0, 253}}));
    EXPECT_EQ(triangles[2], (Ring{{400, 421}, {350, 450}, {450, 450}}));
    EXPECT_EQ(triangles[3], (Ring{{750, 225}, {800, 196}, {800, 253}}));
    EXPECT_EQ(xShapes(810, 450, 25, true).size(), 16u) << "405 / 25 leaves a remainder";
    EXPECT_TRUE(xShapes(800, 450, 0, false).empty()) << "a zero step draws no X";
}

TEST(CircleDiamondX, CountModeStoresTheShapesThePlainFrameAndTheHoldFrames) {
    for (int index : {kCircleOut, kCircleIn, kDiamondOut, kDiamondIn, kXOut, kXIn})
        EXPECT_EQ(countEffectIndex(index, 800, 800, 4), 16 + 4) << index;
    EXPECT_EQ(countEffectIndex(kDiamondIn, 720, 1280, 0), 16);
    EXPECT_EQ(countEffectIndex(kCircleOut, 1000, 600, 0), 17);
    EXPECT_EQ(countEffectIndex(kXIn, 3840, 256, 0), 16);
}

TEST(CircleDiamondX, EveryMemberRevealsTheNewPicture) {
    for (int index : {kCircleOut, kCircleIn, kDiamondOut, kDiamondIn, kXOut, kXIn})
        expectRevealToRed(index, 96, 64);
}

TEST(CircleDiamondX, CircleFromTheCentreShowsThePictureInsideAndLeavesTheCorners) {
    const int W = 160, H = 160;  // step 10; frame 7 has w = 80, radius 56.6
    WandPtr canvas = positionCodedCanvas(W, H);
    EffectRun run = runEffectIndex(kCircleOut, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"));
    ASSERT_EQ(run.frames.size(), 16u);
    EXPECT_EQ(positionOf(run.frames[7].at(80 + 50, 80)), (Point{130, 80}));
    EXPECT_EQ(positionOf(run.frames[7].at(60, 70)), (Point{60, 70}));
    EXPECT_EQ(run.frames[7].at(80 + 60, 80), kBlue);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(run.frames[i].at(0, 0), kBlue) << i;
    EXPECT_EQ(run.frames[15], frameOf(canvas.get()));
}

TEST(CircleDiamondX, ClosingShapesShowThePreviousFrameInside) {
    const int W = 160, H = 120;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    // Circle: frame 0 has w = 150, radius hypot(75, 56.25) = 93.75.
    EffectRun circle = runEffectIndex(kCircleIn, W, H, canvas.get(), positionCodedCanvas(W, H));
    EXPECT_EQ(positionOf(circle.frames[0].at(80 + 70, 60)), (Point{150, 60}));
    EXPECT_EQ(circle.frames[0].at(0, 0), kRed);
    // Diamond: t = 10, frame 0 has d = 150 across, 112 up and down.
    expectColours(runEffectIndex(kDiamondIn, W, H, canvas.get(), solidCanvas(W, H, "#0000ff")),
                  {{0, {80, 60}, kBlue}, {0, {80, 2}, kBlue}, {0, {2, 2}, kRed}});
    // A first picture closes in on black.
    expectColours(runEffectIndex(kDiamondIn, W, H, canvas.get(), nullptr),
                  {{0, {80, 60}, kBlack}});
}

TEST(CircleDiamondX, XOpensFromTheCentreAndClosesFromTheEdges) {
    const int W = 160, H = 160;  // step 5, n = 16
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun opening = runEffectIndex(kXOut, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"));
    ASSERT_EQ(opening.frames.size(), 16u);
    // Frame 0 (a = 5): the picture along the diagonals, the previous frame
    // in the wedges between them.
    expectColours(opening, {{0, {20, 20}, kRed},
                            {0, {80, 80}, kRed},
                            {0, {80, 20}, kBlue},
                            {0, {20, 80}, kBlue}});
    // Closing, frame 0 (a = 5): a triangle of the picture at each edge's
    // middle only; frame 14 (a = 75): the previous frame is left as a thin X.
    expectColours(runEffectIndex(kXIn, W, H, canvas.get(), solidCanvas(W, H, "#0000ff")),
                  {{0, {80, 1}, kRed},
                   {0, {158, 80}, kRed},
                   {0, {80, 20}, kBlue},
                   {0, {20, 20}, kBlue},
                   {14, {80, 20}, kRed},
                   {14, {80, 80}, kBlue}});
}
