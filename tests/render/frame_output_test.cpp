// Hold frames, the caption fade-in and the shared frame-output routines.
#include <gtest/gtest.h>

#include "effect_harness.h"
#include "render/effects/effect_table.h"

using namespace harness;

namespace {

constexpr int kFade = 31;
const int W = 256, H = 256;

// A pixel inside the caption's box but clear of its text (the box's inset).
Point boxPixel(const CaptionOverlay& caption) {
    return {static_cast<int>(caption.x) + 2, static_cast<int>(caption.y) + 2};
}

// Red under a black box at opacity a shows red * (1 - a).
int redUnderBox(double opacity) { return static_cast<int>(255 * (1 - opacity) + 0.5); }

EffectRun runWithCaption(int index, int hold, CaptionOverlay* caption, MagickWand* canvas) {
    EffectSetup setup;
    setup.index = index;
    setup.holdFrames = hold;
    setup.canvas = canvas;
    setup.caption = caption;
    setup.previous = solidCanvas(W, H, "#0000ff");
    return runEffectIndex(std::move(setup));
}

} // namespace

TEST(HoldFrames, CaptionFadesInOverThreeFramesThenStays) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    auto caption = testCaption(W, H);
    EffectRun run = runWithCaption(kFade, 5, caption.get(), canvas.get());
    ASSERT_EQ(run.frames.size(), 17u + 5u);
    Point probe = boxPixel(*caption);
    // The transition frames carry no caption.
    EXPECT_EQ(run.frames[16].at(probe.x, probe.y), kRed);
    const double opacities[] = {0.35, 0.60, 0.85};
    for (int i = 0; i < 3; ++i) {
        Rgb seen = run.frames[17 + i].at(probe.x, probe.y);
        EXPECT_TRUE(near(seen, {redUnderBox(opacities[i]), 0, 0})) << "hold " << i << " " << seen;
    }
    EXPECT_EQ(run.frames[20], run.frames[19]);
    EXPECT_EQ(run.frames[21], run.frames[19]);
    // Away from the caption every hold frame is the plain picture.
    EXPECT_EQ(run.frames[17].at(0, 0), kRed);
}

TEST(HoldFrames, OneHoldFrameShowsOnlyTheFirstFadeStep) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    auto caption = testCaption(W, H);
    EffectRun run = runWithCaption(kFade, 1, caption.get(), canvas.get());
    ASSERT_EQ(run.frames.size(), 18u);
    Point probe = boxPixel(*caption);
    EXPECT_TRUE(near(run.frames[17].at(probe.x, probe.y), {redUnderBox(0.35), 0, 0}));
}

TEST(HoldFrames, WithoutCaptionThePlainFinalFrameRepeats) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun run = runWithCaption(kFade, 3, nullptr, canvas.get());
    ASSERT_EQ(run.frames.size(), 20u);
    for (int i = 16; i < 20; ++i) EXPECT_EQ(run.frames[i], frameOf(canvas.get())) << i;
    EXPECT_EQ(frameOf(run.result.get()), frameOf(canvas.get()));
}

TEST(HoldFrames, CaptionWithoutBoxIsLaidOnAtFullStrengthEveryTime) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    auto caption = testCaption(W, H, "测试Ab", 4, false);
    ASSERT_EQ(caption->transparent, 1);
    EffectRun run = runWithCaption(kFade, 4, caption.get(), canvas.get());
    ASSERT_EQ(run.frames.size(), 21u);
    EXPECT_NE(run.frames[17], run.frames[16]) << "the caption shows";
    EXPECT_EQ(run.frames[18], run.frames[17]);
    EXPECT_EQ(run.frames[19], run.frames[17]);
    EXPECT_EQ(run.frames[20], run.frames[17]);
}

TEST(NoAnimation, CaptionShowsAtFinalStrengthFromTheFirstFrame) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    auto caption = testCaption(W, H);
    EffectRun run = runWithCaption(kNoAnimation, 3, caption.get(), canvas.get());
    ASSERT_EQ(run.frames.size(), 3u);
    Point probe = boxPixel(*caption);
    for (const Frame& frame : run.frames)
        EXPECT_TRUE(near(frame.at(probe.x, probe.y), {redUnderBox(0.85), 0, 0}));
    EXPECT_EQ(frameOf(run.result.get()), frameOf(canvas.get())) << "the result has no caption";
}

TEST(NoAnimation, NoHoldFramesWritesNothingAndStillReturnsThePicture) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    EffectRun run = runWithCaption(kNoAnimation, 0, nullptr, canvas.get());
    EXPECT_EQ(run.sinkCalls, 0);
    ASSERT_NE(run.result, nullptr);
    EXPECT_EQ(frameOf(run.result.get()), frameOf(canvas.get()));
}

// Frames encoded during a run, whatever the encoder makes of them.
int encodings = 0;
unsigned char* countingEncoder(MagickWand*, std::size_t* length, void*) {
    ++encodings;
    *length = 1;
    return static_cast<unsigned char*>(AcquireMagickMemory(1));
}

TEST(FrameOutput, HoldFramesHandTheSameBytesAgainWithoutEncoding) {
    WandPtr canvas = solidCanvas(W, H, "#ff0000");
    auto caption = testCaption(W, H);
    struct Case {
        const char* name;
        int index;
        CaptionOverlay* caption;
        int frames;   // transition and 40 hold frames
        int encoded;
        int repeated;
    } cases[] = {
        {"fade", kFade, nullptr, 17 + 40, 17, 40},
        {"fade with the caption's three steps", kFade, caption.get(), 17 + 40, 17 + 3, 37},
        {"no animation", kNoAnimation, nullptr, 40, 1, 39},
        {"no animation with its caption", kNoAnimation, caption.get(), 40, 2, 39},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameEncoder saved = setFrameEncoder(countingEncoder);
        encodings = 0;
        int repeats = 0;
        EffectContext ctx;
        ctx.W = W;
        ctx.H = H;
        ctx.canvas = canvas.get();
        ctx.caption = c.caption;
        ctx.holdFrames = 40;
        ctx.write = [](void*, const void*, std::uint32_t length, std::uint32_t* written, void*) {
            *written = length;
            return 1;
        };
        ctx.repeat = [](void* handle) {
            ++*static_cast<int*>(handle);
            return 1;
        };
        ctx.sink = &repeats;
        WandPtr result = runEffect(c.index, ctx);
        setFrameEncoder(saved);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(encodings, c.encoded);
        EXPECT_EQ(repeats, c.repeated);
        EXPECT_EQ(ctx.framesWritten, c.frames);
    }
}

TEST(FrameOutput, CountModeStoresRatherThanAdds) {
    int frames = 1000;
    EffectContext ctx;
    ctx.W = W;
    ctx.H = H;
    ctx.holdFrames = 7;
    ctx.outFrames = &frames;
    EXPECT_EQ(runEffect(kFade, ctx), nullptr);
    EXPECT_EQ(frames, 17 + 7);
    EXPECT_EQ(runEffect(kNoAnimation, ctx), nullptr);
    EXPECT_EQ(frames, 7);
}

TEST(FrameOutput, DestroyWandPairFreesASharedWandOnce) {
    MagickWand* a = NewMagickWand();
    MagickWand* b = a;
    effect_destroy_wand_pair(&a, &b);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    MagickWand* c = nullptr;
    MagickWand* d = NewMagickWand();
    effect_destroy_wand_pair(&c, &d);
    EXPECT_EQ(d, nullptr);
}

TEST(FrameOutput, EndingOnThePreviousFrameHandsItOverOnce) {
    RecordingSink sink;
    EffectContext ctx;
    ctx.W = W;
    ctx.H = H;
    ctx.holdFrames = 2;
    sink.attach(ctx);
    MagickWand* previous = previousOrBlack(ctx);
    WandPtr result = finishEffect(ctx, WandPtr(previous));
    EXPECT_EQ(result.get(), previous);
    EXPECT_EQ(ctx.previous, nullptr);
    EXPECT_EQ(sink.calls(), 3);
}

TEST(FrameOutput, EncoderContextIsStoredAndReturned) {
    int marker = 0;
    EXPECT_EQ(set_encoder_context(&marker), &marker);
    EXPECT_EQ(encoderContext(), &marker);
    set_encoder_context(nullptr);
}
