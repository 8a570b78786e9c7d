// Diagonal and scan: slanted fronts. The diagonals and the scan in draw the
// new picture on the previous frame in place; the scan out draws shrinking
// triangles of the previous frame on fresh copies of the new picture.
#include "render/effects/diagonal_scan.h"

#include <algorithm>

#include "render/effects/effect_functions.h"
#include "render/effects/effect_helpers.h"
#include "render/effects/shape_schedule.h"

namespace {

constexpr int kShapeFrames = 19;

PolygonPath diagonalTriangle(DiagonalCorner corner, int W, int H, int k) {
    // The longer side sets the step, so the front stays at 45 degrees.
    int t = 2 * std::max(W, H) / 20;
    double r = k * t;
    double w = W, h = H;
    switch (corner) {
    case DiagonalCorner::TopLeft:
        return polygon({{0, 0}, {r, 0}, {0, r}});
    case DiagonalCorner::BottomLeft:
        return polygon({{0, h}, {0, h - r}, {r, h}});
    case DiagonalCorner::TopRight:
        return polygon({{w, 0}, {w - r, 0}, {w, r}});
    case DiagonalCorner::BottomRight:
        break;
    }
    return polygon({{w, h}, {w - r, h}, {w, h - r}});
}

PolygonPath scanPair(bool scanIn, int W, int H, int k) {
    // W alone sets the step on both axes.
    double d = k * (W / 20);
    double w = W, h = H;
    if (scanIn) return polygons({{{0, 0}, {d, 0}, {0, h}}, {{w, 0}, {w, h}, {w - d, h}}});
    return polygons({{{0, 0}, {w - d, 0}, {0, h}}, {{w, 0}, {w, h}, {d, h}}});
}

WandPtr diagonal(EffectContext& ctx, DiagonalCorner corner) {
    return renderShapeSchedule(ctx, diagonalTriangles(corner, ctx.W, ctx.H),
                               ShapeFillSource::NewPictureOnPrevious);
}

} // namespace

std::vector<Shape> diagonalTriangles(DiagonalCorner corner, int W, int H) {
    return shapesOfSteps(kShapeFrames, [&](int k) { return diagonalTriangle(corner, W, H, k); });
}

std::vector<Shape> scanTriangles(bool scanIn, int W, int H) {
    return shapesOfSteps(kShapeFrames, [&](int k) { return scanPair(scanIn, W, H, k); });
}

WandPtr effect_diagonal_top_left_to_bottom_right(EffectContext& ctx) {
    return diagonal(ctx, DiagonalCorner::TopLeft);
}
WandPtr effect_diagonal_bottom_left_to_top_right(EffectContext& ctx) {
    return diagonal(ctx, DiagonalCorner::BottomLeft);
}
WandPtr effect_diagonal_top_right_to_bottom_left(EffectContext& ctx) {
    return diagonal(ctx, DiagonalCorner::TopRight);
}
WandPtr effect_diagonal_bottom_right_to_top_left(EffectContext& ctx) {
    return diagonal(ctx, DiagonalCorner::BottomRight);
}

WandPtr effect_diagonal_scan_in(EffectContext& ctx) {
    return renderShapeSchedule(ctx, scanTriangles(true, ctx.W, ctx.H),
                               ShapeFillSource::NewPictureOnPrevious);
}

WandPtr effect_diagonal_scan_out(EffectContext& ctx) {
    return renderShapeSchedule(ctx, scanTriangles(false, ctx.W, ctx.H),
                               ShapeFillSource::PreviousOnNewPicture);
}
