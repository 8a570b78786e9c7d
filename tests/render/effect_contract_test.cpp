// The contract every effect keeps, checked over the whole dispatch table:
// render mode writes exactly the frames count mode reports, counting draws
// nothing, and a refused write at any frame leaves nothing allocated.
#include <gtest/gtest.h>

#include <set>

#include "effect_harness.h"
#include "render/effects/effect_table.h"

using namespace harness;

namespace {

struct Size {
    int W, H;
};
const Size kSizes[] = {{256, 256}, {400, 256}, {256, 400}};
const int kHolds[] = {0, 1, 3};

class EveryIndex : public ::testing::TestWithParam<int> {};

std::vector<int> allIndices() {
    std::vector<int> indices;
    for (int i = 0; i <= 99; ++i) indices.push_back(i);
    indices.push_back(-1);
    indices.push_back(150);
    return indices;
}

} // namespace

TEST_P(EveryIndex, RenderWritesTheFramesCountModeReports) {
    int index = GetParam();
    for (const Size& size : kSizes) {
        WandPtr canvas = solidCanvas(size.W, size.H, "#ff0000");
        for (int hold : kHolds) {
            for (bool first : {true, false}) {
                SCOPED_TRACE(::testing::Message() << size.W << "x" << size.H << " hold " << hold
                                                  << (first ? " first" : " after another"));
                WandPtr previous = solidCanvas(size.W, size.H, "#0000ff");
                int counted = countEffectIndex(index, size.W, size.H, hold, previous.get());
                EXPECT_EQ(pixelOf(previous.get(), size.W / 2, size.H / 2), kBlue);

                EffectSetup setup;
                setup.index = index;
                setup.W = size.W;
                setup.H = size.H;
                setup.holdFrames = hold;
                setup.canvas = canvas.get();
                setup.decode = false;
                if (!first) setup.previous = std::move(previous);
                EffectRun run = runEffectIndex(std::move(setup));
                EXPECT_EQ(run.sinkCalls, counted);
                EXPECT_EQ(run.framesWritten, counted);
                ASSERT_NE(run.result, nullptr);
                EXPECT_EQ(MagickGetImageWidth(run.result.get()), static_cast<size_t>(size.W));
                EXPECT_EQ(MagickGetImageHeight(run.result.get()), static_cast<size_t>(size.H));
            }
        }
    }
}

TEST_P(EveryIndex, RefusedWriteAtAnyFrameReturnsNullAndFreesEverything) {
    int index = GetParam();
    const int W = 256, H = 256, hold = 4;
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    std::unique_ptr<CaptionOverlay> caption = testCaption(W, H);
    int counted = countEffectIndex(index, W, H, hold);
    int transition = counted - hold;
    // Each stage: the first frames, mid-transition, the final frame's first
    // write, the caption fade of the hold frames and the last hold frame.
    std::set<int> stages = {0, 1, transition / 2, transition - 1, transition, transition + 1,
                            transition + 2, counted - 1};
    for (int refuseAt : stages) {
        if (refuseAt < 0 || refuseAt >= counted) continue;
        for (bool first : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "refused frame " << refuseAt
                                              << (first ? " first" : " after another"));
            EffectSetup setup;
            setup.index = index;
            setup.W = W;
            setup.H = H;
            setup.holdFrames = hold;
            setup.canvas = canvas.get();
            setup.caption = caption.get();
            setup.refuseAt = refuseAt;
            setup.decode = false;
            if (!first) setup.previous = solidCanvas(W, H, "#0000ff");
            EffectRun run = runEffectIndex(std::move(setup));
            EXPECT_EQ(run.result, nullptr);
            EXPECT_EQ(run.sinkCalls, refuseAt + 1) << "no frame may follow a refusal";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DispatchTable, EveryIndex, ::testing::ValuesIn(allIndices()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param < 0 ? "minus" + std::to_string(-info.param)
                                                   : std::to_string(info.param);
                         });

TEST(EffectTable, IndicesWithoutAnEffectRenderAsNoAnimation) {
    for (int index : {93, 94, 99, 150, -1, -100})
        EXPECT_EQ(effectFor(index), effectFor(kNoAnimation)) << index;
    int named = 0;
    for (const EffectEntry& entry : effectTable) named += entry.name != nullptr;
    EXPECT_EQ(named, 97);
    EXPECT_EQ(effectTable[93].name, nullptr);
    EXPECT_EQ(effectTable[94].name, nullptr);
}
