// Arrow and sweep: one polygon of the new picture grows from an edge over
// the previous frame, drawn in place frame after frame.
#include "render/effects/arrow_sweep.h"

#include "render/effects/effect_helpers.h"
#include "render/effects/shape_schedule.h"

namespace {

constexpr int kShapeFrames = 19;

PolygonPath arrowTriangle(ArrowDirection direction, int W, int H, int k) {
    float r = aspectRatioOf(W, H);
    double w = W, h = H, cx = W / 2, cy = H / 2;
    bool horizontal = direction == ArrowDirection::LeftToRight ||
                      direction == ArrowDirection::RightToLeft;
    int t = horizontal ? 2 * W / 20 : 2 * H / 20;
    double e = k * t;
    double a = horizontal ? 0.5 * e * r : 0.5 * e / r;
    switch (direction) {
    case ArrowDirection::LeftToRight:
        return polygon({{0, cy - a}, {0, cy + a}, {e, cy}});
    case ArrowDirection::RightToLeft:
        return polygon({{w, cy - a}, {w, cy + a}, {w - e, cy}});
    case ArrowDirection::TopToBottom:
        return polygon({{cx - a, 0}, {cx + a, 0}, {cx, e}});
    case ArrowDirection::BottomToTop:
        break;
    }
    return polygon({{cx - a, h}, {cx + a, h}, {cx, h - e}});
}

PolygonPath sweepPolygon(SweepEdge edge, int W, int H, int k) {
    bool vertical = edge == SweepEdge::Bottom || edge == SweepEdge::Top;
    // The apex crosses in ten steps; then the far side widens in twentieths.
    // Every coordinate is whole: the steps are integer divisions.
    int apexStep = vertical ? 2 * H / 20 : 2 * W / 20;
    int widenStep = vertical ? W / 20 : H / 20;
    double w = W, h = H, cx = W / 2, cy = H / 2;
    double apex = k * apexStep, d = (k - 10) * widenStep;
    bool crossing = k <= 10;
    // The near edge ends on the centre of its last pixel.
    switch (edge) {
    case SweepEdge::Bottom:
        return crossing ? polygon({{0, h}, {w - 1, h}, {cx, h - apex}})
                        : polygon({{0, h}, {w - 1, h}, {cx + d, 0}, {cx - d, 0}});
    case SweepEdge::Top:
        return crossing ? polygon({{0, 0}, {w - 1, 0}, {cx, apex}})
                        : polygon({{0, 0}, {w - 1, 0}, {cx + d, h}, {cx - d, h}});
    case SweepEdge::Left:
        return crossing ? polygon({{0, 0}, {0, h - 1}, {apex, cy}})
                        : polygon({{0, 0}, {0, h - 1}, {w, cy + d}, {w, cy - d}});
    case SweepEdge::Right:
        break;
    }
    return crossing ? polygon({{w, 0}, {w, h - 1}, {w - apex, cy}})
                    : polygon({{w, 0}, {w, h - 1}, {0, cy + d}, {0, cy - d}});
}

} // namespace

std::vector<Shape> arrowTriangles(ArrowDirection direction, int W, int H) {
    return shapesOfSteps(kShapeFrames, [&](int k) { return arrowTriangle(direction, W, H, k); });
}

std::vector<Shape> sweepPolygons(SweepEdge edge, int W, int H) {
    return shapesOfSteps(kShapeFrames, [&](int k) { return sweepPolygon(edge, W, H, k); });
}

WandPtr effect_arrow(EffectContext& ctx, int direction, const EffectParams&) {
    return renderShapeSchedule(
        ctx, arrowTriangles(static_cast<ArrowDirection>(direction), ctx.W, ctx.H),
        ShapeFillSource::NewPictureOnPrevious);
}

WandPtr effect_sweep(EffectContext& ctx, int edge, const EffectParams&) {
    return renderShapeSchedule(ctx, sweepPolygons(static_cast<SweepEdge>(edge), ctx.W, ctx.H),
                               ShapeFillSource::NewPictureOnPrevious);
}
