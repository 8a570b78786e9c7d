// The corner-crop and wipe-out effects: the new picture shows through a
// growing rectangular opening, from a corner, from the centre or a centre
// line outwards, or from one edge across, over the previous frame.
#include "render/effects/corner_crop_wipe_out.h"

#include "render/effects/effect_helpers.h"
#include "render/effects/frame_output.h"
#include "render/effects/grow.h"

bool revealsAlongHeight(RevealMember member) {
    return member == RevealMember::MiddleToSidesVertical || member == RevealMember::TopToBottom ||
           member == RevealMember::BottomToTop;
}

RevealOpening revealOpening(RevealMember member, int W, int H, int extent) {
    // p = w * r in extended precision, used unrounded; the bottom corners add
    // 0.1 before truncating, to the height and the origin alike.
    const long double p = static_cast<long double>(extent) * aspectRatioOf(W, H);
    const int w = extent, h = extent;
    switch (member) {
    case RevealMember::FromTopLeft: return {0, 0, w, static_cast<int>(p)};
    case RevealMember::FromBottomLeft:
        return {0, static_cast<int>(H - p + 0.1), w, static_cast<int>(p + 0.1)};
    case RevealMember::FromTopRight: return {W - w, 0, w, static_cast<int>(p)};
    case RevealMember::FromBottomRight:
        return {W - w, static_cast<int>(H - p + 0.1), w, static_cast<int>(p + 0.1)};
    case RevealMember::CenterToEdges:
        return {(W - w) / 2, static_cast<int>((H - p) * 0.5), w, static_cast<int>(p)};
    case RevealMember::MiddleToSidesHorizontal: return {(W - w) / 2, 0, w, H};
    case RevealMember::MiddleToSidesVertical: return {0, (H - h) / 2, W, h};
    case RevealMember::LeftToRight: return {0, 0, w, H};
    case RevealMember::TopToBottom: return {0, 0, W, h};
    case RevealMember::BottomToTop: return {0, H - h, W, h};
    case RevealMember::RightToLeft: return {W - w, 0, w, H};
    }
    return {};
}

namespace {

WandPtr reveal(EffectContext& ctx, int step, RevealMember member) {
    std::vector<int> extents = growSchedule(revealsAlongHeight(member) ? ctx.H : ctx.W, step);
    return renderGrowing(ctx, extents, [&](MagickWand* working, int extent) {
        // The same rectangle of the picture, unscaled, in its own place.
        RevealOpening at = revealOpening(member, ctx.W, ctx.H, extent);
        compositeOver(working, cropCopy(ctx.canvas, at.x, at.y, at.width, at.height).get(), at.x,
                      at.y);
    });
}

} // namespace

WandPtr effect_reveal(EffectContext& ctx, int member, const EffectParams& params) {
    return reveal(ctx, params.firstInt(), static_cast<RevealMember>(member));
}
