#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/staircase_blinds.h"

using namespace harness;

namespace {

constexpr int kStepsLeftToRight = 41, kStepsRightToLeft = 42, kStepsTopToBottom = 43,
              kStepsBottomToTop = 44, kBlindsAcross = 49, kBlindsDown = 50;

} // namespace

TEST(StaircaseSchedule, BandGrowthAndFramesOfTheWorkedExamples) {
    StaircaseGeometry square = staircaseGeometry(Direction::LeftToRight, 800, 800, 16);
    EXPECT_EQ(square.band, 50);
    EXPECT_EQ(square.growth, 9.375);
    EXPECT_EQ(square.frames, 21);
    auto bands = staircaseRectangles(Direction::LeftToRight, 800, 800, square, 20);
    ASSERT_EQ(bands.size(), 20u);
    EXPECT_EQ(bands[0], (RectangleShape{0, 0, 187.5, 800}));
    EXPECT_EQ(bands[15], (RectangleShape{750, 0, 796.875, 800}))
        << "a sliver stays until frame 21";

    // The vertical members take the longer side: 50 on 800 x 450, 80 on 720 x 1280.
    EXPECT_EQ(staircaseGeometry(Direction::TopToBottom, 800, 450, 16).band, 50);
    EXPECT_EQ(staircaseGeometry(Direction::BottomToTop, 720, 1280, 16).band, 80);
    EXPECT_EQ(staircaseGeometry(Direction::RightToLeft, 720, 1280, 16).band, 45);
    for (auto [W, H] : {std::pair{256, 256}, std::pair{1080, 1440}, std::pair{3840, 256}})
        EXPECT_EQ(staircaseGeometry(Direction::TopToBottom, W, H, 16).frames, 21) << W << "x" << H;

    StaircaseGeometry tall = staircaseGeometry(Direction::BottomToTop, 720, 1280, 16);
    EXPECT_EQ(staircaseRectangles(Direction::BottomToTop, 720, 1280, tall, 2)[1],
              (RectangleShape{0, 1200, 720, 1185}));
    EXPECT_EQ(staircaseRectangles(Direction::RightToLeft, 800, 800, square, 1)[0],
              (RectangleShape{800, 0, 790.625, 800}));
    EXPECT_EQ(staircaseRectangles(Direction::TopToBottom, 800, 450, square, 1)[0],
              (RectangleShape{0, 0, 800, 9.375}));
    EXPECT_EQ(staircaseGeometry(Direction::LeftToRight, 800, 800, 0).frames, 1)
        << "no bands: no division by zero, just the plain picture";
}

TEST(BlindsSchedule, SlatsGrowAnEighteenthOfTheirWidthPerFrame) {
    auto slats = blindsRectangles(false, 800, 450, 14, 17);
    ASSERT_EQ(slats.size(), 14u);
    const double a = 800.0 / 14;
    EXPECT_DOUBLE_EQ(slats[1].x0, a);
    EXPECT_DOUBLE_EQ(slats[1].x1, a + 17 * (a / 18.0));
    EXPECT_EQ(slats[1].y1, 450);
    auto down = blindsRectangles(true, 800, 450, 14, 1);
    EXPECT_DOUBLE_EQ(down[13].y0, 13 * (450.0 / 14));
    EXPECT_EQ(down[13].x1, 800);
    EXPECT_EQ(blindsRectangles(false, 800, 450, 0, 3).size(), 1u) << "no slats counts as one";
}

TEST(StaircaseBlinds, CountModeStoresTheScheduleAtEverySize) {
    for (int index : {kStepsLeftToRight, kStepsRightToLeft, kStepsTopToBottom, kStepsBottomToTop})
        EXPECT_EQ(countEffectIndex(index, 800, 450, 3), 21 + 3) << index;
    EXPECT_EQ(countEffectIndex(kBlindsAcross, 3840, 256, 3), 18 + 3);
    EXPECT_EQ(countEffectIndex(kBlindsDown, 256, 400, 0), 18);
}

TEST(StaircaseBlinds, EveryMemberTurnsBlueIntoRed) {
    for (int index : {kStepsLeftToRight, kStepsRightToLeft, kStepsTopToBottom, kStepsBottomToTop,
                      kBlindsAcross, kBlindsDown})
        expectRevealToRed(index, 160, 120);
}

TEST(Staircase, BandsStartOneAfterAnotherAndLeaveASliver) {
    // 800 wide: b = 50, g = 9.375; frame k is at index k - 1.
    EffectRun run = runBlueToRed(kStepsLeftToRight, 800, 64, 0);
    ASSERT_EQ(run.frames.size(), 21u);
    expectColours(run, {{0, {4, 30}, kRed},
                        {0, {20, 30}, kBlue},
                        {0, {52, 30}, kBlue, "band 1 starts on frame 2"},
                        {1, {52, 30}, kRed},
                        {1, {45, 30}, kBlue},
                        {19, {780, 30}, kRed},
                        {19, {799, 30}, kBlue, "band 16 starts beyond the last column"}});
    EXPECT_GT(run.frames[19].at(797, 30).b, 0) << "the last band ends at 796.875";

    // The mirror is not exact: band 16 starts at x = 0, a pixel centre, and
    // covers column 0, so the sliver lies on columns 1 .. 3.
    expectColours(runBlueToRed(kStepsRightToLeft, 800, 64, 0), {{0, {795, 30}, kRed},
                                                                 {0, {780, 30}, kBlue},
                                                                 {19, {0, 30}, kRed},
                                                                 {19, {1, 30}, kBlue}});
}

TEST(Staircase, VerticalBandsOnTheLongerSideCoverAWideFrameEarly) {
    // 800 x 450 scaled to 320 x 180: b = 20 from the width, only 9 bands fall
    // inside; the picture covers the frame from frame 14 on.
    EffectRun down = runBlueToRed(kStepsTopToBottom, 320, 180, 0);
    ASSERT_EQ(down.frames.size(), 21u);
    EXPECT_FALSE(allOf(down.frames[12], kRed)) << "band 8 ends at 178.75";
    EXPECT_TRUE(allOf(down.frames[13], kRed));
    expectColours(down, {{0, {160, 0}, kRed}, {0, {160, 8}, kBlue}});
    expectColours(runBlueToRed(kStepsBottomToTop, 320, 180, 0),
                  {{0, {160, 179}, kRed}, {0, {160, 171}, kBlue}});
}

TEST(Blinds, EverySlatKeepsAGapUntilThePlainPicture) {
    // 800 wide: a = 57.14, slats grow 3.17 per frame; frame 17 covers 17/18.
    EffectRun run = runBlueToRed(kBlindsAcross, 800, 32, 0);
    ASSERT_EQ(run.frames.size(), 18u);
    expectColours(run, {{0, {1, 10}, kRed},
                        {0, {6, 10}, kBlue},
                        {0, {59, 10}, kRed, "every slat grows at once"},
                        {16, {50, 10}, kRed},
                        {16, {56, 10}, kBlue},
                        {16, {799, 10}, kBlue}});
    // Down: a = 32.
    expectColours(runBlueToRed(kBlindsDown, 32, 448, 0),
                  {{4, {10, 35}, kRed}, {4, {10, 44}, kBlue}});
}
