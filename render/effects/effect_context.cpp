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

WandPtr takePrevious(EffectContext& ctx) { return std::move(ctx.previous); }
