// Circle, diamond and X: the new picture appears through a shape centred on
// the frame, growing from the centre (drawn on the previous frame and
// accumulating) or closing in from the edges (a fresh frame of the new
// picture each time, the previous frame inside the shrinking shape).
#include "render/effects/circle_diamond_x.h"

#include <algorithm>

#include "render/effects/effect_helpers.h"
#include "render/effects/shape_schedule.h"

namespace {

// Geometry truncates toward zero after the product with the single-precision
// ratio has been formed in extended precision.
double truncated(long double value) { return static_cast<double>(static_cast<long long>(value)); }

} // namespace

std::vector<Shape> circleShapes(int W, int H, int step, bool growing) {
    std::vector<Shape> shapes;
    if (step < 1) return shapes;
    long double r = aspectRatioOf(W, H);
    int cx = W / 2, cy = H / 2;
    auto circle = [&](int w) {
        return Shape{circleThrough(cx, cy, cx + w / 2, static_cast<double>(cy + w * r * 0.5L))};
    };
    if (growing)
        for (int w = step; w < W; w += step) shapes.push_back(circle(w));
    else
        for (int w = W - step; w > 0; w -= step) shapes.push_back(circle(w));
    return shapes;
}

std::vector<Shape> diamondShapes(int W, int H, bool growing) {
    std::vector<Shape> shapes;
    int longer = std::max(W, H);
    int t = longer / 16;
    if (t < 1) return shapes;
    int m = ceilDivide(longer, t);
    long double r = aspectRatioOf(W, H);
    double cx = W / 2, cy = H / 2;
    auto diamond = [&](int d) {
        if (W >= H)
            return Shape{polygon({{cx, truncated(cy - d * r)},
                                  {cx - d, cy},
                                  {cx, truncated(cy + d * r)},
                                  {cx + d, cy}})};
        return Shape{polygon({{cx, cy - d},
                              {truncated(cx - d / r), cy},
                              {cx, cy + d},
                              {truncated(cx + d / r), cy}})};
    };
    for (int i = 1; i < m; ++i) shapes.push_back(diamond((growing ? i : m - i) * t));
    return shapes;
}

std::vector<Shape> xShapes(int W, int H, int step, bool opening) {
    std::vector<Shape> shapes;
    if (step < 1) return shapes;
    int half = W / 2;
    int n = ceilDivide(half, step);
    long double r = aspectRatioOf(W, H);
    double w = W, h = H, cx = W / 2, cy = H / 2;
    for (int i = 1; i < n; ++i) {
        double a = i * step;
        long double q = a * r;
        double qq = truncated(q), hq = truncated(H - q);
        double up = truncated(cy - q), down = truncated(cy + q);
        if (opening)
            shapes.push_back({polygons({{{cx, up}, {a, 0}, {w - a, 0}},
                                        {{cx - a, cy}, {0, qq}, {0, hq}},
                                        {{cx, down}, {a, h}, {w - a, h}},
                                        {{cx + a, cy}, {w, qq}, {w, hq}}})});
        else
            shapes.push_back({polygons({{{cx, qq}, {cx - a, 0}, {cx + a, 0}},
                                        {{a, cy}, {0, up}, {0, down}},
                                        {{cx, hq}, {cx - a, h}, {cx + a, h}},
                                        {{w - a, cy}, {w, up}, {w, down}}})});
    }
    return shapes;
}

namespace {

bool outwards(int spread) { return static_cast<Spread>(spread) == Spread::CenterToEdges; }

} // namespace

WandPtr effect_circle(EffectContext& ctx, int spread, const EffectParams& params) {
    bool growing = outwards(spread);
    return renderShapeSchedule(ctx, circleShapes(ctx.W, ctx.H, params.firstInt(), growing),
                               growing ? ShapeFillSource::NewPictureOnPrevious
                                       : ShapeFillSource::PreviousOnNewPicture);
}

WandPtr effect_diamond(EffectContext& ctx, int spread, const EffectParams&) {
    bool growing = outwards(spread);
    return renderShapeSchedule(ctx, diamondShapes(ctx.W, ctx.H, growing),
                               growing ? ShapeFillSource::NewPictureOnPrevious
                                       : ShapeFillSource::PreviousOnNewPicture);
}

WandPtr effect_x(EffectContext& ctx, int spread, const EffectParams& params) {
    // Opening from the centre, the previous frame shows in the X's wedges.
    bool opening = outwards(spread);
    return renderShapeSchedule(ctx, xShapes(ctx.W, ctx.H, params.firstInt(), opening),
                               opening ? ShapeFillSource::PreviousOnNewPicture
                                       : ShapeFillSource::NewPictureOnPrevious);
}
