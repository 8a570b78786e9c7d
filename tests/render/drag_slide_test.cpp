#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/drag_slide.h"

using namespace harness;

namespace {

constexpr int kDragLeftToRight = 27, kDragRightToLeft = 28, kDragTopToBottom = 29,
              kDragBottomToTop = 30;
constexpr int kSlideOutLeftToRight = 69, kSlideOutRightToLeft = 70, kSlideOutTopToBottom = 71,
              kSlideOutBottomToTop = 72;
constexpr int kSlideInLeftToRight = 85, kSlideInRightToLeft = 86, kSlideInTopToBottom = 87,
              kSlideInBottomToTop = 88;

// 400 x 256: the horizontal drags step 25, the vertical ones 16; the slides
// step 24 across and 16 down.
constexpr int W = 400, H = 256;

} // namespace

TEST(DragSchedule, OffsetsStepToTheExtentThenThePlainPicture) {
    std::vector<int> offsets = dragOffsets(800, 50);
    ASSERT_EQ(offsets.size(), 16u);
    EXPECT_EQ(offsets[0], 50);
    EXPECT_EQ(offsets[14], 750);
    EXPECT_EQ(offsets[15], 800);
    offsets = dragOffsets(1080, 67);
    ASSERT_EQ(offsets.size(), 17u);
    EXPECT_EQ(offsets[15], 1072);
    EXPECT_EQ(offsets[16], 1080);
    EXPECT_EQ(dragOffsets(256, 256), std::vector<int>{256}) << "a step landing on E is the end";
    EXPECT_EQ(dragOffsets(20, 0).size(), 20u) << "a zero step counts as 1, never loops";
}

TEST(DragSchedule, EachMemberCutsAndPlacesItsOwnPieces) {
    // {x, y, width, height, atX, atY} of the picture's piece, then the previous frame's.
    EXPECT_EQ(dragPieces(Direction::LeftToRight, 800, 450, 50),
              (DragPieces{{750, 0, 50, 450, 0, 0}, {0, 0, 800, 450, 50, 0}}));
    EXPECT_EQ(dragPieces(Direction::RightToLeft, 800, 450, 50),
              (DragPieces{{0, 0, 50, 450, 750, 0}, {50, 0, 750, 450, 0, 0}}));
    EXPECT_EQ(dragPieces(Direction::TopToBottom, 800, 450, 28),
              (DragPieces{{0, 422, 800, 28, 0, 0}, {0, 0, 800, 450, 0, 28}}));
    EXPECT_EQ(dragPieces(Direction::BottomToTop, 800, 450, 28),
              (DragPieces{{0, 0, 800, 28, 0, 422}, {0, 28, 800, 422, 0, 0}}));
}

TEST(SlideSchedule, StepsAndPositionsOfTheWorkedExamples) {
    EXPECT_EQ(slideStep(800), 48);
    EXPECT_EQ(slideStep(1080), 64);
    EXPECT_EQ(slideStep(720), 42);
    EXPECT_EQ(slideStep(10), 2) << "a tiny extent still moves";

    std::vector<int> out = slideOutSteps(800);
    ASSERT_EQ(out.size(), 17u);
    EXPECT_EQ(out.front(), 16);
    EXPECT_EQ(out.back(), 0);
    EXPECT_EQ(slideOutPosition(Direction::LeftToRight, 800, 450, 48, 16), (Offset{32, 0}));
    EXPECT_EQ(slideOutPosition(Direction::LeftToRight, 800, 450, 48, 15), (Offset{80, 0}));
    EXPECT_EQ(slideOutPosition(Direction::LeftToRight, 800, 450, 48, 1), (Offset{752, 0}));
    EXPECT_EQ(slideOutPosition(Direction::RightToLeft, 800, 450, 48, 16), (Offset{-32, 0}));
    EXPECT_EQ(slideOutPosition(Direction::TopToBottom, 800, 450, 26, 3), (Offset{0, 372}));
    EXPECT_EQ(slideOutPosition(Direction::BottomToTop, 800, 450, 26, 3), (Offset{0, -372}));
    EXPECT_EQ(slideOutSteps(816).front(), 16) << "816 = 17 * 48: one step fewer";

    std::vector<int> in = slideInSteps(800);
    ASSERT_EQ(in.size(), 16u) << "plus the plain picture: 17 frames";
    EXPECT_EQ(slideInPosition(Direction::LeftToRight, 800, 450, 48, in.front()), (Offset{-752, 0}));
    EXPECT_EQ(slideInPosition(Direction::LeftToRight, 800, 450, 48, in.back()), (Offset{-32, 0}));
    EXPECT_EQ(slideInPosition(Direction::RightToLeft, 800, 450, 48, 1), (Offset{752, 0}));
    EXPECT_EQ(slideInPosition(Direction::TopToBottom, 800, 450, 26, 1), (Offset{0, -424}));
    EXPECT_EQ(slideInPosition(Direction::BottomToTop, 800, 450, 26, 1), (Offset{0, 424}));
    EXPECT_EQ(slideInSteps(720).size() + 1, 18u) << "1280 x 720 from the top: s = 42, n = 18";
}

TEST(DragSlide, CountModeStoresTheScheduleAtEverySize) {
    EXPECT_EQ(countEffectIndex(kDragLeftToRight, 800, 800, 5), 16 + 5);
    EXPECT_EQ(countEffectIndex(kDragRightToLeft, 1080, 1440, 0), 17);
    EXPECT_EQ(countEffectIndex(kDragTopToBottom, 1080, 1440, 0), 16) << "1440 / 90";
    EXPECT_EQ(countEffectIndex(kSlideOutTopToBottom, 800, 800, 2), 17 + 2);
    EXPECT_EQ(countEffectIndex(kSlideInTopToBottom, 1280, 720, 0), 18);
    EXPECT_EQ(countEffectIndex(kSlideInRightToLeft, 1280, 720, 0), 17) << "1280: s = 76, n = 17";
}

TEST(DragSlide, EveryMemberTurnsBlueIntoRed) {
    for (int index : {kDragLeftToRight, kDragRightToLeft, kDragTopToBottom, kDragBottomToTop,
                      kSlideOutLeftToRight, kSlideOutRightToLeft, kSlideOutTopToBottom,
                      kSlideOutBottomToTop, kSlideInLeftToRight, kSlideInRightToLeft,
                      kSlideInTopToBottom, kSlideInBottomToTop})
        expectRevealToRed(index, 160, 120);
}

TEST(Drag, PicturesFollowEachOtherEdgeToEdge) {
    // Frame 2 has offset 75 across (s = 25) or 48 down (s = 16).
    expectProbes(runCoded(kDragLeftToRight, W, H),
                 {{2, {74, 10}, From::Picture, {399, 10}},
                  {2, {75, 10}, From::Previous, {0, 10}},
                  {2, {399, 200}, From::Previous, {324, 200}},
                  {14, {0, 0}, From::Picture, {25, 0}}});
    expectProbes(runCoded(kDragRightToLeft, W, H),
                 {{2, {0, 10}, From::Previous, {75, 10}},
                  {2, {324, 10}, From::Previous, {399, 10}},
                  {2, {325, 10}, From::Picture, {0, 10}},
                  {2, {399, 255}, From::Picture, {74, 255}}});
    expectProbes(runCoded(kDragTopToBottom, W, H),
                 {{2, {10, 47}, From::Picture, {10, 255}},
                  {2, {10, 48}, From::Previous, {10, 0}},
                  {2, {399, 255}, From::Previous, {399, 207}}});
    expectProbes(runCoded(kDragBottomToTop, W, H),
                 {{2, {10, 0}, From::Previous, {10, 48}},
                  {2, {10, 207}, From::Previous, {10, 255}},
                  {2, {10, 208}, From::Picture, {10, 0}}});
}

TEST(SlideOut, PreviousFrameMovesOffTheStandingPicture) {
    // Across: s = 24, n = 16, the first frame at 16; down: s = 16, n = 15, at 16.
    expectProbes(runCoded(kSlideOutLeftToRight, W, H),
                 {{0, {15, 5}, From::Picture, {15, 5}},
                  {0, {16, 5}, From::Previous, {0, 5}},
                  {15, {375, 5}, From::Picture, {375, 5}},
                  {15, {376, 5}, From::Previous, {0, 5}}});
    expectProbes(runCoded(kSlideOutRightToLeft, W, H),
                 {{0, {383, 5}, From::Previous, {399, 5}},
                  {0, {384, 5}, From::Picture, {384, 5}}});
    expectProbes(runCoded(kSlideOutTopToBottom, W, H),
                 {{0, {5, 15}, From::Picture, {5, 15}},
                  {0, {5, 16}, From::Previous, {5, 0}}});
    expectProbes(runCoded(kSlideOutBottomToTop, W, H),
                 {{0, {5, 239}, From::Previous, {5, 255}},
                  {0, {5, 240}, From::Picture, {5, 240}}});
}

TEST(SlideIn, PictureMovesOverTheStandingPreviousFrame) {
    expectProbes(runCoded(kSlideInLeftToRight, W, H),
                 {{0, {23, 5}, From::Picture, {399, 5}},
                  {0, {24, 5}, From::Previous, {24, 5}},
                  {4, {119, 5}, From::Picture, {399, 5}},
                  {4, {120, 5}, From::Previous, {120, 5}}});
    expectProbes(runCoded(kSlideInRightToLeft, W, H),
                 {{0, {375, 5}, From::Previous, {375, 5}},
                  {0, {376, 5}, From::Picture, {0, 5}}});
    expectProbes(runCoded(kSlideInTopToBottom, W, H),
                 {{0, {5, 15}, From::Picture, {5, 255}},
                  {0, {5, 16}, From::Previous, {5, 16}}});
    expectProbes(runCoded(kSlideInBottomToTop, W, H),
                 {{0, {5, 239}, From::Previous, {5, 239}},
                  {0, {5, 240}, From::Picture, {5, 0}}});
}

TEST(Drag, FirstPicturePushesABlackFrameOut) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun run = runEffectIndex(kDragLeftToRight, W, H, canvas.get(), nullptr);
    ASSERT_EQ(run.frames.size(), 16u);
    expectColours(run, {{0, {24, 5}, kRed}, {0, {25, 5}, kBlack}});
}
