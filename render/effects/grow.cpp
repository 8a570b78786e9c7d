// The grow family: a whole, scaled-down copy of the new picture, anchored at
// a corner, an edge's middle or the centre, grows step by step over the
// previous frame until it fills the frame.
#include "render/effects/grow.h"

#include "render/effects/effect_helpers.h"
#include "render/effects/frame_output.h"

std::vector<int> growSchedule(int extent, int step) {
    // Only a positive step below the extent grows; anything else would loop
    // forever or never draw a growing frame.
    if (step < 1 || extent <= step) return {extent};
    std::vector<int> extents;
    for (int e = step; e < extent; e += step) extents.push_back(e);
    extents.push_back(extent);
    return extents;
}

bool growsAlongHeight(GrowAnchor anchor) {
    return anchor == GrowAnchor::TopMiddle || anchor == GrowAnchor::BottomMiddle;
}

GrowPlacement growPlacement(GrowAnchor anchor, int W, int H, int extent) {
    // The ratio is single precision; the products with it and the offsets
    // are formed in extended precision, the offsets from the products'
    // single-precision roundings.
    long double r = aspectRatioOf(W, H);
    GrowPlacement p;
    if (growsAlongHeight(anchor)) {
        long double width = extent / r;
        float wf = static_cast<float>(width);
        p.width = static_cast<int>(width);
        p.height = extent;
        p.x = static_cast<int>((W - static_cast<long double>(wf)) * 0.5L);
        p.y = anchor == GrowAnchor::TopMiddle ? 0 : H - extent;
        return p;
    }
    long double height = extent * r;
    float hf = static_cast<float>(height);
    p.width = extent;
    p.height = static_cast<int>(height);
    int right = W - extent;
    int bottom = static_cast<int>(H - static_cast<long double>(hf));
    int middle = static_cast<int>((H - static_cast<long double>(hf)) * 0.5L);
    switch (anchor) {
    case GrowAnchor::TopLeft: p.y = 0; break;
    case GrowAnchor::BottomLeft: p.y = bottom; break;
    case GrowAnchor::TopRight: p.x = right; break;
    case GrowAnchor::BottomRight: p.x = right, p.y = bottom; break;
    case GrowAnchor::LeftMiddle: p.y = middle; break;
    case GrowAnchor::RightMiddle: p.x = right, p.y = middle; break;
    default: p.x = (W - extent) / 2, p.y = middle; break;  // the centre
    }
    return p;
}

WandPtr renderGrowing(EffectContext& ctx, const std::vector<int>& extents,
                      const std::function<void(MagickWand* working, int extent)>& drawGrowing) {
    if (isCountMode(ctx)) return countFrames(ctx, static_cast<int>(extents.size()));
    // A schedule that starts at the full extent never takes the working frame.
    if (extents.size() == 1)
        return finalFrameOnly(ctx) ? cloneCanvas(ctx) : finishEffect(ctx, cloneCanvas(ctx));
    if (finalFrameOnly(ctx)) {
        // The picture covers the frame whole; the frame keeps the properties
        // of the previous frame it was drawn on.
        previousOrBlack(ctx);
        WandPtr working = takePrevious(ctx);
        compositeOver(working.get(), ctx.canvas, 0, 0);
        return working;
    }
    for (std::size_t i = 0; i + 1 < extents.size(); ++i) {
        MagickWand* working = previousOrBlack(ctx);
        drawGrowing(working, extents[i]);
        if (!writeFrame(ctx, working)) return nullptr;
    }
    WandPtr working = takePrevious(ctx);
    compositeOver(working.get(), ctx.canvas, 0, 0);
    return finishEffect(ctx, std::move(working));
}

namespace {

WandPtr grow(EffectContext& ctx, int step, GrowAnchor anchor) {
    std::vector<int> extents = growSchedule(growsAlongHeight(anchor) ? ctx.H : ctx.W, step);
    return renderGrowing(ctx, extents, [&](MagickWand* working, int extent) {
        // Each frame scales the whole canvas afresh onto the previous frame
        // itself; each copy covers the last but for a row or column that
        // truncation leaves, which keeps what was drawn there.
        GrowPlacement p = growPlacement(anchor, ctx.W, ctx.H, extent);
        compositeOver(working, resizedCopy(ctx.canvas, p.width, p.height).get(), p.x, p.y);
    });
}

} // namespace

WandPtr effect_grow(EffectContext& ctx, int anchor, const EffectParams& params) {
    return grow(ctx, params.firstInt(), static_cast<GrowAnchor>(anchor));
}
