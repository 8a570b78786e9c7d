// Rectangular reveals: the wipe-ins shrink a centred region of the previous
// frame over the new picture; the four-corner effects grow the new picture
// from the corners, or shrink the previous frame into them.
#include "render/effects/wipe_in_corners.h"

#include <algorithm>

#include "render/effects/effect_schedule.h"

namespace {

using BandRow = Piece (*)(int W, int H, int w);
const BandRow kBandRegions[] = {
    // {x, y, width, height, atX, atY}, laid where it was cut
    [](int W, int H, int w) { return Piece{(W - w) / 2, 0, w, H, (W - w) / 2, 0}; },
    [](int W, int H, int h) { return Piece{0, (H - h) / 2, W, h, 0, (H - h) / 2}; },
};

// Each frame: the plain picture with a region of the previous frame laid
// back where it was; a region that rounds to nothing leaves the picture.
template <class Region>
WandPtr wipeIn(EffectContext& ctx, const std::vector<int>& widths, Region region) {
    return renderOnPicture(ctx, widths, [&](MagickWand* frame, MagickWand* previous, int w) {
        compositePiece(frame, previous, region(w));
    });
}

WandPtr bandWipeIn(EffectContext& ctx, bool vertical, int step) {
    return wipeIn(ctx, bandWipeWidths(vertical ? ctx.H : ctx.W, step),
                  [&](int w) { return bandWipeRegion(vertical, ctx.W, ctx.H, w); });
}

Shape cornersOf(const EffectContext& ctx, int a) {
    std::array<RectangleShape, 4> corners = cornerRectangles(ctx.W, ctx.H, aspectRatio(ctx), a);
    return {corners.begin(), corners.end()};
}

} // namespace

std::vector<int> squareWipeWidths(int W, int step) {
    step = std::max(step, 1);
    std::vector<int> widths;
    for (int w = W - step; w > 0; w -= step) widths.push_back(w);
    widths.push_back(0);
    return widths;
}

Piece squareWipeRegion(int W, int H, float r, int w) {
    long double scaled = static_cast<long double>(w) * r;
    int x0 = (W - w) / 2;
    int y0 = static_cast<int>((H - scaled) * 0.5L);
    return {x0, y0, w, static_cast<int>(scaled), x0, y0};
}

std::vector<int> bandWipeWidths(int extent, int step) {
    step = std::max(step, 1);
    std::vector<int> widths;
    for (int w = extent - step;; w = w - step > 0 ? w - step : 1) {
        widths.push_back(w);
        if (w == 1) break;
    }
    widths.push_back(0);
    return widths;
}

Piece bandWipeRegion(bool vertical, int W, int H, int w) { return kBandRegions[vertical](W, H, w); }

std::vector<int> cornersToCenterSizes(int W, int step) {
    step = std::max(step, 1);
    return stepMultiples(ceilDivide(W, 2 * step), step);
}

std::vector<int> centerToCornersSizes(int W, int step) {
    step = std::max(step, 1);
    int m = ceilDivide(W, 2 * step) - 1;
    std::vector<int> sizes;
    for (int k = m; k >= 0; --k) sizes.push_back(k * step);
    return sizes;
}

std::array<RectangleShape, 4> cornerRectangles(int W, int H, float r, int a) {
    double q = static_cast<double>(static_cast<long double>(a) * r);
    return {{{0, 0, double(a), q},
             {0, double(H), double(a), H - q},
             {double(W), 0, double(W - a), q},
             {double(W), double(H), double(W - a), H - q}}};
}

WandPtr effect_wipe_in(EffectContext& ctx, int member, const EffectParams& params) {
    int step = params.firstInt();
    switch (static_cast<WipeInMember>(member)) {
    case WipeInMember::EdgesToCenterSquare: {
        float r = aspectRatio(ctx);
        return wipeIn(ctx, squareWipeWidths(ctx.W, step),
                      [&](int w) { return squareWipeRegion(ctx.W, ctx.H, r, w); });
    }
    case WipeInMember::SidesToMiddleHorizontal: return bandWipeIn(ctx, false, step);
    case WipeInMember::SidesToMiddleVertical: break;
    }
    return bandWipeIn(ctx, true, step);
}

WandPtr effect_corners(EffectContext& ctx, int member, const EffectParams& params) {
    int step = params.firstInt();
    if (static_cast<CornersMember>(member) == CornersMember::CornersToCenter)
        return renderOnPrevious(ctx, cornersToCenterSizes(ctx.W, step),
                                [&](MagickWand* working, int a) {
                                    fillShape(working, ctx.canvas, cornersOf(ctx, a));
                                });
    return renderOnPicture(ctx, centerToCornersSizes(ctx.W, step),
                           [&](MagickWand* frame, MagickWand* previous, int a) {
                               fillShape(frame, previous, cornersOf(ctx, a));
                           });
}
