#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/arrow_sweep.h"

using namespace harness;

namespace {

constexpr int kArrowLeftToRight = 73, kSweepFromRight = 80;

void expectPolygon(const Shape& shape, const std::vector<ShapePoint>& expected) {
    ASSERT_EQ(ringsOf(shape).size(), 1u);
    const std::vector<ShapePoint>& seen = ringsOf(shape)[0];
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_NEAR(seen[i].x, expected[i].x, 1e-3) << "vertex " << i << " " << seen[i];
        EXPECT_NEAR(seen[i].y, expected[i].y, 1e-3) << "vertex " << i << " " << seen[i];
    }
}

} // namespace

TEST(ArrowTriangles, TipCrossesTheFrameWithTheFramesProportions) {
    auto right = arrowTriangles(ArrowDirection::LeftToRight, 800, 800);
    ASSERT_EQ(right.size(), 19u);
    expectPolygon(right[0], {{0, 360}, {0, 440}, {80, 400}});
    expectPolygon(right[9], {{0, 0}, {0, 800}, {800, 400}});
    // Frame 19: the edges leave the far side at y = 40 and y = 760.
    expectPolygon(right[18], {{0, -360}, {0, 1160}, {1520, 400}});
    expectPolygon(arrowTriangles(ArrowDirection::RightToLeft, 800, 800)[0],
                  {{800, 360}, {800, 440}, {720, 400}});
    // Vertical members divide by the ratio: half base 0.5 * 45 / 0.5625.
    expectPolygon(arrowTriangles(ArrowDirection::TopToBottom, 800, 450)[0],
                  {{360, 0}, {440, 0}, {400, 45}});
    expectPolygon(arrowTriangles(ArrowDirection::BottomToTop, 800, 450)[0],
                  {{360, 450}, {440, 450}, {400, 405}});
    expectPolygon(arrowTriangles(ArrowDirection::LeftToRight, 800, 450)[0],
                  {{0, 225 - 22.5}, {0, 225 + 22.5}, {80, 225}});
}

TEST(SweepPolygons, ApexCrossesThenTheFarSideWidens) {
    auto bottom = sweepPolygons(SweepEdge::Bottom, 800, 800);
    ASSERT_EQ(bottom.size(), 19u);
    expectPolygon(bottom[4], {{0, 800}, {799, 800}, {400, 400}});
    expectPolygon(bottom[9], {{0, 800}, {799, 800}, {400, 0}});
    expectPolygon(bottom[11], {{0, 800}, {799, 800}, {480, 0}, {320, 0}});
    expectPolygon(sweepPolygons(SweepEdge::Left, 800, 450)[14],
                  {{0, 0}, {0, 449}, {800, 335}, {800, 115}});
    expectPolygon(sweepPolygons(SweepEdge::Top, 800, 800)[11],
                  {{0, 0}, {799, 0}, {480, 800}, {320, 800}});
    expectPolygon(sweepPolygons(SweepEdge::Right, 800, 450)[0],
                  {{800, 0}, {800, 449}, {720, 225}});
    expectPolygon(sweepPolygons(SweepEdge::Right, 800, 450)[18],
                  {{800, 0}, {800, 449}, {0, 423}, {0, 27}});
}

TEST(ArrowSweep, EveryMemberTurnsBlueIntoRed) {
    for (int index = kArrowLeftToRight; index <= kSweepFromRight; ++index)
        expectRevealToRed(index, 64, 48);
}

TEST(ArrowSweep, ShapesLandWhereTheyAreDrawn) {
    // Arrow on 200 x 100, frame 5: tip (100, 50), half base 25 on the left edge.
    EffectRun arrow = runBlueToRed(kArrowLeftToRight, 200, 100, 0);
    const Frame& five = arrow.frames[4];
    EXPECT_EQ(five.at(85, 50), kRed);
    EXPECT_EQ(five.at(110, 50), kBlue);
    EXPECT_EQ(five.at(2, 30), kRed);
    EXPECT_EQ(five.at(2, 20), kBlue);
    // Sweep from the right on 200 x 100, frame 12: far side from y = 40 to 60.
    EffectRun sweep = runBlueToRed(kSweepFromRight, 200, 100, 0);
    const Frame& twelve = sweep.frames[11];
    EXPECT_EQ(twelve.at(3, 50), kRed);
    EXPECT_EQ(twelve.at(3, 35), kBlue);
    EXPECT_EQ(twelve.at(3, 65), kBlue);
    EXPECT_EQ(twelve.at(190, 5), kRed);
}

TEST(ArrowSweep, CountsTwentyFramesAtEverySize) {
    expectCountAtEverySize({73, 74, 75, 76, 77, 78, 79, 80}, 20);
}
