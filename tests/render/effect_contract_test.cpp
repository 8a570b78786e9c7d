// The contract every effect keeps, checked over the whole dispatch table:
// render mode writes exactly the frames count mode reports, counting draws
// nothing, final-frame mode gives the frame a render ends on, and a refused
// write at any frame leaves nothing allocated.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>

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

// What a frame hands to the next picture: every pixel with its alpha, and
// the image properties that drawing on it or encoding it reads.
struct HandedOver {
    std::string properties;
    std::vector<std::uint16_t> pixels;
    bool operator==(const HandedOver&) const = default;
};

HandedOver handedOver(MagickWand* wand) {
    const Image* image = GetImageFromMagickWand(wand);
    std::ostringstream out;
    out << image->columns << "x" << image->rows << " matte " << image->matte << " colorspace "
        << image->colorspace << " class " << image->storage_class << " type " << image->type
        << " depth " << image->depth << " quality " << image->quality << " page "
        << image->page.width << "x" << image->page.height << "+" << image->page.x << "+"
        << image->page.y << " background " << image->background_color.red << ","
        << image->background_color.green << "," << image->background_color.blue << ","
        << image->background_color.opacity << " virtual "
        << GetImageVirtualPixelMethod(image) << " gamma " << image->gamma << " compression "
        << image->compression << " interlace " << image->interlace;
    MagickTextPtr format(MagickGetImageFormat(wand));
    out << " format " << (format ? format.get() : "");
    std::size_t count = 0;
    char** names = MagickGetImageProperties(wand, "*", &count);
    for (std::size_t i = 0; i < count; ++i) {
        out << " " << names[i];
        MagickRelinquishMemory(names[i]);
    }
    if (names) MagickRelinquishMemory(names);
    HandedOver handed;
    handed.properties = out.str();
    handed.pixels.resize(image->columns * image->rows * 4);
    MagickExportImagePixels(wand, 0, 0, image->columns, image->rows, "RGBA", ShortPixel,
                            handed.pixels.data());
    return handed;
}

} // namespace

// A grey picture: encoding one may turn it into a grey image.
WandPtr greyCanvas(int width, int height) {
    WandPtr wand(NewMagickWand());
    MagickSetSize(wand.get(), width, height);
    MagickReadImage(wand.get(), "gradient:#202020-#e0e0e0");
    return wand;
}

TEST_P(EveryIndex, FinalFrameModeGivesTheFrameTheRenderEndsOn) {
    // The render engine starts a picture from its predecessor's final frame
    // made this way, so any difference would change every video after it.
    // Rendered with the program's own frame encoding, whose effects on the
    // frames it encodes must not reach the frame handed over.
    int index = GetParam();
    for (const Size& size : kSizes) {
        WandPtr coded = positionCodedCanvas(size.W, size.H);
        WandPtr grey = greyCanvas(size.W, size.H);
        std::unique_ptr<CaptionOverlay> caption = testCaption(size.W, size.H);
        for (auto [canvas, first] : {std::pair{coded.get(), true}, std::pair{coded.get(), false},
                                     std::pair{grey.get(), false}}) {
            SCOPED_TRACE(::testing::Message() << size.W << "x" << size.H
                                              << (canvas == grey.get() ? " grey" : "")
                                              << (first ? " first" : " after another"));
            EffectSetup setup;
            setup.index = index;
            setup.W = size.W;
            setup.H = size.H;
            setup.holdFrames = 2;
            setup.canvas = canvas;
            setup.caption = caption.get();
            setup.decode = false;
            setup.ownEncoding = true;
            if (!first) setup.previous = negativeCodedCanvas(size.W, size.H);
            EffectRun run = runEffectIndex(std::move(setup));
            ASSERT_NE(run.result, nullptr);

            EffectContext ctx;  // no frame sink: a frame written would be refused
            ctx.W = size.W;
            ctx.H = size.H;
            ctx.holdFrames = 2;
            ctx.canvas = canvas;
            ctx.caption = caption.get();
            ctx.finalOnly = true;
            if (!first) ctx.previous = negativeCodedCanvas(size.W, size.H);
            WandPtr final = runEffect(index, ctx);
            ASSERT_NE(final, nullptr);
            EXPECT_EQ(ctx.framesWritten, 0);
            HandedOver expected = handedOver(run.result.get());
            HandedOver made = handedOver(final.get());
            EXPECT_EQ(made.properties, expected.properties);
            EXPECT_TRUE(made.pixels == expected.pixels) << "the pixels differ";
        }
    }
}

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
        EXPECT_EQ(effectEntry(index).family, effectEntry(kNoAnimation).family) << index;
    int named = 0;
    for (const EffectEntry& entry : effectTable) named += entry.name != nullptr;
    EXPECT_EQ(named, 97);
    EXPECT_EQ(effectTable[93].name, nullptr);
    EXPECT_EQ(effectTable[94].name, nullptr);
}
