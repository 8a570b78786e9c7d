#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/move_grow.h"

using namespace harness;

namespace {

const std::pair<int, MoveGrowFrom> kMembers[] = {
    {89, MoveGrowFrom::Top}, {90, MoveGrowFrom::Bottom},
    {91, MoveGrowFrom::Left}, {92, MoveGrowFrom::Right}};

std::vector<int> movingY(const std::vector<MoveGrowFrame>& frames) {
    std::vector<int> ys;
    for (const MoveGrowFrame& f : frames)
        if (f.phase == MoveGrowPhase::Moving) ys.push_back(f.y);
    return ys;
}

std::vector<int> movingX(const std::vector<MoveGrowFrame>& frames) {
    std::vector<int> xs;
    for (const MoveGrowFrame& f : frames)
        if (f.phase == MoveGrowPhase::Moving) xs.push_back(f.x);
    return xs;
}

} // namespace

TEST(MoveGrowGeometry, StepIsEvenAndTheCountFollowsTheWidth) {
    struct Case {
        int W, m, n;
    };
    for (Case c : {Case{800, 66, 13}, Case{400, 34, 12}, Case{1920, 160, 12}}) {
        MoveGrowGeometry g = moveGrowGeometry(c.W, 450);
        EXPECT_EQ(g.m, c.m) << c.W;
        EXPECT_EQ(g.n, c.n) << c.W;
        EXPECT_EQ(moveGrowFrames(MoveGrowFrom::Top, c.W, 450).size(),
                  static_cast<std::size_t>(c.n + 5));
        EXPECT_EQ(countEffectIndex(90, c.W, 450, 4), c.n + 5 + 4);
    }
    EXPECT_TRUE(moveGrowFrames(MoveGrowFrom::Left, 10, 10).empty()) << "no step to grow by";
}

TEST(MoveGrowGeometry, SquareFrameFromTopAndBottom) {
    auto top = moveGrowFrames(MoveGrowFrom::Top, 800, 800);
    ASSERT_EQ(top.size(), 18u);
    EXPECT_EQ(movingY(top), (std::vector<int>{0, 55, 111, 167, 222, 278}));
    EXPECT_EQ(top[0], (MoveGrowFrame{MoveGrowPhase::Moving, 334, 0, 132, 132}));
    EXPECT_EQ(top[6], (MoveGrowFrame{MoveGrowPhase::Growing, 334, 334, 132, 132}));
    EXPECT_EQ(top[16], (MoveGrowFrame{MoveGrowPhase::Growing, 4, 4, 792, 792}));
    EXPECT_EQ(top[17], (MoveGrowFrame{MoveGrowPhase::Final, 0, 0, 800, 800}));
    auto bottom = moveGrowFrames(MoveGrowFrom::Bottom, 800, 800);
    EXPECT_EQ(movingY(bottom), (std::vector<int>{668, 612, 556, 500, 445, 389}));
    EXPECT_EQ(bottom[6], top[6]) << "the growing phase is shared";
}

TEST(MoveGrowGeometry, WideFrameFromTopAndRight) {
    auto top = moveGrowFrames(MoveGrowFrom::Top, 800, 450);
    EXPECT_EQ(top[0].width, 132);
    EXPECT_EQ(top[0].height, 74);
    EXPECT_EQ(movingY(top), (std::vector<int>{0, 26, 53, 79, 106, 132}));
    EXPECT_EQ(top[6], (MoveGrowFrame{MoveGrowPhase::Growing, 334, 187, 132, 74}));
    auto right = moveGrowFrames(MoveGrowFrom::Right, 800, 450);
    EXPECT_EQ(movingX(right), (std::vector<int>{668, 612, 556, 500, 445, 389}));
    EXPECT_EQ(movingY(right), std::vector<int>(6, 187));
    EXPECT_EQ(movingX(moveGrowFrames(MoveGrowFrom::Left, 800, 450)),
              (std::vector<int>{0, 55, 111, 167, 222, 278}));
}

TEST(MoveGrowGeometry, VeryWideFramesKeepTheMovingCopyInside) {
    // At 1920x256 the copy is wider than the frame is high: the vertical
    // travel would be negative, so the copy stays at its starting edge.
    for (auto [W, H] : {std::pair{1920, 256}, {3840, 256}, {3840, 600}}) {
        EXPECT_GE(moveGrowGeometry(W, H).v, 0.0f);
        for (MoveGrowFrom from : {MoveGrowFrom::Top, MoveGrowFrom::Bottom}) {
            for (const MoveGrowFrame& f : moveGrowFrames(from, W, H)) {
                EXPECT_GE(f.y, 0) << W << "x" << H;
                EXPECT_LE(f.y + f.height, H) << W << "x" << H;
            }
        }
    }
    EXPECT_EQ(movingY(moveGrowFrames(MoveGrowFrom::Top, 1920, 256)), std::vector<int>(6, 0));
    EXPECT_EQ(movingY(moveGrowFrames(MoveGrowFrom::Bottom, 1920, 256)), std::vector<int>(6, 213));
}

TEST(MoveGrow, TheCopyMovesOverThePreviousFrameThenGrowsOnIt) {
    const int W = 256, H = 192;
    WandPtr canvas = positionCodedCanvas(W, H);
    for (auto [index, from] : kMembers) {
        SCOPED_TRACE(index);
        auto geometry = moveGrowFrames(from, W, H);
        WandPtr previous = solidCanvas(W, H, "#0000ff");
        MagickWand* previousWand = previous.get();
        EffectRun move = runEffectIndex(index, W, H, canvas.get(), std::move(previous));
        ASSERT_EQ(move.frames.size(), geometry.size());
        for (std::size_t i = 0; i + 1 < geometry.size(); ++i) {
            const MoveGrowFrame& at = geometry[i];
            SCOPED_TRACE(i);
            // The copy's centre shows the picture's centre; the rest, the previous frame.
            Point centre = positionOf(move.frames[i].at(at.x + at.width / 2, at.y + at.height / 2));
            // (within a source pixel of the scaled copy)
            EXPECT_NEAR(centre.x, W / 2, W / at.width + 2);
            EXPECT_NEAR(centre.y, H / 2, H / at.height + 2);
            EXPECT_EQ(pixelsNear(move.frames[i], kBlue, 0), W * H - at.width * at.height);
        }
        EXPECT_EQ(move.frames.back(), frameOf(canvas.get()));
        EXPECT_EQ(move.result.get(), previousWand) << "grown on the previous frame itself";
    }
}

TEST(MoveGrow, EveryMemberRevealsThePictureStepByStep) {
    for (auto [index, from] : kMembers) expectRevealToRed(index, 128, 96);
}

TEST(MoveGrow, FirstPictureMovesAndGrowsOnBlack) {
    const int W = 200, H = 150;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun move = runEffectIndex(91, W, H, canvas.get(), nullptr);
    auto geometry = moveGrowFrames(MoveGrowFrom::Left, W, H);
    ASSERT_EQ(move.frames.size(), geometry.size());
    for (std::size_t i = 0; i + 1 < geometry.size(); ++i) {
        int area = geometry[i].width * geometry[i].height;
        EXPECT_EQ(pixelsNear(move.frames[i], kRed), area) << i;
        EXPECT_EQ(pixelsNear(move.frames[i], kBlack), W * H - area) << i;
    }
    EXPECT_EQ(move.frames.back(), frameOf(canvas.get()));
}
