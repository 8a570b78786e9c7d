#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/wipe_in_corners.h"

using namespace harness;

namespace {

constexpr int kSquare = 2, kBandsAcross = 3, kBandsDown = 4, kCornersToCenter = 37,
              kCenterToCorners = 38;

} // namespace

TEST(SquareWipeIn, RegionsOfTheWorkedExample) {
    // 1280 x 720, s = 80: 1200 x 675 at (40, 22) down to 80 x 45 at (600, 337).
    EXPECT_EQ(squareWipeWidths(1280, 80), then(range(1200, 80, -80), {0}));
    const float r = 720.0f / 1280;
    EXPECT_EQ(squareWipeRegion(1280, 720, r, 1200), (Piece{40, 22, 1200, 675, 40, 22}));
    EXPECT_EQ(squareWipeRegion(1280, 720, r, 80), (Piece{600, 337, 80, 45, 600, 337}));
    EXPECT_EQ(squareWipeWidths(800, 50).size(), 16u);
    EXPECT_EQ(squareWipeWidths(1080, 67).size(), 17u);
    EXPECT_EQ(squareWipeWidths(10, 0).size(), 10u) << "a zero step counts as 1, never loops";
}

TEST(BandWipeIn, BandsEndOnAOnePixelBandBeforeThePlainPicture) {
    EXPECT_EQ(bandWipeWidths(800, 50), then(range(750, 50, -50), {1, 0}));
    EXPECT_EQ(bandWipeWidths(1080, 67), then(range(1013, 8, -67), {1, 0}));
    EXPECT_EQ(bandWipeWidths(720, 45), then(range(675, 45, -45), {1, 0}));
    EXPECT_EQ(bandWipeWidths(801, 50), then(range(751, 1, -50), {0}))
        << "a band that is already one pixel is not written twice";
    EXPECT_EQ(bandWipeWidths(10, 0).size(), 10u);
    EXPECT_EQ(bandWipeRegion(false, 800, 450, 750), (Piece{25, 0, 750, 450, 25, 0}));
    EXPECT_EQ(bandWipeRegion(false, 800, 450, 1), (Piece{399, 0, 1, 450, 399, 0}));
    EXPECT_EQ(bandWipeRegion(true, 1280, 720, 675), (Piece{0, 22, 1280, 675, 0, 22}));
}

TEST(FourCorners, SizesAndRectanglesOfTheWorkedExamples) {
    EXPECT_EQ(cornersToCenterSizes(800, 25), range(25, 375, 25));
    EXPECT_EQ(centerToCornersSizes(800, 25), then(range(375, 25, -25), {0}));
    EXPECT_EQ(cornersToCenterSizes(1080, 33), range(33, 528, 33)) << "n = 17";
    EXPECT_EQ(centerToCornersSizes(1080, 33), then(range(528, 33, -33), {0})) << "m = 16";
    EXPECT_EQ(cornersToCenterSizes(40, 0).size(), 19u) << "a zero step counts as 1";

    auto corners = cornerRectangles(800, 450, 0.5625f, 100);
    EXPECT_EQ(corners[0], (RectangleShape{0, 0, 100, 56.25}));
    EXPECT_EQ(corners[1], (RectangleShape{0, 450, 100, 393.75}));
    EXPECT_EQ(corners[2], (RectangleShape{800, 0, 700, 56.25}));
    EXPECT_EQ(corners[3], (RectangleShape{800, 450, 700, 393.75}));
}

TEST(WipeInCorners, CountModeStoresTheScheduleAtEverySize) {
    EXPECT_EQ(countEffectIndex(kSquare, 800, 450, 3), 16 + 3);
    EXPECT_EQ(countEffectIndex(kBandsAcross, 1080, 1440, 0), 18);
    EXPECT_EQ(countEffectIndex(kBandsDown, 1280, 720, 0), 17);
    EXPECT_EQ(countEffectIndex(kCornersToCenter, 1080, 1440, 0), 17);
    EXPECT_EQ(countEffectIndex(kCenterToCorners, 1080, 1440, 0), 17);
    EXPECT_EQ(countEffectIndex(kCenterToCorners, 800, 800, 2), 16 + 2);
}

TEST(WipeInCorners, EveryMemberTurnsBlueIntoRed) {
    for (int index : {kSquare, kBandsAcross, kBandsDown, kCornersToCenter, kCenterToCorners})
        expectRevealToRed(index, 160, 120);
}

TEST(SquareWipeIn, RegionThatRoundsToNothingDrawsNothing) {
    // 514 x 256, s = 32: the last width 2 has height (int)(2 * 0.498) = 0;
    // ImageMagick would read that as the full height and draw a column.
    EffectRun run = runBlueToRed(kSquare, 514, 256, 0);
    ASSERT_EQ(run.frames.size(), 17u);
    EXPECT_TRUE(allOf(run.frames[15], kRed));
    EXPECT_EQ(run.frames[14].at(257, 128), kBlue) << "34 x 16 still shows";
}

TEST(WipeIn, PreviousRegionStaysWhereItWas) {
    // 256 x 256, s = 16: the first region is 240 wide at 8.
    expectProbes(runCoded(kSquare, 256, 256),
                 {{0, {8, 8}, From::Previous, {8, 8}},
                  {0, {247, 247}, From::Previous, {247, 247}},
                  {0, {7, 100}, From::Picture, {7, 100}},
                  {0, {100, 248}, From::Picture, {100, 248}}});
    expectProbes(runCoded(kBandsAcross, 256, 256),
                 {{0, {8, 0}, From::Previous, {8, 0}},
                  {0, {7, 0}, From::Picture, {7, 0}},
                  {15, {127, 9}, From::Previous, {127, 9}},
                  {15, {128, 9}, From::Picture, {128, 9}}});
    expectProbes(runCoded(kBandsDown, 400, 256),
                 {{0, {399, 8}, From::Previous, {399, 8}},
                  {0, {399, 7}, From::Picture, {399, 7}}});
}

TEST(FourCorners, CornersGrowFromEveryCornerOrShrinkIntoThem) {
    // 256 x 256, s = 8. Probes clear of the anti-aliased edges.
    EffectRun grow = runBlueToRed(kCornersToCenter, 256, 256, 0);
    ASSERT_EQ(grow.frames.size(), 16u);
    for (Point p : {Point{2, 2}, Point{2, 253}, Point{253, 2}, Point{253, 253}})
        EXPECT_EQ(grow.frames[0].at(p.x, p.y), kRed) << p;
    EXPECT_EQ(grow.frames[0].at(20, 20), kBlue);
    EXPECT_EQ(grow.frames[14].at(128, 20), kBlue) << "the middle stays until the end";

    EffectRun shrink = runBlueToRed(kCenterToCorners, 256, 256, 0);
    ASSERT_EQ(shrink.frames.size(), 16u);
    for (Point p : {Point{110, 110}, Point{110, 145}, Point{145, 110}, Point{145, 145}})
        EXPECT_EQ(shrink.frames[0].at(p.x, p.y), kBlue) << p;
    EXPECT_EQ(shrink.frames[0].at(128, 128), kRed);
    EXPECT_EQ(shrink.frames[14].at(4, 4), kBlue);
    EXPECT_EQ(shrink.frames[14].at(12, 12), kRed);
}
