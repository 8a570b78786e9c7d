// Clock wipes and the windmill: step counts, the slices of each frame, and
// where the new picture shows.
#include <gtest/gtest.h>

#include <cmath>

#include "effect_harness.h"
#include "render/effects/clock_windmill.h"

using namespace harness;

namespace {

constexpr int k12Clockwise = 32, kBothWays = 33, k9Clockwise = 34, k9Counterclockwise = 35,
              k12Counterclockwise = 36, kWindmill = 57;
const int kAll[] = {k12Clockwise, kBothWays, k9Clockwise, k9Counterclockwise, k12Counterclockwise,
                    kWindmill};

struct Angles {
    double start, end;
    bool operator==(const Angles&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Angles& a) {
    return out << "[" << a.start << ", " << a.end << "]";
}

std::vector<Angles> anglesOf(const Shape& shape) {
    std::vector<Angles> angles;
    for (const ShapePart& part : shape) {
        const PieSlice& slice = std::get<PieSlice>(part);
        angles.push_back({slice.startAngle, slice.endAngle});
    }
    return angles;
}

// The pixel 30 pixels from the centre at angle degrees (0 at 3 o'clock,
// clockwise on screen).
Point atAngle(int W, int H, double degrees) {
    double radians = degrees * M_PI / 180;
    return {W / 2 + static_cast<int>(std::lround(30 * std::cos(radians))),
            H / 2 + static_cast<int>(std::lround(30 * std::sin(radians)))};
}

} // namespace

TEST(ClockSteps, WholeStepsPlusOneForARemainder) {
    EXPECT_EQ(clockStepCount(360, 19.8), 19);
    EXPECT_EQ(clockStepCount(180, 11.0), 17);
    EXPECT_EQ(clockStepCount(90, 5.45), 17);
    EXPECT_EQ(clockStepCount(360, 20.0), 18) << "an exact divisor leaves no partial step";
    EXPECT_EQ(clockStepCount(360, 0.0), 0) << "no division by a zero step";
    EXPECT_EQ(clockStepCount(360, 0.0004), 0);
    EXPECT_EQ(clockStepCount(360, -5.0), 0);
}

TEST(ClockSteps, CountModeStoresTheStepsThePlainFrameAndTheHoldFrames) {
    for (int index : {k12Clockwise, k9Clockwise, k9Counterclockwise, k12Counterclockwise})
        EXPECT_EQ(countEffectIndex(index, 800, 450, 5), 20 + 5) << index;
    EXPECT_EQ(countEffectIndex(kBothWays, 800, 450, 5), 18 + 5);
    EXPECT_EQ(countEffectIndex(kWindmill, 3840, 256, 0), 18);
}

TEST(ClockShapes, SlicesOfTheSteps) {
    auto clockwise = clockShapes(800, 800, ClockWipe::From12Clockwise, 19.8);
    ASSERT_EQ(clockwise.size(), 19u);
    EXPECT_TRUE(clockwise[0].empty()) << "the empty first slice is left out";
    EXPECT_EQ(anglesOf(clockwise[1]), (std::vector<Angles>{{270, 270 + 19.8}}));
    EXPECT_EQ(anglesOf(clockwise[18]), (std::vector<Angles>{{270, 270 + 18 * 19.8}}));
    const PieSlice& last = std::get<PieSlice>(clockwise[18][0]);
    EXPECT_NEAR(last.radius, std::sqrt(2 * 400.0 * 400.0), 1e-9) << "half the diagonal";
    EXPECT_EQ(last.centre, (ShapePoint{400, 400}));
    EXPECT_TRUE(last.largeArc);

    EXPECT_EQ(anglesOf(clockShapes(800, 800, ClockWipe::From9Clockwise, 19.8)[2]),
              (std::vector<Angles>{{180, 180 + 2 * 19.8}}));
    EXPECT_EQ(anglesOf(clockShapes(800, 800, ClockWipe::From9Counterclockwise, 19.8)[2]),
              (std::vector<Angles>{{180 - 2 * 19.8, 180}}));
    EXPECT_EQ(anglesOf(clockShapes(800, 800, ClockWipe::From12Counterclockwise, 19.8)[2]),
              (std::vector<Angles>{{270 - 2 * 19.8, 270}}));

    auto both = clockShapes(800, 450, ClockWipe::BothWays, 11.0);
    ASSERT_EQ(both.size(), 17u);
    EXPECT_EQ(anglesOf(both[0]), (std::vector<Angles>{{270 - 2.2, 270 + 2.2}}));
    EXPECT_EQ(anglesOf(both[16]), (std::vector<Angles>{{270 - 176, 270 + 176}}));
    EXPECT_NEAR(std::get<PieSlice>(both[16][0]).radius, std::sqrt(400.0 * 400 + 225.0 * 225),
                1e-9);
}

TEST(ClockShapes, WindmillBladesEndOnWholeDegrees) {
    auto windmill = windmillShapes(800, 800, 5.45);
    ASSERT_EQ(windmill.size(), 17u);
    EXPECT_TRUE(windmill[0].empty());
    EXPECT_EQ(anglesOf(windmill[16]),
              (std::vector<Angles>{{270, 357}, {0, 87}, {90, 177}, {180, 267}}));
    EXPECT_EQ(anglesOf(windmill[1]),
              (std::vector<Angles>{{270, 275}, {0, 5}, {90, 95}, {180, 185}}));
}

TEST(ClockWindmill, EveryMemberRevealsTheNewPicture) {
    for (int index : kAll) expectRevealToRed(index, 96, 64);
}

TEST(ClockWindmill, FirstFrameIsThePreviousFrameButForTheBothWaysWedge) {
    const int W = 96, H = 64;
    for (int index : kAll) {
        SCOPED_TRACE(index);
        EffectRun run = runBlueToRed(index, W, H, 0);
        ASSERT_FALSE(run.frames.empty());
        if (index != kBothWays) {
            EXPECT_TRUE(allOf(run.frames[0], kBlue)) << "no hairline for an empty slice";
            continue;
        }
        // 2.2 degrees either side of 12 o'clock.
        EXPECT_EQ(run.frames[0].at(W / 2, 2), kRed);
        EXPECT_EQ(run.frames[0].at(W / 2 + 8, 2), kBlue);
        EXPECT_EQ(run.frames[0].at(W / 2, H - 2), kBlue);
    }
}

TEST(ClockWindmill, SlicesSweepTheirWayRound) {
    const int W = 160, H = 120;
    struct Expectation {
        int index, frame;
        std::vector<double> red, blue;  // angles
    };
    // Frame 5 of a clock has swept 99 degrees; frame 8 of the windmill 43.6.
    const Expectation cases[] = {
        {k12Clockwise, 5, {280, 315, 355}, {20, 135, 225}},
        {k12Counterclockwise, 5, {260, 225, 185}, {160, 45, 315}},
        {k9Clockwise, 5, {190, 225, 265}, {290, 135, 45}},
        {k9Counterclockwise, 5, {170, 135, 95}, {70, 225, 315}},
        {kBothWays, 5, {230, 310}, {150, 30, 90}},
        {kWindmill, 8, {280, 10, 100, 190}, {330, 60, 150, 240}},
    };
    for (const Expectation& c : cases) {
        SCOPED_TRACE(c.index);
        EffectRun run = runBlueToRed(c.index, W, H, 0);
        ASSERT_GT(run.frames.size(), static_cast<std::size_t>(c.frame));
        for (double angle : c.red) {
            Point p = atAngle(W, H, angle);
            EXPECT_EQ(run.frames[c.frame].at(p.x, p.y), kRed) << angle;
        }
        for (double angle : c.blue) {
            Point p = atAngle(W, H, angle);
            EXPECT_EQ(run.frames[c.frame].at(p.x, p.y), kBlue) << angle;
        }
    }
}

TEST(ClockWindmill, SweepsOverTheFirstPictureOnBlack) {
    WandPtr canvas = positionCodedCanvas(96, 64);
    EffectRun run = runEffectIndex(k12Clockwise, 96, 64, canvas.get(), nullptr);
    ASSERT_GT(run.frames.size(), 10u);
    Point lowerLeft = atAngle(96, 64, 135);
    EXPECT_EQ(run.frames[5].at(lowerLeft.x, lowerLeft.y), kBlack);
    Point upperRight = atAngle(96, 64, 315);
    EXPECT_EQ(positionOf(run.frames[5].at(upperRight.x, upperRight.y)), upperRight);
}
