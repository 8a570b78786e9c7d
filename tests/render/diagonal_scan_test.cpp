#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/diagonal_scan.h"

using namespace harness;

namespace {

using Ring = std::vector<ShapePoint>;

constexpr int kDiagonalTopLeft = 51, kDiagonalBottomRight = 54, kScanIn = 64, kScanOut = 65;

} // namespace

TEST(DiagonalTriangles, LegsGrowByATenthOfTheLongerSide) {
    auto topLeft = diagonalTriangles(DiagonalCorner::TopLeft, 800, 800);
    ASSERT_EQ(topLeft.size(), 19u);
    EXPECT_EQ(ringsOf(topLeft[0]).at(0), (Ring{{0, 0}, {80, 0}, {0, 80}}));
    EXPECT_EQ(ringsOf(topLeft[18]).at(0), (Ring{{0, 0}, {1520, 0}, {0, 1520}}));
    EXPECT_EQ(ringsOf(diagonalTriangles(DiagonalCorner::BottomLeft, 800, 450)[0]).at(0),
                  (Ring{{0, 450}, {0, 370}, {80, 450}}));
    // A tall frame: both legs step by a tenth of the height.
    EXPECT_EQ(ringsOf(diagonalTriangles(DiagonalCorner::TopRight, 720, 1280)[0]).at(0),
                  (Ring{{720, 0}, {592, 0}, {720, 128}}));
    EXPECT_EQ(ringsOf(diagonalTriangles(DiagonalCorner::BottomRight, 720, 1280)[1]).at(0),
                  (Ring{{720, 1280}, {464, 1280}, {720, 1024}}));
}

TEST(ScanTriangles, TwoTrianglesPivotAboutOppositeCorners) {
    auto in = scanTriangles(true, 800, 800);
    ASSERT_EQ(in.size(), 19u);
    ASSERT_EQ(ringsOf(in[0]).size(), 2u);
    EXPECT_EQ(ringsOf(in[0]).at(0), (Ring{{0, 0}, {40, 0}, {0, 800}}));
    EXPECT_EQ(ringsOf(in[0]).at(1), (Ring{{800, 0}, {800, 800}, {760, 800}}));
    EXPECT_EQ(ringsOf(in[18]).at(0), (Ring{{0, 0}, {760, 0}, {0, 800}}));
    auto out = scanTriangles(false, 800, 450);
    EXPECT_EQ(ringsOf(out[0]).at(0), (Ring{{0, 0}, {760, 0}, {0, 450}}));
    EXPECT_EQ(ringsOf(out[0]).at(1), (Ring{{800, 0}, {800, 450}, {40, 450}}));
}

TEST(DiagonalScan, EveryMemberTurnsBlueIntoRed) {
    for (int index : {51, 52, 53, 54, kScanIn, kScanOut}) expectRevealToRed(index, 64, 48);
}

TEST(DiagonalScan, WideFrameIsCoveredOnceTheLegsReachWidthPlusHeight) {
    // 160 x 90: legs of 16 per frame reach 250 on frame 16.
    EffectRun run = runBlueToRed(kDiagonalBottomRight, 160, 90, 0);
    EXPECT_FALSE(allOf(run.frames[14], kRed));
    EXPECT_TRUE(allOf(run.frames[15], kRed));
    // Frame 1 covers only the corner: legs of 16 from (160, 90).
    expectColours(run, {{0, {155, 85}, kRed}, {0, {145, 80}, kBlue}});
    expectColours(runBlueToRed(kDiagonalTopLeft, 160, 90, 0),
                  {{0, {4, 4}, kRed}, {0, {12, 12}, kBlue}});
}

TEST(DiagonalScan, ScanOutOfAFirstPictureOpensTheDiagonalOnBlack) {
    WandPtr canvas = solidCanvas(160, 160, "#ff0000");
    EffectRun run = runEffectIndex(kScanOut, 160, 160, canvas.get(), nullptr);
    ASSERT_EQ(run.frames.size(), 20u);
    // Frame 1: the band between the fronts is 8 wide, (76 .. 84) at y = 80.
    // Nothing accumulates: frame 19 leaves thin black triangles at the corners.
    expectColours(run, {{0, {80, 80}, kRed},
                        {0, {72, 80}, kBlack},
                        {0, {88, 80}, kBlack},
                        {0, {5, 5}, kBlack},
                        {0, {155, 155}, kBlack},
                        {18, {2, 3}, kBlack},
                        {18, {80, 80}, kRed}});
}

TEST(DiagonalScan, CountsTwentyFramesAtEverySize) {
    expectCountAtEverySize({51, 52, 53, 54, kScanIn, kScanOut}, 20);
}
