// Every named effect of the dispatch table animates, and writes exactly the
// frames count mode reports at the output sizes users pick, small and large.
#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/effect_table.h"
#include "render/magick_mirror/own_pixel_work.h"

using namespace harness;

namespace {

// The 97 indices with a display name (the contract test checks there are 97).
std::vector<int> namedIndices() {
    std::vector<int> indices;
    for (int i = 0; i < kEffectTableSize; ++i)
        if (effectTable[i].name) indices.push_back(i);
    return indices;
}

class EveryNamedEffect : public ::testing::TestWithParam<int> {};

} // namespace

// One case per index (each case is a process of its own under ctest, and
// the large sizes dominate it).
TEST_P(EveryNamedEffect, AnimatesAndRendersTheCountedFramesAtEverySize) {
    const int index = GetParam();
    {
        // No animation writes only hold frames, each the plain picture; an
        // effect's first transition frame already shows it under way. Later
        // frames are refused, so the run stops there.
        SCOPED_TRACE("first frame at 400x400");
        const int W = 400, H = 400;
        WandPtr canvas = positionCodedCanvas(W, H);
        EffectSetup setup;
        setup.index = index;
        setup.W = W;
        setup.H = H;
        setup.canvas = canvas.get();
        setup.previous = solidCanvas(W, H, "#0000ff");
        setup.refuseAt = 1;
        EffectRun run = runEffectIndex(std::move(setup));
        ASSERT_EQ(run.frames.size(), 1u) << "no transition frame";
        EXPECT_NE(run.frames[0], frameOf(canvas.get())) << "the first frame is the plain picture";
    }
    const int hold = 1;
    for (auto [W, H] : {std::pair{256, 256}, {800, 450}, {1080, 1440}, {3840, 256}}) {
        SCOPED_TRACE(::testing::Message() << W << "x" << H);
        WandPtr canvas = solidCanvas(W, H, "#ff0000");
        WandPtr previous = solidCanvas(W, H, "#0000ff");
        int counted = countEffectIndex(index, W, H, hold, previous.get());
        EffectSetup setup;
        setup.index = index;
        setup.W = W;
        setup.H = H;
        setup.holdFrames = hold;
        setup.canvas = canvas.get();
        setup.previous = std::move(previous);
        setup.decode = false;
        EffectRun run = runEffectIndex(std::move(setup));
        EXPECT_EQ(run.sinkCalls, counted);
        ASSERT_NE(run.result, nullptr);
        EXPECT_EQ(MagickGetImageWidth(run.result.get()), static_cast<size_t>(W));
        EXPECT_EQ(MagickGetImageHeight(run.result.get()), static_cast<size_t>(H));
    }
}

// The program's own resizes, composites, distortions and shape masks give
// every frame ImageMagick's calls give, bit for bit, with a caption laid on
// the hold frames, at odd and even sizes.
TEST_P(EveryNamedEffect, DrawsTheFramesImageMagickAloneDraws) {
    const int index = GetParam();
    for (auto [W, H] : {std::pair{61, 45}, {48, 64}}) {
        SCOPED_TRACE(::testing::Message() << W << "x" << H);
        WandPtr canvas = positionCodedCanvas(W, H);
        auto caption = testCaption(W, H);
        auto run = [&](bool own) {
            ownPixelWork = own;
            EffectSetup setup;
            setup.index = index;
            setup.W = W;
            setup.H = H;
            setup.holdFrames = 3;
            setup.canvas = canvas.get();
            setup.caption = caption.get();
            setup.previous = negativeCodedCanvas(W, H);
            EffectRun result = runEffectIndex(std::move(setup));
            ownPixelWork = true;
            return result;
        };
        EffectRun own = run(true);
        EffectRun imageMagick = run(false);
        ASSERT_EQ(own.frames.size(), imageMagick.frames.size());
        for (std::size_t i = 0; i < own.frames.size(); ++i)
            EXPECT_EQ(own.frames[i], imageMagick.frames[i]) << "frame " << i;
        ASSERT_NE(own.result, nullptr);
        ASSERT_NE(imageMagick.result, nullptr);
        EXPECT_EQ(frameOf(own.result.get()), frameOf(imageMagick.result.get())) << "final frame";
    }
}

INSTANTIATE_TEST_SUITE_P(DispatchTable, EveryNamedEffect, ::testing::ValuesIn(namedIndices()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param);
                         });
