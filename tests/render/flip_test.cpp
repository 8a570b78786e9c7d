#include <gtest/gtest.h>

#include <cmath>

#include "effect_harness.h"
#include "render/effects/flip.h"

using namespace harness;

namespace {

constexpr int kFlipLeft = 60, kFlipRight = 61, kFlipTop = 62, kFlipBottom = 63;

struct Vec {
    double x, y;
};

// Where the picture's corner (sx, sy) lands on frame k's control points.
Vec destinationOf(const PerspectivePoints& points, double sx, double sy) {
    for (int i = 0; i < 16; i += 4)
        if (points[i] == sx && points[i + 1] == sy) return {points[i + 2], points[i + 3]};
    ADD_FAILURE() << "no control point for (" << sx << ", " << sy << ")";
    return {0, 0};
}

// A perspective map keeps lines, so the picture's centre lands where the
// destination quadrilateral's diagonals meet.
Vec diagonalsMeet(Vec a, Vec c, Vec b, Vec d) {
    double denominator = (c.x - a.x) * (d.y - b.y) - (c.y - a.y) * (d.x - b.x);
    double t = ((b.x - a.x) * (d.y - b.y) - (b.y - a.y) * (d.x - b.x)) / denominator;
    return {a.x + t * (c.x - a.x), a.y + t * (c.y - a.y)};
}

// Distorts a position-coded picture over blue with hinge member index and
// checks frame k: the picture's centre at the diagonals' meeting point, a
// point inside the moving corner from near that corner of the picture, and
// the previous frame just beyond the moving edge.
void expectPieceLands(int index, FlipHinge hinge, int W, int H, int k) {
    SCOPED_TRACE(index);
    WandPtr canvas = positionCodedCanvas(W, H);
    EffectRun run = runEffectIndex(index, W, H, canvas.get(), solidCanvas(W, H, "#0000ff"));
    ASSERT_EQ(run.frames.size(), 18u);
    const Frame& frame = run.frames[k - 1];
    PerspectivePoints points = flipControlPoints(hinge, W, H)[k - 1];
    Vec topLeft = destinationOf(points, 0, 0), bottomRight = destinationOf(points, W, H);
    Vec bottomLeft = destinationOf(points, 0, H), topRight = destinationOf(points, W, 0);
    Vec centre = diagonalsMeet(topLeft, bottomRight, bottomLeft, topRight);
    Point source = positionOf(frame.at(static_cast<int>(centre.x + 0.5),
                                       static_cast<int>(centre.y + 0.5)));
    EXPECT_NEAR(source.x, W / 2, 3);
    EXPECT_NEAR(source.y, H / 2, 3);

    // A corner on the moving edge: five pixels inside it (towards the
    // centre) the picture shows near that corner of its own.
    Vec moving = hinge == FlipHinge::Left    ? Vec{double(W), 0}
                 : hinge == FlipHinge::Right ? Vec{0, double(H)}
                 : hinge == FlipHinge::Top   ? Vec{double(W), double(H)}
                                             : Vec{0, 0};
    Vec corner = destinationOf(points, moving.x, moving.y);
    double dx = centre.x - corner.x, dy = centre.y - corner.y;
    double length = std::hypot(dx, dy);
    Point nearCorner = positionOf(frame.at(static_cast<int>(corner.x + 5 * dx / length),
                                     static_cast<int>(corner.y + 5 * dy / length)));
    EXPECT_LT(std::abs(nearCorner.x - moving.x), W / 5.0) << nearCorner.x << "," << nearCorner.y;
    EXPECT_LT(std::abs(nearCorner.y - moving.y), H / 5.0) << nearCorner.x << "," << nearCorner.y;

    // Four pixels beyond the middle of the moving edge the previous frame shows.
    Vec beyond = hinge == FlipHinge::Left    ? Vec{corner.x + 4, H / 2.0}
                 : hinge == FlipHinge::Right ? Vec{corner.x - 4, H / 2.0}
                 : hinge == FlipHinge::Top   ? Vec{W / 2.0, corner.y + 4}
                                             : Vec{W / 2.0, corner.y - 4};
    EXPECT_EQ(frame.at(static_cast<int>(beyond.x), static_cast<int>(beyond.y)),
              kBlue);
}

} // namespace

TEST(FlipControlPoints, MovingEdgeTravelsAndGrowsAsInTheWorkedFrames) {
    auto left = flipControlPoints(FlipHinge::Left, 800, 800);
    ASSERT_EQ(left.size(), 17u);
    const double leftFrames[][3] = {
        {138.889, 213.527, 586.473}, {450, 113.043, 686.957}, {761.111, 12.560, 787.440}};
    const int sampled[] = {0, 8, 16};
    for (int i = 0; i < 3; ++i) {
        const PerspectivePoints& p = left[sampled[i]];
        EXPECT_EQ((std::array<double, 8>{p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]}),
                  (std::array<double, 8>{0, 0, 0, 0, 0, 800, 0, 800}));
        EXPECT_EQ(p[8], 800);
        EXPECT_NEAR(p[10], leftFrames[i][0], 1e-3);
        EXPECT_NEAR(p[11], leftFrames[i][1], 1e-3);
        EXPECT_NEAR(p[14], leftFrames[i][0], 1e-3);
        EXPECT_NEAR(p[15], leftFrames[i][2], 1e-3);
    }
    // The right hinge truncates its moving edge: 661, 350 (not 349) and 38.
    auto right = flipControlPoints(FlipHinge::Right, 800, 800);
    EXPECT_EQ(right[0][2], 661);
    EXPECT_EQ(right[8][2], 350);
    EXPECT_EQ(right[16][2], 38);
    EXPECT_EQ(right[16][6], 38);
    EXPECT_NEAR(right[16][3], 12.560, 1e-3);
    EXPECT_EQ((std::array<double, 4>{right[0][8], right[0][9], right[0][10], right[0][11]}),
              (std::array<double, 4>{800, 800, 800, 800}));

    auto top = flipControlPoints(FlipHinge::Top, 800, 450);
    EXPECT_NEAR(top[0][11], 78.125, 1e-3);
    EXPECT_NEAR(top[0][10], 586.473, 1e-3);
    EXPECT_NEAR(top[0][14], 213.527, 1e-3);
    EXPECT_NEAR(top[16][11], 428.125, 1e-3);
    EXPECT_NEAR(top[16][14], 12.560, 1e-3);
    auto bottom = flipControlPoints(FlipHinge::Bottom, 800, 450);
    EXPECT_EQ(bottom[0][3], 371);
    EXPECT_EQ(bottom[16][3], 21);
    EXPECT_EQ(bottom[16][15], 21);
    EXPECT_NEAR(bottom[16][2], 12.560, 1e-3);
}

TEST(Flip, EveryMemberTurnsBlueIntoRed) {
    for (int index = kFlipLeft; index <= kFlipBottom; ++index) expectRevealToRed(index, 64, 48);
}

TEST(Flip, DistortedPictureLandsOnItsControlPoints) {
    expectPieceLands(kFlipLeft, FlipHinge::Left, 256, 192, 9);
    expectPieceLands(kFlipRight, FlipHinge::Right, 256, 192, 5);
    expectPieceLands(kFlipTop, FlipHinge::Top, 192, 256, 9);
    expectPieceLands(kFlipBottom, FlipHinge::Bottom, 192, 256, 13);
}

TEST(Flip, CountsEighteenFramesAtEverySize) {
    expectCountAtEverySize({kFlipLeft, kFlipRight, kFlipTop, kFlipBottom}, 18);
}
