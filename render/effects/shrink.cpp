// The previous frame shrinks away over the new picture: to the centre or a
// centre line (66 to 68) or into a corner (81 to 84). The shrinking copy is
// the previous frame itself, resized in place from one frame to the next, so
// resampling losses accumulate from frame to frame.
#include "render/effects/shrink.h"

#include <algorithm>

#include "render/effects/effect_helpers.h"
#include "render/effects/effect_schedule.h"
#include "render/magick_mirror/image_resize.h"

std::vector<int> shrinkToMiddleSteps(int extent, int step, bool slowLastStep) {
    std::vector<int> steps;
    // A zero step would never end; a step beyond the extent leaves nothing to
    // shrink. Both render as no animation.
    if (step < 1 || extent - step < 0) return steps;
    int d = extent - step;
    int s = step;
    for (;;) {
        steps.push_back(d);
        if (d == 0) break;
        if (slowLastStep && s == step && d == s) {
            s = d / 2;
            d = d / 2 + d / 4;
        } else if (slowLastStep && s == step && d < s) {
            s = d / 2;
            d = d / 2;
        } else {
            s = std::min(s, d);
            d -= s;
        }
    }
    return steps;
}

std::vector<int> shrinkToCornerSteps(int unit) {
    std::vector<int> steps;
    for (int k = 15; k >= 1; --k) steps.push_back(k * unit);
    steps.push_back(0);
    return steps;
}

int shrinkToCornerUnit(ShrinkMember member, int W, int H) {
    bool alongHeight = member == ShrinkMember::TopRight || member == ShrinkMember::BottomRight;
    return alongHeight ? H / 16 : W / 16;
}

ShrinkPlacement shrinkPlacement(ShrinkMember member, int W, int H, float r, int extent) {
    // Heights follow widths (and widths heights) through r in extended
    // precision; the offsets use the product rounded to single precision.
    long double product = static_cast<long double>(extent) * r;
    float hf = static_cast<float>(product);
    long double quotient = static_cast<long double>(extent) / r;
    float wf = static_cast<float>(quotient);
    int scaledHeight = static_cast<int>(product);
    int scaledWidth = static_cast<int>(quotient);
    switch (member) {
    case ShrinkMember::EdgesToCenter:
        return {(W - extent) / 2, static_cast<int>((H - static_cast<long double>(hf)) * 0.5),
                extent, scaledHeight};
    case ShrinkMember::SidesToMiddleHorizontal:
        return {(W - extent) / 2, 0, extent, H};
    case ShrinkMember::SidesToMiddleVertical:
        return {0, (H - extent) / 2, W, extent};
    case ShrinkMember::TopLeft:
        return {0, 0, extent, scaledHeight};
    case ShrinkMember::BottomLeft:
        return {0, static_cast<int>(H - static_cast<long double>(hf)), extent, scaledHeight};
    case ShrinkMember::TopRight:
        return {static_cast<int>(W - static_cast<long double>(wf)), 0, scaledWidth, extent};
    case ShrinkMember::BottomRight:
        return {static_cast<int>(W - static_cast<long double>(wf)), H - extent, scaledWidth,
                extent};
    }
    return {};
}

namespace {

// Each frame is a fresh clone of the picture with the shrinking copy laid
// over it; extent 0 is the final, plain frame.
WandPtr shrink(EffectContext& ctx, ShrinkMember member, const std::vector<int>& extents) {
    const float r = aspectRatio(ctx);
    return renderOnPicture(ctx, extents, [&](MagickWand* frame, MagickWand* copy, int extent) {
        ShrinkPlacement at = shrinkPlacement(member, ctx.W, ctx.H, r, extent);
        // ImageMagick refuses a zero side and would leave the copy at its old
        // size in the wrong place: such a sliver shows the plain picture.
        if (at.width < 1 || at.height < 1) return;
        lanczosResize(copy, at.width, at.height);
        compositeOver(frame, copy, at.x, at.y);
    });
}

WandPtr shrinkToMiddle(EffectContext& ctx, ShrinkMember member, int step) {
    int extent = member == ShrinkMember::SidesToMiddleVertical ? ctx.H : ctx.W;
    bool slowLastStep = member != ShrinkMember::EdgesToCenter;
    return shrink(ctx, member, shrinkToMiddleSteps(extent, step, slowLastStep));
}

WandPtr shrinkToCorner(EffectContext& ctx, ShrinkMember member) {
    return shrink(ctx, member, shrinkToCornerSteps(shrinkToCornerUnit(member, ctx.W, ctx.H)));
}

} // namespace

WandPtr effect_shrink(EffectContext& ctx, int member, const EffectParams& params) {
    auto which = static_cast<ShrinkMember>(member);
    switch (which) {
    case ShrinkMember::EdgesToCenter:
    case ShrinkMember::SidesToMiddleHorizontal:
    case ShrinkMember::SidesToMiddleVertical: return shrinkToMiddle(ctx, which, params.firstInt());
    default: return shrinkToCorner(ctx, which);
    }
}
