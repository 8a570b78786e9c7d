#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/rotate.h"

using namespace harness;

namespace {

constexpr int kCwGrow = 45, kCcwGrow = 46, kCwShrink = 47, kCcwShrink = 48;

// Red laid over blue at opacity a.
Rgb redOverBlue(double a) {
    return {static_cast<int>(255 * a + 0.5), 0, static_cast<int>(255 * (1 - a) + 0.5)};
}


WandPtr blue200() { return solidCanvas(200, 200, "#0000ff"); }

} // namespace

TEST(RotateSchedule, PieceScalesTurnsAndFadesAsInTheWorkedFrames) {
    auto grow = rotateSchedule(800, 800, true, true);
    ASSERT_EQ(grow.size(), 20u);
    EXPECT_EQ(grow[0].width, 40);
    EXPECT_EQ(grow[0].height, 40);
    EXPECT_EQ(grow[0].angle, 18);
    EXPECT_NEAR(grow[0].opacity, 0.10, 1e-9);
    EXPECT_NEAR(grow[17].opacity, 0.95, 1e-9);
    EXPECT_EQ(grow[18].width, 760);
    EXPECT_EQ(grow[18].angle, 342);
    EXPECT_EQ(grow[18].opacity, 1.0) << "the accumulated sum passes 1.0: opaque";
    EXPECT_TRUE(grow[18].shown);
    EXPECT_FALSE(grow[19].shown) << "the plain picture";
    EXPECT_EQ(rotateSchedule(800, 800, true, false)[0].angle, 342);
    EXPECT_EQ(rotateSchedule(800, 800, true, false)[18].angle, 18);

    auto shrink = rotateSchedule(800, 450, false, true);
    EXPECT_EQ(shrink[0].width, 760);
    EXPECT_EQ(shrink[0].height, 418);
    EXPECT_EQ(shrink[0].angle, 18);
    EXPECT_NEAR(shrink[0].opacity, 0.95, 1e-9);
    EXPECT_EQ(shrink[18].width, 40);
    EXPECT_EQ(shrink[18].angle, 342);
    EXPECT_NEAR(shrink[18].opacity, 0.05, 1e-9);
    EXPECT_TRUE(shrink[18].shown);
    EXPECT_EQ(rotateSchedule(800, 450, false, false)[0].angle, 342);
}

TEST(Rotate, EveryMemberTurnsBlueIntoRed) {
    for (int index = kCwGrow; index <= kCcwShrink; ++index) expectRevealToRed(index, 64, 48);
}

TEST(Rotate, QuarterTurnsAreExactAndCentred) {
    // 200 x 100: piece i * 10 x i * 5, turned 18 * i degrees.
    WandPtr red = solidCanvas(200, 100, "#ff0000");
    EffectRun grow = runEffectIndex(kCwGrow, 200, 100, red.get(), solidCanvas(200, 100, "#0000ff"));
    // Frame 5: 50 x 25 turned 90 degrees is 25 x 50 at (87, 25), opacity 0.30.
    const Frame& five = grow.frames[4];
    EXPECT_TRUE(near(five.at(87, 25), redOverBlue(0.30))) << five.at(87, 25);
    EXPECT_TRUE(near(five.at(111, 74), redOverBlue(0.30))) << five.at(111, 74);
    EXPECT_EQ(five.at(86, 50), kBlue);
    EXPECT_EQ(five.at(112, 50), kBlue);
    EXPECT_EQ(five.at(100, 24), kBlue);
    EXPECT_EQ(five.at(100, 75), kBlue);
    // Frame 10: 100 x 50 turned 180 degrees at (50, 25), opacity 0.55.
    const Frame& ten = grow.frames[9];
    EXPECT_TRUE(near(ten.at(50, 25), redOverBlue(0.55))) << ten.at(50, 25);
    EXPECT_TRUE(near(ten.at(149, 74), redOverBlue(0.55))) << ten.at(149, 74);
    EXPECT_EQ(ten.at(49, 50), kBlue);
    EXPECT_EQ(ten.at(150, 50), kBlue);
    // Frame 15: 150 x 75 turned 270 degrees is 75 x 150 at (62, -25).
    const Frame& fifteen = grow.frames[14];
    EXPECT_TRUE(near(fifteen.at(62, 0), redOverBlue(0.80))) << fifteen.at(62, 0);
    EXPECT_TRUE(near(fifteen.at(136, 99), redOverBlue(0.80))) << fifteen.at(136, 99);
    EXPECT_EQ(fifteen.at(61, 50), kBlue);
    EXPECT_EQ(fifteen.at(137, 50), kBlue);
}

TEST(Rotate, GrowingPiecesTurnTheirWayOverATransparentGround) {
    // Top half red, bottom half green: the turned boundary tells the way.
    WandPtr canvas = solidCanvas(200, 200, "#00ff00");
    WandPtr top = solidCanvas(200, 100, "#ff0000");
    MagickCompositeImage(canvas.get(), top.get(), OverCompositeOp, 0, 0);
    const Rgb green = rgbOf("#00ff00");
    // Frame 19: 190 x 190, opaque. Clockwise it is turned 342 degrees (18
    // back), so left of the centre the boundary lies 19 pixels lower.
    EffectRun cw = runEffectIndex(kCwGrow, 200, 200, canvas.get(), blue200());
    EXPECT_EQ(cw.frames[18].at(40, 110), kRed);
    EXPECT_EQ(cw.frames[18].at(160, 90), green);
    EffectRun ccw = runEffectIndex(kCcwGrow, 200, 200, canvas.get(), blue200());
    EXPECT_EQ(ccw.frames[18].at(40, 110), green);
    EXPECT_EQ(ccw.frames[18].at(160, 90), kRed);
    // The corners the turn uncovers show the previous frame.
    EXPECT_EQ(cw.frames[18].at(2, 2), kBlue);
    EXPECT_EQ(ccw.frames[18].at(197, 2), kBlue);
}

TEST(Rotate, ShrinkingPreviousFrameFadesAwayOverThePicture) {
    WandPtr red = solidCanvas(200, 200, "#ff0000");
    EffectRun shrink = runEffectIndex(kCwShrink, 200, 200, red.get(), blue200());
    ASSERT_EQ(shrink.frames.size(), 20u);
    Rgb centre = shrink.frames[0].at(100, 100);
    EXPECT_TRUE(near(centre, redOverBlue(0.05))) << centre;
    EXPECT_EQ(shrink.frames[0].at(2, 2), kRed);
    EXPECT_TRUE(near(shrink.frames[18].at(100, 100), redOverBlue(0.95)));
    EXPECT_EQ(shrink.frames[18].at(90, 100), kRed) << "a 10 x 10 piece";
    // A first picture: a black square turns away.
    EffectRun first = runEffectIndex(kCcwShrink, 200, 200, red.get(), nullptr);
    centre = first.frames[0].at(100, 100);
    EXPECT_TRUE(near(centre, {13, 0, 0})) << centre;
}

TEST(Rotate, CountsTwentyFramesAtEverySize) {
    expectCountAtEverySize({kCwGrow, kCcwGrow, kCwShrink, kCcwShrink}, 20);
}
