#include "render/effects/effect_context.h"

#include "render/image.h"

WandPtr countFrames(EffectContext& ctx, int transitionFrames) {
    *ctx.outFrames = transitionFrames + ctx.holdFrames;
    return nullptr;
}

MagickWand* previousOrBlack(EffectContext& ctx) {
    if (!ctx.previous) ctx.previous.reset(newCanvas(ctx.W, ctx.H, "#000000"));
    return ctx.previous.get();
}

EffectContext stepContextOf(const EffectContext& ctx) {
    EffectContext own;
    own.W = ctx.W;
    own.H = ctx.H;
    own.canvas = ctx.canvas;
    own.logo = ctx.logo;
    own.pixels = ctx.pixels;
    if (ctx.previous) own.previous.reset(CloneMagickWand(ctx.previous.get()));
    return own;
}

WandPtr takePrevious(EffectContext& ctx) { return std::move(ctx.previous); }
