#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/corner_crop_wipe_out.h"
#include "render/effects/grow.h"

using namespace harness;

namespace {

struct Member {
    int index;
    RevealMember member;
};
const Member kMembers[] = {
    {6, RevealMember::FromTopLeft},
    {8, RevealMember::FromBottomLeft},
    {10, RevealMember::FromTopRight},
    {12, RevealMember::FromBottomRight},
    {18, RevealMember::CenterToEdges},
    {19, RevealMember::MiddleToSidesHorizontal},
    {20, RevealMember::MiddleToSidesVertical},
    {21, RevealMember::LeftToRight},
    {22, RevealMember::TopToBottom},
    {23, RevealMember::BottomToTop},
    {24, RevealMember::RightToLeft},
};

} // namespace

TEST(RevealOpening, WipesRunOnTheGrowSchedule) {
    // W = 800, index 21: 50, 100, ..., 750 wide at the left edge, then the picture.
    EXPECT_EQ(growSchedule(800, 50).size(), 16u);
    EXPECT_EQ(revealOpening(RevealMember::LeftToRight, 800, 450, 50),
              (RevealOpening{0, 0, 50, 450}));
    EXPECT_EQ(revealOpening(RevealMember::LeftToRight, 800, 450, 750),
              (RevealOpening{0, 0, 750, 450}));
    EXPECT_EQ(countEffectIndex(21, 800, 450, 3), 16 + 3);
    // H = 1000, index 23: heights 62 ... 992 anchored at the bottom, then the picture.
    EXPECT_EQ(revealOpening(RevealMember::BottomToTop, 750, 1000, 62),
              (RevealOpening{0, 938, 750, 62}));
    EXPECT_EQ(revealOpening(RevealMember::BottomToTop, 750, 1000, 992),
              (RevealOpening{0, 8, 750, 992}));
    EXPECT_EQ(countEffectIndex(23, 750, 1000, 0), 17);
    EXPECT_EQ(revealOpening(RevealMember::RightToLeft, 800, 450, 50),
              (RevealOpening{750, 0, 50, 450}));
    EXPECT_EQ(revealOpening(RevealMember::TopToBottom, 800, 450, 28),
              (RevealOpening{0, 0, 800, 28}));
}

TEST(RevealOpening, CornersAndCentreKeepTheFrameProportions) {
    // 750 x 1000 (r rounds to 1.3333334): the bottom corners add 0.1 before truncating.
    EXPECT_EQ(revealOpening(RevealMember::FromBottomLeft, 750, 1000, 46),
              (RevealOpening{0, 938, 46, 61}));
    EXPECT_EQ(revealOpening(RevealMember::FromBottomLeft, 750, 1000, 690),
              (RevealOpening{0, 80, 690, 920}));
    EXPECT_EQ(revealOpening(RevealMember::FromBottomRight, 750, 1000, 690),
              (RevealOpening{60, 80, 690, 920}));
    EXPECT_EQ(revealOpening(RevealMember::FromTopLeft, 750, 1000, 690),
              (RevealOpening{0, 0, 690, 920}));
    EXPECT_EQ(revealOpening(RevealMember::FromTopRight, 800, 450, 50),
              (RevealOpening{750, 0, 50, 28}));
    EXPECT_EQ(revealOpening(RevealMember::CenterToEdges, 800, 450, 50),
              (RevealOpening{375, 210, 50, 28}));
    // W = 750, index 19: step 46, the band about the vertical centre line.
    EXPECT_EQ(revealOpening(RevealMember::MiddleToSidesHorizontal, 750, 1000, 46),
              (RevealOpening{352, 0, 46, 1000}));
    EXPECT_EQ(revealOpening(RevealMember::MiddleToSidesVertical, 800, 450, 28),
              (RevealOpening{0, 211, 800, 28}));
}

TEST(CornerCropWipeOut, ThePictureShowsInPlaceThroughTheOpeningOnly) {
    // Every pixel inside an opening (this frame's or an earlier one's: drawing
    // accumulates) shows the picture's own pixel; every other one, the
    // previous frame.
    const int W = 128, H = 96;
    WandPtr canvas = positionCodedCanvas(W, H);
    for (const Member& m : kMembers) {
        SCOPED_TRACE(m.index);
        WandPtr previous = solidCanvas(W, H, "#0000ff");
        MagickWand* previousWand = previous.get();
        EffectRun reveal = runEffectIndex(m.index, W, H, canvas.get(), std::move(previous));
        bool alongHeight = revealsAlongHeight(m.member);
        std::vector<int> extents = growSchedule(alongHeight ? H : W, alongHeight ? H / 16 : W / 16);
        ASSERT_EQ(reveal.frames.size(), extents.size());
        std::vector<bool> uncovered(static_cast<std::size_t>(W) * H, false);
        for (std::size_t i = 0; i + 1 < extents.size(); ++i) {
            RevealOpening at = revealOpening(m.member, W, H, extents[i]);
            for (int y = at.y; y < at.y + at.height; ++y)
                for (int x = at.x; x < at.x + at.width; ++x) uncovered[y * W + x] = true;
            int wrong = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    Rgb shown = reveal.frames[i].at(x, y);
                    wrong += uncovered[y * W + x] ? !(positionOf(shown) == Point{x, y})
                                                  : !(shown == kBlue);
                }
            EXPECT_EQ(wrong, 0) << "frame " << i;
        }
        EXPECT_EQ(reveal.frames.back(), frameOf(canvas.get()));
        EXPECT_EQ(reveal.result.get(), previousWand) << "drawn on the previous frame itself";
    }
}

TEST(CornerCropWipeOut, EveryMemberRevealsThePictureStepByStep) {
    for (const Member& m : kMembers) expectRevealToRed(m.index, 128, 96);
}

TEST(CornerCropWipeOut, FirstPictureOpensOnBlack) {
    const int W = 128, H = 96;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun reveal = runEffectIndex(18, W, H, canvas.get(), nullptr);
    RevealOpening at = revealOpening(RevealMember::CenterToEdges, W, H, W / 16);
    ASSERT_FALSE(reveal.frames.empty());
    EXPECT_EQ(pixelsNear(reveal.frames[0], kRed), at.width * at.height);
    EXPECT_EQ(pixelsNear(reveal.frames[0], kBlack), W * H - at.width * at.height);
}
