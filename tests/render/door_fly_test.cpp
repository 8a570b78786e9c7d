#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/door_fly.h"

using namespace harness;

namespace {

constexpr int kOpenAcross = 95, kOpenDown = 96, kCloseAcross = 97, kCloseDown = 98, kFlyIn = 39,
              kFlyOut = 40;

} // namespace

TEST(DoorSchedule, StepsAndCountsOfTheWorkedExamples) {
    EXPECT_EQ(doorStep(800), 26);
    EXPECT_EQ(doorFrameCount(800), 16);
    EXPECT_EQ(doorOpenWidths(800), then(range(390, 26, -26), {0}));
    EXPECT_EQ(doorCloseWidths(800), range(26, 390, 26)) << "then the plain picture";
    EXPECT_EQ(doorStep(400), 14) << "13 is odd";
    EXPECT_EQ(doorFrameCount(400), 15);
    EXPECT_EQ(doorFrameCount(720), 15);
    EXPECT_EQ(doorOpenWidths(720).front(), 336);
    EXPECT_EQ(doorStep(1440), 48);
    EXPECT_EQ(doorFrameCount(1440), 15);
    EXPECT_EQ(doorStep(1080), 36);
    EXPECT_EQ(doorFrameCount(1080), 15);
    EXPECT_EQ(doorStep(20), 2) << "below 30 the step would be 0";
    EXPECT_EQ(doorFrameCount(20), 5);
}

TEST(DoorSchedule, DoorsAreTheStripsNextToTheCentreLine) {
    EXPECT_EQ(doorPieces(false, 800, 800, 390),
              (std::array<Piece, 2>{{{10, 0, 390, 800, 0, 0}, {400, 0, 390, 800, 410, 0}}}));
    EXPECT_EQ(doorPieces(true, 800, 450, 100),
              (std::array<Piece, 2>{{{0, 125, 800, 100, 0, 0}, {0, 225, 800, 100, 0, 350}}}));
}

TEST(FlySchedule, StepsCountsAndPiecesOfTheWorkedExamples) {
    EXPECT_EQ(flyStep(25), 24);
    EXPECT_EQ(flyStep(12), 12);
    EXPECT_EQ(flyStep(15), 14);
    EXPECT_EQ(flyStep(1), 2);
    EXPECT_EQ(flyStep(0), 2) << "a zero step never loops";
    EXPECT_EQ(flyFrameCount(800, 25), 17);
    EXPECT_EQ(flyFrameCount(480, 15), 18);
    EXPECT_EQ(flyInWidths(800, 25), range(24, 384, 24));
    EXPECT_EQ(flyOutWidths(800, 25).front(), 384);
    EXPECT_EQ(flyOutWidths(800, 25).back(), 0);

    // 800 x 450 at d = 24: q = 13.5, pieces 24 x 13, the upper ones from
    // rows 211 .. 223, the lower ones laid on rows 436 .. 448.
    EXPECT_EQ(flyPieces(800, 450, 0.5625f, 24),
              (std::array<Piece, 4>{{{376, 211, 24, 13, 0, 0},
                                     {376, 225, 24, 13, 0, 436},
                                     {400, 211, 24, 13, 776, 0},
                                     {400, 225, 24, 13, 776, 436}}}));
    auto whole = flyPieces(800, 450, 0.5625f, 48);  // q = 27: the lower pieces reach row 449
    EXPECT_EQ(whole[1], (Piece{352, 225, 48, 27, 0, 423}));
}

TEST(DoorFly, CountModeStoresTheScheduleAtEverySize) {
    EXPECT_EQ(countEffectIndex(kOpenAcross, 800, 800, 4), 16 + 4);
    EXPECT_EQ(countEffectIndex(kOpenDown, 1080, 1440, 0), 15);
    EXPECT_EQ(countEffectIndex(kCloseAcross, 400, 400, 0), 15);
    EXPECT_EQ(countEffectIndex(kCloseDown, 3840, 256, 0), 16);
    EXPECT_EQ(countEffectIndex(kFlyIn, 800, 450, 0), 17);
    EXPECT_EQ(countEffectIndex(kFlyOut, 480, 270, 1), 18 + 1);
}

TEST(DoorFly, EveryMemberTurnsBlueIntoRed) {
    for (int index : {kOpenAcross, kOpenDown, kCloseAcross, kCloseDown, kFlyIn, kFlyOut})
        expectRevealToRed(index, 160, 120);
}

TEST(Doors, OpeningDoorsCarryThePreviousHalvesOutwards) {
    // 400 across: c = 200, l = 14, the first doors 196 wide; 256 down:
    // c = 128, l = 8, the first doors 120 high.
    expectProbes(runCoded(kOpenAcross, 400, 256),
                 {{0, {0, 5}, From::Previous, {4, 5}},
                  {0, {195, 5}, From::Previous, {199, 5}},
                  {0, {196, 5}, From::Picture, {196, 5}},
                  {0, {203, 5}, From::Picture, {203, 5}},
                  {0, {204, 5}, From::Previous, {200, 5}},
                  {0, {399, 5}, From::Previous, {395, 5}},
                  {13, {13, 9}, From::Previous, {199, 9}},
                  {13, {14, 9}, From::Picture, {14, 9}}});
    expectProbes(runCoded(kOpenDown, 400, 256),
                 {{0, {5, 0}, From::Previous, {5, 8}},
                  {0, {5, 119}, From::Previous, {5, 127}},
                  {0, {5, 120}, From::Picture, {5, 120}},
                  {0, {5, 135}, From::Picture, {5, 135}},
                  {0, {5, 136}, From::Previous, {5, 128}},
                  {0, {5, 255}, From::Previous, {5, 247}}});
}

TEST(Doors, ClosingDoorsBringThePictureHalvesIn) {
    expectProbes(runCoded(kCloseAcross, 400, 256),
                 {{0, {0, 5}, From::Picture, {186, 5}},
                  {0, {13, 5}, From::Picture, {199, 5}},
                  {0, {14, 5}, From::Previous, {14, 5}},
                  {0, {385, 5}, From::Previous, {385, 5}},
                  {0, {386, 5}, From::Picture, {200, 5}},
                  {13, {195, 5}, From::Picture, {199, 5}},
                  {13, {196, 5}, From::Previous, {196, 5}},
                  {13, {204, 5}, From::Picture, {200, 5}}});
    expectProbes(runCoded(kCloseDown, 400, 256),
                 {{0, {5, 0}, From::Picture, {5, 120}},
                  {0, {5, 8}, From::Previous, {5, 8}},
                  {0, {5, 248}, From::Picture, {5, 128}}});
}

TEST(Fly, QuartersTravelFromTheCornersAndLeaveTheLastRowForAFrame) {
    // 800 x 450: s = 24; frame 0 has d = 24 (pieces on rows 436 .. 448),
    // frame 1 has d = 48 (rows 423 .. 449).
    expectProbes(runCoded(kFlyIn, 800, 450),
                 {{0, {0, 0}, From::Picture, {376, 211}},
                  {0, {23, 12}, From::Picture, {399, 223}},
                  {0, {24, 0}, From::Previous, {24, 0}},
                  {0, {0, 13}, From::Previous, {0, 13}},
                  {0, {0, 436}, From::Picture, {376, 225}},
                  {0, {799, 448}, From::Picture, {423, 237}},
                  {0, {0, 449}, From::Previous, {0, 449}},
                  {1, {0, 449}, From::Picture, {352, 251}},
                  {1, {799, 0}, From::Picture, {447, 198}}});
}

TEST(Fly, QuartersTravelOutIntoTheCorners) {
    // 800 x 450, first frame d = 384: q = 216, upper rows from 9, lower at 234.
    expectProbes(runCoded(kFlyOut, 800, 450),
                 {{0, {0, 0}, From::Previous, {16, 9}},
                  {0, {383, 215}, From::Previous, {399, 224}},
                  {0, {384, 0}, From::Picture, {384, 0}},
                  {0, {0, 216}, From::Picture, {0, 216}},
                  {0, {0, 234}, From::Previous, {16, 225}},
                  {0, {799, 449}, From::Previous, {783, 440}}});
}

TEST(Doors, FirstPictureOpensBlackDoors) {
    WandPtr canvas = solidCanvas(400, 256, "#ff0000");
    EffectRun run = runEffectIndex(kOpenAcross, 400, 256, canvas.get(), nullptr);
    ASSERT_EQ(run.frames.size(), 15u);
    expectColours(run, {{0, {0, 5}, kBlack}, {0, {200, 5}, kRed}});
}
